// Buttons page operations against a real store, and the button job built from it.
#include "settings/button_assignment.h"

#include <algorithm>
#include <set>

#include "app/text_ids.h"
#include "settings/button_lists.h"
#include "protocol/button_table_encoding.h"
#include "settings/macro_editor.h"
#include "protocol/macro_packets.h"
#include "settings_fixture.h"

namespace corvane {
namespace {

using test::SettingsFixture;

class ButtonAssignmentTest : public SettingsFixture {
 protected:
  void SetUp() override {
    SettingsFixture::SetUp();
    std::vector<ButtonDefinition> buttons;
    for (int b : {0, 1, 2, 5}) {
      ButtonDefinition def;
      def.key_value = b;
      def.name_id = 10 + b;
      def.func_desc_id = 90 + b;
      buttons.push_back(def);
    }
    model.Load(kProfile, buttons);
  }

  ButtonTable SentTable() {
    return BuildButtonTable(db.GetKeyAssigns(kProfile), db.GetMacros());
  }
  ButtonEntry SentEntry(int button) {
    const ButtonTable t = SentTable();
    return {t[3 * button], t[3 * button + 1], t[3 * button + 2]};
  }

  DeviceState state;
  ButtonAssignment model{db, poster, state, test::IdTexts()};
};

TEST_F(ButtonAssignmentTest, PrimaryButtonIsGuardedButCanBeReset) {
  EXPECT_EQ(model.SelectedButton(), 0);
  EXPECT_EQ(model.ChooseFamilyItem(kFamilyMouse, 3, "x"), AssignResult::kPrimaryButton);
  EXPECT_EQ(model.ChooseMacro(1, "m"), AssignResult::kPrimaryButton);
  EXPECT_EQ(model.Disable(), AssignResult::kPrimaryButton);
  EXPECT_EQ(model.ApplyKeyboard('A', "A", {}), AssignResult::kPrimaryButton);
  EXPECT_EQ(model.ApplyRapidFire(5, 1, "r"), AssignResult::kPrimaryButton);
  EXPECT_TRUE(db.GetKeyAssigns(kProfile).empty());
  EXPECT_TRUE(poster.tasks.empty());
  EXPECT_TRUE(state.TakeMarkedMacroButtons().empty());
  model.ResetButton();
  EXPECT_EQ(poster.tasks, (std::vector<WorkerTask>{WorkerTask::kButtonTable}));
}

TEST_F(ButtonAssignmentTest, KeyboardPanelRules) {
  model.SelectButton(1);
  EXPECT_EQ(model.ApplyKeyboard('A', "A", {.ctrl = true, .alt = true}), AssignResult::kSaved);
  auto row = db.GetKeyAssign(kProfile, 1);
  ASSERT_TRUE(row);
  EXPECT_EQ(row->macro_type, kFamilyKeyboard);
  EXPECT_EQ(row->macro_value, 4);
  EXPECT_EQ(row->macro_value2, 5);
  EXPECT_EQ(row->macro_desc, "Ctrl+ Alt + A");
  EXPECT_EQ(SentEntry(1), (ButtonEntry{0x70, 0x05, 0x04}));

  EXPECT_EQ(model.ApplyKeyboard(0, "", {.shift = true}), AssignResult::kSaved);
  row = db.GetKeyAssign(kProfile, 1);
  EXPECT_EQ(row->macro_value, 0);
  EXPECT_EQ(row->macro_value2, 2);
  EXPECT_EQ(row->macro_desc, "Shift");

  // A key without a keyboard usage and no modifier stores nothing and posts nothing.
  poster.tasks.clear();
  EXPECT_EQ(model.ApplyKeyboard(166, "Browser Back", {}), AssignResult::kNothingToSave);
  EXPECT_TRUE(poster.tasks.empty());
  EXPECT_EQ(KeyboardDescription("B", {.shift = true, .ctrl = true, .win = true}),
            "Shift+ Ctrl+ Win + B");
}

TEST_F(ButtonAssignmentTest, FamiliesDescriptionsAndPanelState) {
  model.SelectButton(2);
  EXPECT_EQ(model.ChooseFamilyItem(kFamilyMultimedia, 6, "stored"), AssignResult::kSaved);
  EXPECT_EQ(model.Description(2), "T117");
  EXPECT_EQ(model.PanelState().marked_family, kFamilyMultimedia);
  EXPECT_EQ(model.PanelState().code, 6);
  model.SelectButton(5);
  EXPECT_EQ(model.ChooseFamilyItem(kFamilyDpi, 2, "DPI -"), AssignResult::kSaved);
  EXPECT_EQ(model.Description(5), "DPI -");
  EXPECT_EQ(SentEntry(5), (ButtonEntry{0x40, 0x03, 0x00}));
  model.SelectButton(1);
  EXPECT_EQ(model.Disable(), AssignResult::kSaved);
  EXPECT_EQ(model.PanelState().marked_family, kFamilyDisabled);
  EXPECT_EQ(model.ApplyRapidFire(2, 300, "T182"), AssignResult::kSaved);
  auto row = db.GetKeyAssign(kProfile, 1);
  EXPECT_EQ(row->macro_value, 5);  // clamped to the panel's ranges
  EXPECT_EQ(row->macro_value2, 255);
  // A rapid-fire row has no list to mark.
  EXPECT_EQ(model.PanelState().marked_family, kFamilyRapidFire);
  EXPECT_EQ(model.PanelState().code, 0);
  const auto descriptions = model.Descriptions();
  ASSERT_EQ(descriptions.size(), 4u);
  EXPECT_EQ(descriptions[0], (std::pair<int, std::string>{0, "T90"}));
  EXPECT_EQ(descriptions[1], (std::pair<int, std::string>{1, "T161"}));
  EXPECT_EQ(descriptions[2], (std::pair<int, std::string>{2, "T117"}));
  EXPECT_EQ(poster.tasks.size(), 4u);
}

TEST_F(ButtonAssignmentTest, GenericAssignFillsDescriptionsAndRefusesBadFamilies) {
  model.SelectButton(1);
  EXPECT_EQ(model.Assign(10, 1, 0, ""), AssignResult::kNothingToSave);
  EXPECT_EQ(model.Assign(0, 1, 0, ""), AssignResult::kNothingToSave);
  EXPECT_TRUE(poster.tasks.empty());
  EXPECT_EQ(model.Assign(kFamilySystem, 7, 0, ""), AssignResult::kSaved);
  EXPECT_EQ(db.GetKeyAssign(kProfile, 1)->macro_desc, "T133");
  EXPECT_EQ(model.Assign(kFamilyRapidFire, 9, 4, ""), AssignResult::kSaved);
  EXPECT_EQ(db.GetKeyAssign(kProfile, 1)->macro_value2, 4);
  const int macro = db.AddMacro("Mine");
  EXPECT_EQ(model.Assign(kFamilyMacro, macro, 0, ""), AssignResult::kSaved);
  EXPECT_EQ(db.GetKeyAssign(kProfile, 1)->macro_desc, "Mine");
  EXPECT_EQ(state.TakeMarkedMacroButtons(), std::set<int>{1});
}

TEST_F(ButtonAssignmentTest, ButtonsOutsideTheTableAreRefused) {
  model.SelectButton(21);
  EXPECT_EQ(model.Disable(), AssignResult::kInvalidButton);
  EXPECT_FALSE(db.GetKeyAssign(kProfile, 21));
}

TEST_F(ButtonAssignmentTest, ResetsRestoreFactoryDescriptionsAndLayout) {
  model.SelectButton(2);
  model.Disable();
  model.SelectButton(1);
  model.ChooseFamilyItem(kFamilySystem, 9, "copy");
  model.ResetButton();
  EXPECT_FALSE(db.GetKeyAssign(kProfile, 1));
  EXPECT_EQ(model.Description(1), "T91");
  EXPECT_EQ(SentEntry(1), (ButtonEntry{0x10, 0x02, 0x00}));
  model.ResetAllButtons();
  EXPECT_EQ(model.SelectedButton(), 0);
  EXPECT_TRUE(db.GetKeyAssigns(kProfile).empty());
  EXPECT_EQ(SentTable(), FactoryButtonTable());
  EXPECT_EQ(poster.tasks.back(), WorkerTask::kButtonTable);
}

TEST_F(ButtonAssignmentTest, MacroAssignmentMarksUpload) {
  const int macro = db.AddMacro("Custom 1");
  MacroRecord settings = *db.GetMacro(macro);
  settings.play_type = 0;
  settings.play_times = 3;
  db.UpdateMacro(macro, settings);
  std::vector<MacroEventRecord> events(7);
  for (int i = 0; i < 7; ++i) {
    events[i].macro_id = macro;
    events[i].type = i % 2 ? 3 : 2;
    events[i].value = 'A';
    events[i].record_index = i;
  }
  ASSERT_TRUE(db.ReplaceMacroEvents(macro, events));

  model.SelectButton(2);
  EXPECT_EQ(model.ChooseMacro(macro, "Custom 1"), AssignResult::kSaved);
  // A second choice before the worker ran keeps the first mark; choosing again marks again.
  model.SelectButton(3);
  EXPECT_EQ(model.ChooseMacro(macro, "Custom 1"), AssignResult::kSaved);
  EXPECT_EQ(state.TakeMarkedMacroButtons(), (std::set<int>{2, 3}));
  EXPECT_EQ(model.ChooseMacro(macro, "Custom 1"), AssignResult::kSaved);
  EXPECT_EQ(state.TakeMarkedMacroButtons(), std::set<int>{3});
  model.SelectButton(2);
  EXPECT_EQ(model.Description(2), "T351 1");
  EXPECT_EQ(SentEntry(2), (ButtonEntry{0x90, 0x22, 0x03}));
  EXPECT_EQ(MacroBlob(2, db.GetMacroEvents(macro)).size(), 29u);

  // Once the macro is gone the button keeps the entry it had.
  ASSERT_TRUE(db.DeleteMacro(macro));
  EXPECT_EQ(SentEntry(2), (ButtonEntry{0x10, 0x04, 0x00}));
  EXPECT_EQ(model.Description(2), "Custom 1");
}

TEST_F(ButtonAssignmentTest, EditingAMacroMarksEveryButtonThatPlaysIt) {
  const int macro = db.AddMacro("M");
  const int other = db.AddMacro("N");
  for (auto [button, id] : {std::pair{2, macro}, {3, macro}, {4, other}}) {
    model.SelectButton(button);
    ASSERT_EQ(model.ChooseMacro(id, ""), AssignResult::kSaved);
  }
  state.TakeMarkedMacroButtons();
  poster.tasks.clear();
  MacroEditor editor{db, clock, test::IdTexts()};
  editor.SetStoredListener(
      [this](int id) { MarkButtonsPlayingMacro(db, state, poster, kProfile, id); });
  editor.Select(macro);
  ASSERT_EQ(editor.InsertKey(-1, 'A', "A"), MacroEditResult::kDone);
  EXPECT_EQ(state.TakeMarkedMacroButtons(), (std::set<int>{2, 3}));
  EXPECT_EQ(poster.tasks, std::vector<WorkerTask>{WorkerTask::kButtonTable});
  PlaySettings play = *editor.ShownPlaySettings();
  play.play_choice = 0;  // the play flags travel in the buttons' entries
  ASSERT_EQ(editor.SavePlaySettings(play, 1), MacroEditResult::kDone);
  EXPECT_EQ(state.TakeMarkedMacroButtons(), (std::set<int>{2, 3}));
  poster.tasks.clear();
  editor.Select(editor.NewMacro());
  ASSERT_EQ(editor.InsertDelay(-1), MacroEditResult::kDone);
  EXPECT_TRUE(poster.tasks.empty()) << "a macro no button plays sends nothing";
}

TEST_F(ButtonAssignmentTest, DeletingAMacroGivesItsButtonsBackTheirFactoryFunction) {
  ASSERT_EQ(db.AddProfile(ProfileRecord{0, "Mine", "", 0, 0}), kProfile);
  ASSERT_TRUE(db.SetActiveProfile(kProfile));
  const int doomed = db.AddMacro("Doomed");
  model.SelectButton(2);
  ASSERT_EQ(model.ChooseMacro(doomed, ""), AssignResult::kSaved);
  const int other_profile = db.AddProfile(ProfileRecord{0, "Other", "", 0, 0});
  ASSERT_GT(other_profile, 0);
  KeyAssignRecord elsewhere;
  elsewhere.profile = other_profile;
  elsewhere.key_code = 3;
  elsewhere.macro_type = kFamilyMacro;
  elsewhere.macro_value = doomed;
  ASSERT_GT(db.SaveKeyAssign(elsewhere), 0);
  state.TakeMarkedMacroButtons();
  poster.tasks.clear();

  MacroEditor editor{db, clock, test::IdTexts()};
  editor.SetStoredListener(
      [this](int id) { MarkButtonsPlayingMacro(db, state, poster, kProfile, id); });
  editor.Load();
  ASSERT_TRUE(editor.Select(doomed));
  ASSERT_TRUE(editor.DeleteSelected().has_value());
  EXPECT_FALSE(db.GetKeyAssign(kProfile, 2));
  EXPECT_FALSE(db.GetKeyAssign(other_profile, 3));
  EXPECT_EQ(poster.tasks, std::vector<WorkerTask>{WorkerTask::kButtonTable}) << "the mouse is told";
  EXPECT_EQ(model.Description(2), "T92") << "the factory function, not the deleted macro";
  // A macro that takes the freed id is not played by a button nobody gave it to.
  const int next = db.AddMacro("Next");
  model.SelectButton(2);
  EXPECT_EQ(SentEntry(2), (ButtonEntry{0x10, 0x04, 0x00})) << "new macro " << next;
}

// Clearing a macro asks differently when a button plays it, in any profile: emptied, that
// button does nothing.
TEST_F(ButtonAssignmentTest, AMacroIsKnownAsPlayedByAButtonOfAnyProfile) {
  const int other_profile = db.AddProfile(ProfileRecord{0, "Other", "", 0, 0});
  ASSERT_GT(other_profile, 0);
  const int macro = db.AddMacro("Played elsewhere");
  const int idle = db.AddMacro("Idle");
  MacroEditor editor{db, clock, test::IdTexts()};
  editor.Load();
  ASSERT_TRUE(editor.Select(macro));
  EXPECT_FALSE(editor.SelectedIsPlayedByAButton());
  KeyAssignRecord row;
  row.profile = other_profile;
  row.key_code = 3;
  row.macro_type = kFamilyMacro;
  row.macro_value = macro;
  ASSERT_GT(db.SaveKeyAssign(row), 0);
  EXPECT_TRUE(editor.SelectedIsPlayedByAButton()) << "a button of a profile not shown";
  ASSERT_TRUE(editor.Select(idle));
  EXPECT_FALSE(editor.SelectedIsPlayedByAButton());
  row.macro_type = kFamilyMouse;  // another function: the macro is no longer played
  row.macro_value = 1;
  ASSERT_GT(db.SaveKeyAssign(row), 0);
  ASSERT_TRUE(editor.Select(macro));
  EXPECT_FALSE(editor.SelectedIsPlayedByAButton());
}

TEST_F(ButtonAssignmentTest, EveryListItemShowsItsOwnTextAndSendsItsOwnEntry) {
  model.SelectButton(2);
  for (int family : {kFamilyMouse, kFamilyMultimedia, kFamilySystem, kFamilyDpi, kFamilySpecial}) {
    std::set<int> codes;
    std::set<ButtonEntry> entries;
    for (const FamilyListItem& item : FamilyListItems(family)) {
      SCOPED_TRACE(testing::Message() << "family " << family << " code " << item.code);
      EXPECT_TRUE(codes.insert(item.code).second);
      const std::string text = item.text_id ? "T" + std::to_string(item.text_id) : item.text;
      ASSERT_EQ(model.ChooseFamilyItem(family, item.code, text), AssignResult::kSaved);
      // The list item's own text comes back as the button's description (the rapid-fire
      // preset is described as the triple click it sends).
      const bool preset = family == kFamilyMouse && item.code == 4;
      EXPECT_EQ(model.Description(2), preset ? "T" + std::to_string(kTextFireKeyTriple) : text);
      EXPECT_EQ(model.PanelState().marked_family, family);
      EXPECT_EQ(model.PanelState().code, item.code);
      ButtonEntry sent{};
      EXPECT_TRUE(EncodeButtonEntry(*db.GetKeyAssign(kProfile, 2), {}, sent)) << "no entry";
      EXPECT_TRUE(entries.insert(sent).second) << "two items send the same entry";
      if (item.text_id != 0) {
        const bool known = std::any_of(std::begin(kAllTextIds), std::end(kAllTextIds),
                                       [&](const TextIdName& t) { return t.id == item.text_id; });
        EXPECT_TRUE(known) << "text " << item.text_id << " is in no language file check";
      }
    }
  }
}

TEST_F(ButtonAssignmentTest, ListsStartFromTheirFirstState) {
  model.SelectButton(1);
  EXPECT_EQ(model.PanelState().marked_family, kFamilyMouse);  // no row yet
  EXPECT_EQ(model.PanelState().code, 0);
  ASSERT_EQ(model.ApplyKeyboard('A', "A", {.ctrl = true}), AssignResult::kSaved);
  EXPECT_EQ(model.PanelState().marked_family, kFamilyKeyboard) << "no list holds it";
  // The first items the page shows: media player, calculator, the first mouse function.
  auto first_text = [](int family) {
    return FamilyListItems(family)[static_cast<size_t>(FamilyListFirstItem(family))].text_id;
  };
  EXPECT_EQ(first_text(kFamilyMultimedia), kTextMediaPlayer);
  EXPECT_EQ(first_text(kFamilySystem), kTextCalculator);
  EXPECT_EQ(first_text(kFamilyMouse), kTextLeftClick);
  EXPECT_EQ(FamilyListFirstItem(kFamilyMacro), 0);
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// A worker that takes the button job the moment it is posted, as the real one may.
class EagerButtonJob : public TaskPoster {
 public:
  explicit EagerButtonJob(DeviceState& state) : state_(state) {}
  void Post(WorkerTask task) override {
    if (task == WorkerTask::kButtonTable) taken.push_back(state_.TakeMarkedMacroButtons());
  }
  std::vector<std::set<int>> taken;  // the marked macro buttons each job found

 private:
  DeviceState& state_;
};

TEST_F(ButtonAssignmentTest, TheMacroIsMarkedBeforeTheButtonJobCanRun) {
  const int macro = db.AddMacro("Custom 1");
  DeviceState eager_state;
  EagerButtonJob job(eager_state);
  ButtonAssignment eager{db, job, eager_state, test::IdTexts()};
  std::vector<ButtonDefinition> buttons(3);
  for (int b = 0; b < 3; ++b) buttons[b].key_value = b;
  eager.Load(kProfile, buttons);
  eager.SelectButton(2);
  ASSERT_EQ(eager.ChooseMacro(macro, "Custom 1"), AssignResult::kSaved);
  eager.SelectButton(1);
  ASSERT_EQ(eager.Assign(kFamilyMacro, macro, 0, "Custom 1"), AssignResult::kSaved);
  EXPECT_EQ(job.taken, (std::vector<std::set<int>>{{2}, {1}}));
  EXPECT_TRUE(eager_state.TakeMarkedMacroButtons().empty());  // nothing left for a later job
}

}  // namespace
}  // namespace corvane
