// The macro page's menus and the commands they run, and its edit panel's view of events.
#include "settings/macro_page_logic.h"

#include "protocol/macro_packets.h"
#include "settings_fixture.h"

namespace corvane {
namespace {

using test::SettingsFixture;

std::vector<int> Commands(const std::vector<MenuEntry>& menu) {
  std::vector<int> out;
  for (const MenuEntry& entry : menu) out.push_back(entry.command);
  return out;
}

int TextOf(const std::vector<MenuEntry>& menu, int command) {
  for (const MenuEntry& entry : menu) {
    if (entry.command == command) return entry.text_id;
  }
  return 0;
}

TEST(MacroPageMenus, ListMenuDependsOnSelectionAndLabelsMatchTheAction) {
  // An empty list can still be filled from files.
  EXPECT_EQ(Commands(MacroListMenu(false, false)),
            std::vector<int>({kCmdImportMacro, kCmdImportAllMacros}));
  EXPECT_EQ(Commands(MacroListMenu(false, true)),
            std::vector<int>({kCmdImportMacro, kCmdImportAllMacros, kCmdExportAllMacros}));
  const auto menu = MacroListMenu(true, true);
  EXPECT_EQ(Commands(menu), std::vector<int>({kCmdImportMacro, kCmdExportMacro,
                                              kCmdImportAllMacros, kCmdExportAllMacros}));
  // The entry that imports every macro says "Import all", the one that exports "Export all".
  EXPECT_EQ(TextOf(menu, kCmdImportAllMacros), kTextImportAllMacros);
  EXPECT_EQ(TextOf(menu, kCmdExportAllMacros), kTextExportAllMacros);
  EXPECT_EQ(TextOf(menu, kCmdImportMacro), kTextImport);
  EXPECT_EQ(TextOf(menu, kCmdExportMacro), kTextExport);
}

TEST(MacroPageEditPanel, MouseChoicesFollowTheComboTexts) {
  const std::vector<int> texts = MouseChoiceTexts();
  ASSERT_EQ(texts.size(), 5u);
  const std::pair<int, MouseChoice> expected[] = {
      {kTextLeftClick, MouseChoice::kLeft},   {kTextRightClick, MouseChoice::kRight},
      {kTextMiddleClick, MouseChoice::kMiddle}, {kTextForward, MouseChoice::kForward},
      {kTextBack, MouseChoice::kBackward}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(texts[i], expected[i].first) << i;
    EXPECT_EQ(MouseChoiceAt(i), expected[i].second) << i;
    EXPECT_EQ(MouseChoiceIndex(static_cast<int>(expected[i].second)), i);
  }
  EXPECT_EQ(MouseChoiceAt(-1), MouseChoice::kLeft);
  EXPECT_EQ(MouseChoiceAt(5), MouseChoice::kLeft);
  EXPECT_EQ(MouseChoiceIndex(64), 0);
}

TEST(MacroPageEditPanel, FieldShowsTheDelayOrTheKeyNameWithoutItsArrow) {
  MacroEventRecord delay;
  delay.type = kEventDelay;
  delay.value = 250;
  delay.desc = "250 ms";
  EXPECT_EQ(EditFieldText(delay), "250");
  MacroEventRecord key;
  key.type = kEventKeyDown;
  key.desc = ArrowText(true, "Page Up");
  EXPECT_EQ(EditFieldText(key), "Page Up");
  key.desc = "Q";  // a text without an arrow is shown whole
  EXPECT_EQ(EditFieldText(key), "Q");
}

class MacroPageCommands : public SettingsFixture {
 protected:
  std::vector<std::string> Stored() const {
    std::vector<std::string> out;
    for (const auto& item : db.GetMacroEvents(editor.SelectedMacro())) out.push_back(item.desc);
    return out;
  }
  MacroEditor editor{db, clock, test::IdTexts()};
};

TEST_F(MacroPageCommands, InsertAndMoveCommandsChangeTheStoredList) {
  ASSERT_GT(editor.NewMacro(), 0);
  EXPECT_EQ(RunInsertCommand(editor, kCmdInsertDelay, -1), MacroEditResult::kDone);
  EXPECT_EQ(RunInsertCommand(editor, kCmdInsertRight, -1), MacroEditResult::kDone);
  const std::string down = ArrowText(true, "RB"), up = ArrowText(false, "RB");
  EXPECT_EQ(Stored(), std::vector<std::string>({"10 ms", down, "10 ms", up, "10 ms"}));
  // The key needs the key dialog; the plain command inserts nothing.
  EXPECT_EQ(RunInsertCommand(editor, kCmdInsertKey, -1), MacroEditResult::kNoSelection);
  EXPECT_EQ(editor.Events().Size(), 5);

  EXPECT_EQ(RunRecordListCommand(editor, kCmdMoveBottom, 1), MacroEditResult::kDone);
  EXPECT_EQ(Stored(), std::vector<std::string>({"10 ms", "10 ms", up, "10 ms", down}));
  EXPECT_EQ(RunRecordListCommand(editor, kCmdMoveTop, 4), MacroEditResult::kDone);
  EXPECT_EQ(RunRecordListCommand(editor, kCmdMoveDown, 0), MacroEditResult::kDone);
  EXPECT_EQ(RunRecordListCommand(editor, kCmdMoveUp, 2), MacroEditResult::kDone);
  EXPECT_EQ(Stored(), std::vector<std::string>({"10 ms", "10 ms", down, up, "10 ms"}));
  // Moving past either end, or a bad command, changes nothing.
  EXPECT_EQ(RunRecordListCommand(editor, kCmdMoveUp, 0), MacroEditResult::kNoSelection);
  EXPECT_EQ(RunRecordListCommand(editor, kCmdMoveDown, 4), MacroEditResult::kNoSelection);
  EXPECT_EQ(RunRecordListCommand(editor, 99, 2), MacroEditResult::kNoSelection);
  EXPECT_EQ(Stored(), std::vector<std::string>({"10 ms", "10 ms", down, up, "10 ms"}));
}

}  // namespace
}  // namespace corvane
