// Macro list, event editing, play settings and storing the event list.
#include "settings/macro_editor.h"

#include <map>

#include "protocol/button_table_encoding.h"
#include "settings/macro_names.h"
#include "protocol/macro_packets.h"
#include "settings_fixture.h"

namespace corvane {
namespace {

using test::SettingsFixture;

const std::string kDown = "\xE2\x86\x93  ";
const std::string kUp = "\xE2\x86\x91  ";

class MacroEditorTest : public SettingsFixture {
 protected:
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& item : editor.Events().Items()) out.push_back(item.desc);
    return out;
  }
  std::vector<std::string> StoredTexts() const {
    std::vector<std::string> out;
    for (const auto& item : db.GetMacroEvents(editor.SelectedMacro())) out.push_back(item.desc);
    return out;
  }

  MacroEditor editor{db, clock, test::IdTexts()};
};

TEST_F(MacroEditorTest, NewDeleteAndDisplayNames) {
  EXPECT_TRUE(editor.Load().empty());
  EXPECT_EQ(editor.InsertDelay(-1), MacroEditResult::kNoSelection);
  const int first = editor.NewMacro();
  const int second = editor.NewMacro();
  ASSERT_GT(second, first);
  EXPECT_EQ(db.GetMacro(second)->name, "T351 2");
  db.RenameMacro(first, "Custom 1 Copy");
  const auto list = editor.Load();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].shown_name, "T351 1  T31");  // the space before the copy word stays
  EXPECT_EQ(editor.SelectedMacro(), first);

  // Deleting selects the previous macro and shows its own events.
  ASSERT_EQ(editor.InsertClick(-1, MouseChoice::kLeft), MacroEditResult::kDone);
  editor.Select(second);
  EXPECT_EQ(editor.DeleteSelected(), std::optional<int>(first));
  EXPECT_EQ(editor.Events().Size(), 4);
  EXPECT_EQ(editor.DeleteSelected(), std::optional<int>(0));
  EXPECT_TRUE(db.GetMacros().empty());
  EXPECT_EQ(editor.DeleteSelected(), std::nullopt);
}

TEST_F(MacroEditorTest, DisplayNameRules) {
  const TextLookup texts = test::IdTexts();
  EXPECT_EQ(MacroListDisplayName("\xE8\x87\xAA\xE5\xAE\x9A\xE4\xB9\x89 3", texts), "T351 3");
  EXPECT_EQ(MacroListDisplayName("Mine \xE5\xA4\x8D\xE5\x88\xB6", texts), "Mine  T31");
  EXPECT_EQ(MacroListDisplayName("\xE3\x82\xAB\xE3\x82\xB9\xE3\x82\xBF\xE3\x83\xA0 3", texts),
            "\xE3\x82\xAB\xE3\x82\xB9\xE3\x82\xBF\xE3\x83\xA0 3");
  EXPECT_EQ(MacroAssignDisplayName("\xE3\x82\xAB\xE3\x82\xB9\xE3\x82\xBF\xE3\x83\xA0 3", texts),
            "T351 3");
  EXPECT_EQ(MacroAssignDisplayName("Plain", texts), "Plain");
}

TEST_F(MacroEditorTest, EventTextsAsThePageMakesThem) {
  EXPECT_EQ(EventText(kEventDelay, 25), "25 ms");
  EXPECT_EQ(EventText(kEventKeyDown, 160), kDown + "Shift");
  EXPECT_EQ(EventText(kEventKeyUp, 'Q'), kUp + "Q");
  EXPECT_EQ(EventText(kEventMouseDown, 16), kDown + "Forward");
  EXPECT_EQ(EventText(kEventMouseUp, 8), kUp + "Backward");
  EXPECT_EQ(EventText(7, 1), "");
}

TEST_F(MacroEditorTest, RenameUpdatesAssignmentsOfTheProfile) {
  const int id = editor.NewMacro();
  KeyAssignRecord row;
  row.profile = kProfile;
  row.key_code = 3;
  row.macro_type = kFamilyMacro;
  row.macro_value = id;
  row.macro_desc = "old";
  db.SaveKeyAssign(row);
  row.profile = 2;
  db.SaveKeyAssign(row);
  EXPECT_EQ(editor.Rename(id, "Jump", kProfile), "Jump");
  EXPECT_EQ(db.GetMacro(id)->name, "Jump");
  EXPECT_EQ(db.GetKeyAssign(kProfile, 3)->macro_desc, "Jump");
  EXPECT_EQ(db.GetKeyAssign(2, 3)->macro_desc, "old");
  EXPECT_EQ(editor.Rename(id, "", kProfile), "Jump");  // empty restores the stored name
  EXPECT_EQ(db.GetMacro(id)->name, "Jump");
}

