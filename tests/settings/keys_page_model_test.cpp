// The buttons page's list choices against a real store: what each choice stores, which
// list is marked for a stored row, and the rapid-fire fields' clamping.
#include "settings/keys_page_model.h"

#include "app/text_ids.h"
#include "protocol/button_table_encoding.h"
#include "settings_fixture.h"

namespace corvane {
namespace {

using test::SettingsFixture;

class KeysPageModelTest : public SettingsFixture {
 protected:
  void SetUp() override {
    SettingsFixture::SetUp();
    std::vector<ButtonDefinition> buttons;
    for (int b : {0, 1, 2, 3}) {
      ButtonDefinition def;
      def.key_value = b;
      def.name_id = 701 + b;
      def.func_desc_id = 106 + b;
      buttons.push_back(def);
    }
    buttons[3].name_id = 0;
    buttons[3].name_text = "Thumb";
    model.Load(kProfile, buttons);
  }

  int ListIndex(int family, int code) {
    const std::vector<ChoiceItem> items = model.ListItems(family);
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
      if (items[i].code == code) return i;
    }
    return -1;
  }
  const ListView& ViewOf(const KeysPanelView& view, int family) {
    for (const ListView& list : view.lists) {
      if (list.family == family) return list;
    }
    return view.lists[0];
  }

