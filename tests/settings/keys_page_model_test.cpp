// The buttons page's contents and list choices against a real store: what each list
// offers and stores, which list is marked for a stored row, the rows shown before and
// after a definition is loaded, and the rapid-fire fields' clamping.
#include "settings/keys_page_model.h"

#include "app/text_ids.h"
#include "settings/button_table_encoding.h"
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

TEST_F(KeysPageModelTest, ListsOfferTheirTextsAndMacrosByStoredName) {
  const std::vector<ChoiceItem> mouse = model.ListItems(kFamilyMouse);
  ASSERT_EQ(mouse.size(), 8u);
  EXPECT_EQ(mouse[1].text, "T107");
  EXPECT_EQ(mouse[1].code, 3);
  const std::vector<ChoiceItem> dpi = model.ListItems(kFamilyDpi);
  ASSERT_EQ(dpi.size(), 3u);
  EXPECT_EQ(dpi[2].text, "DPI -");
  EXPECT_EQ(dpi[2].code, 2);
  EXPECT_TRUE(model.ListItems(kFamilyMacro).empty());
  const int sniper = db.AddMacro("Sniper burst");
  ASSERT_GT(sniper, 0);
  const std::vector<ChoiceItem> macros = model.ListItems(kFamilyMacro);
  ASSERT_EQ(macros.size(), 1u);
  EXPECT_EQ(macros[0].text, "Sniper burst");
  EXPECT_EQ(macros[0].code, sniper);
}

TEST_F(KeysPageModelTest, ChoosingAnItemStoresItsCodeAndTextForTheSelectedButton) {
  model.Assignment().SelectButton(2);
  ASSERT_EQ(model.ChooseListItem(kFamilyMultimedia, 0), AssignResult::kSaved);
  std::optional<KeyAssignRecord> row = db.GetKeyAssign(kProfile, 2);
  ASSERT_TRUE(row);
  EXPECT_EQ(row->macro_type, kFamilyMultimedia);
  EXPECT_EQ(row->macro_value, 6);
  EXPECT_EQ(row->macro_desc, "T117");
  EXPECT_EQ(poster.tasks, (std::vector<WorkerTask>{WorkerTask::kButtonTable}));

  const int macro = db.AddMacro("Reload");
  ASSERT_EQ(model.ChooseListItem(kFamilyMacro, 0), AssignResult::kSaved);
  row = db.GetKeyAssign(kProfile, 2);
  EXPECT_EQ(row->macro_type, kFamilyMacro);
  EXPECT_EQ(row->macro_value, macro);
  EXPECT_EQ(state.TakePendingMacroButton(), 2);

  // Out-of-range items and the primary button store and post nothing.
  EXPECT_EQ(model.ChooseListItem(kFamilyMouse, 8), AssignResult::kNothingToSave);
  EXPECT_EQ(model.ChooseListItem(kFamilyMacro, -1), AssignResult::kNothingToSave);
  model.Assignment().SelectButton(0);
  EXPECT_EQ(model.ChooseListItem(kFamilyMouse, 1), AssignResult::kPrimaryButton);
  EXPECT_FALSE(db.GetKeyAssign(kProfile, 0));
  EXPECT_EQ(poster.tasks.size(), 2u);
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

  // Keyboard rows leave the lists in their first state; so does a deleted macro.
  ASSERT_EQ(model.Assignment().ApplyKeyboard('A', "A", {}), AssignResult::kSaved);
  EXPECT_TRUE(ViewOf(model.PanelView(), kFamilyMouse).marked);
  const int macro = db.AddMacro("Gone");
  ASSERT_EQ(model.ChooseListItem(kFamilyMacro, ListIndex(kFamilyMacro, macro)),
            AssignResult::kSaved);
  EXPECT_TRUE(ViewOf(model.PanelView(), kFamilyMacro).marked);
  ASSERT_TRUE(db.DeleteMacro(macro));
  view = model.PanelView();
  EXPECT_FALSE(ViewOf(view, kFamilyMacro).marked);
  EXPECT_TRUE(ViewOf(view, kFamilyMouse).marked);
}

TEST_F(KeysPageModelTest, RowsNameButtonsAndFollowTheStore) {
  const std::vector<ButtonRow> placeholders = KeysPageModel::PlaceholderRows(test::IdTexts());
  ASSERT_EQ(placeholders.size(), 6u);
  EXPECT_EQ(placeholders[0].name, "T103 1");
  EXPECT_EQ(placeholders[5].name, "T103 6");
  EXPECT_EQ(placeholders[5].description, "T151");

  model.Assignment().SelectButton(1);
  ASSERT_EQ(model.ChooseListItem(kFamilyMouse, 5), AssignResult::kSaved);  // the fire key
  std::vector<ButtonRow> rows = model.Rows();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].name, "T701");
  EXPECT_EQ(rows[0].description, "T106");
  EXPECT_EQ(rows[1].description, "T111");  // shown by its code, not the list text 180
  EXPECT_EQ(rows[3].name, "Thumb");        // a name without a text id stays as written
  EXPECT_EQ(model.ButtonName(9), "");
}

TEST_F(KeysPageModelTest, RapidFireFieldsAreClampedIntoTheirRanges) {
  model.Assignment().SelectButton(3);
  struct Case {
    const char* first;
    const char* second;
    int value;
    int value2;
  } cases[] = {{"3", "300", 5, 255},
               {"", "", 5, 0},
               {"99999999999999", "7", 255, 7},
               {"120", "0", 120, 0}};
  for (const Case& c : cases) {
    ASSERT_EQ(model.ApplyRapidFire(c.first, c.second), AssignResult::kSaved) << c.first;
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