TEST_F(MacroEditorTest, InsertingClicksKeysAndDelays) {
  editor.NewMacro();
  clock.now = 500;
  ASSERT_EQ(editor.InsertClick(-1, MouseChoice::kLeft), MacroEditResult::kDone);
  EXPECT_EQ(Texts(), (std::vector<std::string>{kDown + "LB", "10 ms", kUp + "LB", "10 ms"}));
  const auto& items = editor.Events().Items();
  EXPECT_EQ(items[0].delay_time, 500);
  EXPECT_EQ(items[1].delay_time, 501);
  EXPECT_EQ(items[2].delay_time, 500);
  EXPECT_EQ(items[3].delay_time, 502);
  EXPECT_EQ(items[0].type, kEventMouseDown);
  EXPECT_EQ(items[2].value, 1);
  // Same tick again: the new pair gets timestamps of its own.
  ASSERT_EQ(editor.InsertKey(0, 'K', "K"), MacroEditResult::kDone);
  EXPECT_EQ(Texts(), (std::vector<std::string>{kDown + "LB", kDown + "K", "10 ms", kUp + "K",
                                               "10 ms", "10 ms", kUp + "LB", "10 ms"}));
  EXPECT_NE(editor.Events().Items()[1].delay_time, 500);
  ASSERT_EQ(editor.InsertDelay(0), MacroEditResult::kDone);
  EXPECT_EQ(Texts()[0], "10 ms");
  EXPECT_EQ(StoredTexts(), Texts());
  const auto stored = db.GetMacroEvents(editor.SelectedMacro());
  for (int i = 0; i < static_cast<int>(stored.size()); ++i) EXPECT_EQ(stored[i].record_index, i);
}

TEST_F(MacroEditorTest, EditingEventsAddressesTheirPartner) {
  editor.NewMacro();
  editor.InsertKey(-1, 'A', "A");
  editor.InsertClick(-1, MouseChoice::kRight);
  ASSERT_EQ(editor.EditKey(2, 'B', "B"), MacroEditResult::kDone);  // the release of A
  EXPECT_EQ(Texts()[0], kDown + "B");
  EXPECT_EQ(Texts()[2], kUp + "B");
  EXPECT_EQ(editor.Events().Items()[0].value, 'B');
  ASSERT_EQ(editor.EditMouseButton(4, MouseChoice::kForward), MacroEditResult::kDone);
  EXPECT_EQ(Texts()[4], kDown + "Forward");
  EXPECT_EQ(Texts()[6], kUp + "Forward");
  EXPECT_EQ(editor.Events().Items()[6].value, 16);
  EXPECT_EQ(editor.EditDelay(1, 0), MacroEditResult::kDone);
  EXPECT_EQ(Texts()[1], "1 ms");
  EXPECT_EQ(editor.EditDelay(1, 20000), MacroEditResult::kDone);
  EXPECT_EQ(editor.Events().Items()[1].value, 10000);
  EXPECT_EQ(editor.EditDelay(0, 5), MacroEditResult::kNoSelection);  // not a delay
  EXPECT_EQ(editor.EditKey(4, 'C', "C"), MacroEditResult::kNoSelection);  // not a key
  EXPECT_EQ(StoredTexts(), Texts());
}

TEST_F(MacroEditorTest, EditingARecordedKeyChangesItsPressAndRelease) {
  // Recorded events each carry their own time, so pairs are found by their code:
  // ↓G ↓H ↑H ↓G ↑G ↑G (G held while tapped again), plus a stray ↑H with no press.
  editor.NewMacro();
  MacroEventList& list = editor.MutableEvents();
  int t = 100;
  for (auto [type, vk] : std::vector<std::pair<int, int>>{
           {2, 'G'}, {2, 'H'}, {3, 'H'}, {2, 'G'}, {3, 'G'}, {3, 'G'}, {3, 'H'}}) {
    list.Append(type, vk, EventText(type, vk), t++);
  }
  ASSERT_EQ(editor.EditKey(1, 'J', "J"), MacroEditResult::kDone);  // ↓H -> its ↑H at 2
  EXPECT_EQ(Texts()[1], kDown + "J");
  EXPECT_EQ(Texts()[2], kUp + "J");
  EXPECT_EQ(Texts()[6], kUp + "H") << "an unrelated release of the old key stays";
  ASSERT_EQ(editor.EditKey(5, 'K', "K"), MacroEditResult::kDone);  // the outer ↑G -> ↓G at 0
  EXPECT_EQ(Texts()[0], kDown + "K");
  EXPECT_EQ(Texts()[5], kUp + "K");
  EXPECT_EQ(Texts()[3], kDown + "G") << "the nested press keeps its own release";
  EXPECT_EQ(Texts()[4], kUp + "G");
  ASSERT_EQ(editor.EditKey(6, 'L', "L"), MacroEditResult::kDone);  // no partner: itself only
  EXPECT_EQ(Texts()[6], kUp + "L");
  EXPECT_EQ(StoredTexts(), Texts());
  // Every press still has its release of the same code.
  std::map<int, int> held;
  for (const MacroEventRecord& item : db.GetMacroEvents(editor.SelectedMacro())) {
    if (item.type == 2) ++held[item.value];
    if (item.type == 3 && held[item.value] > 0) --held[item.value];
  }
  for (const auto& [vk, count] : held) EXPECT_EQ(count, 0) << "key " << vk << " left down";
}