  DeviceState state;
  KeysPageModel model{db, poster, state, test::IdTexts()};
};

TEST_F(KeysPageModelTest, ChoosingAnItemStoresItsCodeAndTextForTheSelectedButton) {
  model.Assignment().SelectButton(2);
  ASSERT_EQ(model.ChooseListItem(kFamilyMultimedia, 0), AssignResult::kSaved);
  std::optional<KeyAssignRecord> row = db.GetKeyAssign(kProfile, 2);
  ASSERT_TRUE(row);
  EXPECT_EQ(row->macro_type, kFamilyMultimedia);
  EXPECT_EQ(row->macro_value, 6);
  EXPECT_EQ(row->macro_desc, "T117");
  EXPECT_EQ(poster.tasks, (std::vector<WorkerTask>{WorkerTask::kButtonTable}));

  // Macros are offered by their stored names and stored by id.
  const int macro = db.AddMacro("Reload");
  ASSERT_EQ(model.ChooseListItem(kFamilyMacro, 0), AssignResult::kSaved);
  row = db.GetKeyAssign(kProfile, 2);
  EXPECT_EQ(row->macro_type, kFamilyMacro);
  EXPECT_EQ(row->macro_value, macro);
  EXPECT_EQ(row->macro_desc, "Reload");
  EXPECT_EQ(state.TakeMarkedMacroButtons(), std::set<int>{2});

  // The fire key's list text is 180; the row is shown by its code's text, 111.
  ASSERT_EQ(model.ChooseListItem(kFamilyMouse, 5), AssignResult::kSaved);
  EXPECT_EQ(db.GetKeyAssign(kProfile, 2)->macro_desc, "T180");
  EXPECT_EQ(model.Rows()[2].description, "T111");
  EXPECT_EQ(model.Rows()[3].name, "Thumb");  // a name without a text id stays as written

  // Out-of-range items and the primary button store and post nothing.
  EXPECT_EQ(model.ChooseListItem(kFamilyMouse, 8), AssignResult::kNothingToSave);
  EXPECT_EQ(model.ChooseListItem(kFamilyMacro, -1), AssignResult::kNothingToSave);
  model.Assignment().SelectButton(0);
  EXPECT_EQ(model.ChooseListItem(kFamilyMouse, 1), AssignResult::kPrimaryButton);
  EXPECT_FALSE(db.GetKeyAssign(kProfile, 0));
  EXPECT_EQ(poster.tasks.size(), 3u);
}

TEST_F(KeysPageModelTest, AListShownBeforeTheMacrosChangedNeverGivesAButtonAnotherMacro) {
  model.Assignment().SelectButton(2);
  const int first = db.AddMacro("First");
  const int second = db.AddMacro("Second");
  // The page showed [First, Second]; First is deleted on the macro page, then the shown
  // list's "First" entry is clicked: index 0 now names Second, the code still First.
  ASSERT_TRUE(db.DeleteMacro(first));
  EXPECT_EQ(model.ChooseListCode(kFamilyMacro, first), AssignResult::kNothingToSave);
  EXPECT_FALSE(db.GetKeyAssign(kProfile, 2));
  ASSERT_EQ(model.ChooseListCode(kFamilyMacro, second), AssignResult::kSaved);
  EXPECT_EQ(db.GetKeyAssign(kProfile, 2)->macro_value, second);
  EXPECT_EQ(model.ChooseListCode(kFamilyMouse, 0x7777), AssignResult::kNothingToSave);
}

TEST_F(KeysPageModelTest, AReloadKeepsThePickedButtonWhileTheModelHasIt) {
  model.Assignment().SelectButton(3);
  std::vector<ButtonDefinition> buttons(4);
  for (int b = 0; b < 4; ++b) buttons[b].key_value = b;
  model.Load(kProfile, buttons);  // the worker's refresh after the mouse came back
  EXPECT_EQ(model.Assignment().SelectedButton(), 3);
  ASSERT_EQ(model.ChooseListItem(kFamilyMouse, 1), AssignResult::kSaved) << "not the primary";
  EXPECT_TRUE(db.GetKeyAssign(kProfile, 3));
  buttons.resize(2);  // another model without that button
  model.Load(kProfile, buttons);
  EXPECT_EQ(model.Assignment().SelectedButton(), 0);
}

TEST_F(KeysPageModelTest, AButtonWithoutARowShowsItsFactoryFunction) {
  std::vector<ButtonDefinition> buttons(2);
  buttons[0].key_value = 0;
  buttons[1].key_value = 4;
  buttons[1].func_type = kFamilyMouse;
  buttons[1].func_value = 5;  // forward
  buttons[0].func_type = kFamilyDpi;
  buttons[0].func_value = 3;
  model.Load(kProfile, buttons);
  model.Assignment().SelectButton(4);
  KeysPanelView view = model.PanelView();
  ASSERT_TRUE(ViewOf(view, kFamilyMouse).marked);
  EXPECT_EQ(model.ListItems(kFamilyMouse)[ViewOf(view, kFamilyMouse).selected].code, 5);
  model.Assignment().SelectButton(0);
  view = model.PanelView();
  EXPECT_FALSE(ViewOf(view, kFamilyMouse).marked);
  ASSERT_TRUE(ViewOf(view, kFamilyDpi).marked);
  EXPECT_EQ(model.ListItems(kFamilyDpi)[ViewOf(view, kFamilyDpi).selected].code, 3);
}

TEST_F(KeysPageModelTest, PanelMarksTheStoredFamilyElseTheFirstStates) {
  model.Assignment().SelectButton(1);
  KeysPanelView view = model.PanelView();
  EXPECT_TRUE(ViewOf(view, kFamilyMouse).marked);
  EXPECT_EQ(ViewOf(view, kFamilyMultimedia).selected, 3);
  EXPECT_EQ(ViewOf(view, kFamilySystem).selected, 2);
  EXPECT_FALSE(view.disabled_marked);

  ASSERT_EQ(model.ChooseListItem(kFamilySystem, 9), AssignResult::kSaved);  // Cut, code 11
  view = model.PanelView();
  EXPECT_FALSE(ViewOf(view, kFamilyMouse).marked);
  EXPECT_TRUE(ViewOf(view, kFamilySystem).marked);
  EXPECT_EQ(ViewOf(view, kFamilySystem).selected, 9);

  ASSERT_EQ(model.Assignment().Disable(), AssignResult::kSaved);
  view = model.PanelView();
  EXPECT_TRUE(view.disabled_marked);
  for (const ListView& list : view.lists) EXPECT_FALSE(list.marked) << list.family;

  // A keyboard row marks no list: "Left click" would claim the button plays a click.
  ASSERT_EQ(model.Assignment().ApplyKeyboard('A', "A", {}), AssignResult::kSaved);
  view = model.PanelView();
  for (const ListView& list : view.lists) EXPECT_FALSE(list.marked) << list.family;
  EXPECT_FALSE(view.disabled_marked);
  // A deleted macro leaves the lists in their first state.
  const int macro = db.AddMacro("Gone");
  ASSERT_EQ(model.ChooseListItem(kFamilyMacro, ListIndex(kFamilyMacro, macro)),
            AssignResult::kSaved);
  EXPECT_TRUE(ViewOf(model.PanelView(), kFamilyMacro).marked);
  ASSERT_TRUE(db.DeleteMacro(macro));
  view = model.PanelView();
  EXPECT_FALSE(ViewOf(view, kFamilyMacro).marked);
  EXPECT_TRUE(ViewOf(view, kFamilyMouse).marked);
}

TEST_F(KeysPageModelTest, RapidFireFieldsAreClampedIntoTheirRangesAndSaySo) {
  model.Assignment().SelectButton(3);
  struct Case {
    const char* first;
    const char* second;
    int value;
    int value2;
    bool clamped;  // the page tells the user the numbers were changed
  } cases[] = {{"3", "300", 5, 255, true},
               {"", "", 5, 0, true},
               {"99999999999999", "7", 255, 7, true},
               {"120", "0", 120, 0, false},
               {"5", "255", 5, 255, false},
               {"255", "256", 255, 255, true},
               {"4", "9", 5, 9, true}};
  for (const Case& c : cases) {
    bool clamped = !c.clamped;
    ASSERT_EQ(model.ApplyRapidFire(c.first, c.second, &clamped), AssignResult::kSaved) << c.first;
    EXPECT_EQ(clamped, c.clamped) << c.first << " " << c.second;
    const std::optional<KeyAssignRecord> row = db.GetKeyAssign(kProfile, 3);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->macro_type, kFamilyRapidFire);
    EXPECT_EQ(row->macro_value, c.value) << c.first;
    EXPECT_EQ(row->macro_value2, c.value2) << c.second;
    EXPECT_EQ(row->macro_desc, "T182");
  }
}

}  // namespace
}  // namespace corvane