TEST_F(MacroEditorTest, ReorderDeleteAndClear) {
  editor.NewMacro();
  editor.InsertKey(-1, 'A', "A");
  EXPECT_EQ(editor.MoveUp(0), MacroEditResult::kNoSelection);
  EXPECT_EQ(editor.MoveDown(3), MacroEditResult::kNoSelection);
  EXPECT_EQ(editor.MoveDown(0), MacroEditResult::kDone);
  EXPECT_EQ(Texts()[0], "10 ms");
  EXPECT_EQ(editor.MoveBottom(0), MacroEditResult::kDone);
  EXPECT_EQ(Texts(), (std::vector<std::string>{kDown + "A", kUp + "A", "10 ms", "10 ms"}));
  EXPECT_EQ(editor.MoveTop(2), MacroEditResult::kDone);
  EXPECT_EQ(Texts()[0], "10 ms");
  EXPECT_EQ(editor.DeleteEvent(0), MacroEditResult::kDone);
  EXPECT_EQ(editor.DeleteEvent(9), MacroEditResult::kNoSelection);
  EXPECT_EQ(StoredTexts(), Texts());
  EXPECT_EQ(editor.Clear(), MacroEditResult::kDone);
  EXPECT_TRUE(StoredTexts().empty());
}

TEST_F(MacroEditorTest, InsertLimits) {
  editor.NewMacro();
  // 50 clicks make 200 items; a list above 199 items refuses further inserts.
  for (int i = 0; i < 50; ++i) ASSERT_EQ(editor.InsertClick(-1, MouseChoice::kMiddle), MacroEditResult::kDone);
  EXPECT_EQ(editor.InsertDelay(-1), MacroEditResult::kListFull);
  EXPECT_EQ(editor.Events().Size(), 200);

  // Near the packet limit an insert that would not fit the mouse is refused whole.
  std::vector<MacroEventRecord> many(100);
  for (auto& e : many) e.type = kEventKeyDown, e.value = 'Q';
  editor.MutableEvents().Assign(many);
  ASSERT_TRUE(editor.SaveEvents());
  EXPECT_EQ(editor.InsertKey(-1, 'W', "W"), MacroEditResult::kTooLong);
  EXPECT_EQ(editor.Events().Size(), 100);
  EXPECT_EQ(db.GetMacroEvents(editor.SelectedMacro()).size(), 100u);
  EXPECT_TRUE(MacroFitsPackets(db.GetMacroEvents(editor.SelectedMacro())));
}

TEST_F(MacroEditorTest, PlaySettingsAreClampedAndStored) {
  const int id = editor.NewMacro();
  auto shown = editor.ShownPlaySettings();
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->delay_choice, 1);
  EXPECT_EQ(shown->play_choice, 2);
  EXPECT_EQ(shown->count_field, "1");

  PlaySettings settings{2, "", 2, "5000"};
  ASSERT_EQ(editor.SavePlaySettings(settings, 100), MacroEditResult::kDone);
  EXPECT_EQ(settings.delay_field, "10");
  EXPECT_EQ(settings.count_field, "999");
  auto macro = db.GetMacro(id);
  EXPECT_EQ(macro->delay_type, 2);
  EXPECT_EQ(macro->delay_time, 10);
  EXPECT_EQ(macro->play_type, 0);
  EXPECT_EQ(macro->play_times, 999);

  settings = {2, "99999", 2, "0"};
  editor.SavePlaySettings(settings, 201);
  EXPECT_EQ(db.GetMacro(id)->delay_time, 10000);
  EXPECT_EQ(db.GetMacro(id)->play_times, 1);
  settings = {2, "20", 2, "300"};
  editor.SavePlaySettings(settings, 201);
  EXPECT_EQ(db.GetMacro(id)->play_times, 255);

  settings = {0, "20", 1, "7"};
  editor.SavePlaySettings(settings, 100);
  macro = db.GetMacro(id);
  EXPECT_EQ(macro->delay_type, 0);
  EXPECT_EQ(macro->delay_time, 0);
  EXPECT_EQ(macro->play_type, 2);
  EXPECT_EQ(macro->play_times, 1);
  EXPECT_EQ(editor.ShownPlaySettings()->play_choice, 1);
}

}  // namespace
}  // namespace corvane
