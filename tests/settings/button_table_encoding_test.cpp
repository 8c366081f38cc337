// Button entries of every family and the button table command.
#include <gtest/gtest.h>

#include "protocol/button_table_encoding.h"

namespace corvane {
namespace {

KeyAssignRecord Row(int button, int type, int value, int value2 = 0) {
  KeyAssignRecord row;
  row.profile = 1;
  row.key_code = button;
  row.macro_type = type;
  row.macro_value = value;
  row.macro_value2 = value2;
  return row;
}

ButtonEntry EntryOf(const KeyAssignRecord& row, const std::vector<MacroRecord>& macros = {}) {
  ButtonEntry entry{0xAA, 0xBB, 0xCC};
  EncodeButtonEntry(row, macros, entry);
  return entry;
}

ButtonEntry At(const ButtonTable& table, int button) {
  return {table[3 * button], table[3 * button + 1], table[3 * button + 2]};
}

TEST(ButtonTableTest, ProfileWithoutRowsGivesFactoryLayout) {
  const ButtonTable table = BuildButtonTable({}, {});
  EXPECT_EQ(table, FactoryButtonTable());
  EXPECT_EQ(At(table, 0), (ButtonEntry{0x10, 0x01, 0x00}));
  EXPECT_EQ(At(table, 1), (ButtonEntry{0x10, 0x02, 0x00}));
  EXPECT_EQ(At(table, 2), (ButtonEntry{0x10, 0x04, 0x00}));
  EXPECT_EQ(At(table, 3), (ButtonEntry{0x10, 0x08, 0x00}));
  EXPECT_EQ(At(table, 4), (ButtonEntry{0x10, 0x10, 0x00}));
  EXPECT_EQ(At(table, 5), (ButtonEntry{0x40, 0x01, 0x00}));
  for (int b = 6; b < kButtonTableSize / 3; ++b) EXPECT_EQ(At(table, b), (ButtonEntry{0, 0, 0}));
  EXPECT_EQ(table[63], 0);
  EXPECT_EQ(table[64], 0);
}

TEST(ButtonTableTest, KeyboardEntries) {
  EXPECT_EQ(EntryOf(Row(1, kFamilyKeyboard, 4, 5)), (ButtonEntry{0x70, 0x05, 0x04}));  // Ctrl+Alt+A
  EXPECT_EQ(EntryOf(Row(1, kFamilyKeyboard, 224, 0)), (ButtonEntry{0x70, 0x01, 0x00}));
  EXPECT_EQ(EntryOf(Row(1, kFamilyKeyboard, 225, 0)), (ButtonEntry{0x70, 0x02, 0x00}));
  EXPECT_EQ(EntryOf(Row(1, kFamilyKeyboard, 0, 2)), (ButtonEntry{0x70, 0x02, 0x00}));
  // A modifier key with toggled modifiers joins the mask instead of naming key 8 (E).
  EXPECT_EQ(EntryOf(Row(1, kFamilyKeyboard, 227, 1)), (ButtonEntry{0x70, 0x09, 0x00}));
  // Keypad 3 and 4 share their usages with the Windows keys' virtual-key codes.
  EXPECT_EQ(EntryOf(Row(1, kFamilyKeyboard, 91, 0)), (ButtonEntry{0x70, 0x00, 91}));
  EXPECT_EQ(EntryOf(Row(1, kFamilyKeyboard, 92, 4)), (ButtonEntry{0x70, 0x04, 92}));
}

TEST(ButtonTableTest, MouseMultimediaSystemDpiSpecialEntries) {
  const std::pair<int, ButtonEntry> mouse[] = {
      {1, {0x10, 0x01, 0}}, {3, {0x10, 0x02, 0}}, {2, {0x10, 0x04, 0}}, {5, {0x10, 0x10, 0}},
      {6, {0x10, 0x08, 0}}, {4, {0x30, 50, 3}},   {7, {0x20, 0x01, 0}}, {8, {0x20, 0xFF, 0}},
      {9, {0x10, 0, 0xF5}}, {10, {0x10, 0, 0xF6}}, {11, {0x10, 0, 0}}};
  for (const auto& [code, entry] : mouse) EXPECT_EQ(EntryOf(Row(2, kFamilyMouse, code)), entry) << code;
  EXPECT_EQ(EntryOf(Row(2, kFamilyMultimedia, 1)), (ButtonEntry{0x80, 0x83, 0x01}));
  EXPECT_EQ(EntryOf(Row(2, kFamilyMultimedia, 6)), (ButtonEntry{0x80, 0xE9, 0x00}));
  EXPECT_EQ(EntryOf(Row(2, kFamilyMultimedia, 3)), (ButtonEntry{0x80, 0xB7, 0x00}));
  EXPECT_EQ(EntryOf(Row(2, kFamilySystem, 3)), (ButtonEntry{0x80, 0x92, 0x01}));
  EXPECT_EQ(EntryOf(Row(2, kFamilySystem, 10)), (ButtonEntry{0x70, 0x01, 0x19}));
  EXPECT_EQ(EntryOf(Row(2, kFamilySystem, 11)), (ButtonEntry{0x70, 0x01, 0x1B}));
  EXPECT_EQ(EntryOf(Row(5, kFamilyDpi, 2)), (ButtonEntry{0x40, 0x03, 0x00}));  // DPI -
  EXPECT_EQ(EntryOf(Row(5, kFamilyDpi, 1)), (ButtonEntry{0x40, 0x02, 0x00}));
  EXPECT_EQ(EntryOf(Row(5, kFamilyDpi, 3)), (ButtonEntry{0x40, 0x01, 0x00}));
  EXPECT_EQ(EntryOf(Row(2, kFamilySpecial, 1)), (ButtonEntry{0x60, 0x04, 0x00}));
  EXPECT_EQ(EntryOf(Row(2, kFamilySpecial, 2)), (ButtonEntry{0x60, 0x01, 0x00}));
  EXPECT_EQ(EntryOf(Row(2, kFamilyRapidFire, 5, 200)), (ButtonEntry{0x30, 5, 200}));
  EXPECT_EQ(EntryOf(Row(2, kFamilyDisabled, 1)), (ButtonEntry{0x60, 0, 0}));
}

TEST(ButtonTableTest, UnknownFamiliesAndCodesLeaveTheEntry) {
  const ButtonEntry untouched{0xAA, 0xBB, 0xCC};
  EXPECT_EQ(EntryOf(Row(2, 0, 1)), untouched);
  EXPECT_EQ(EntryOf(Row(2, 10, 1)), untouched);
  EXPECT_EQ(EntryOf(Row(2, kFamilySystem, 12)), untouched);
  EXPECT_EQ(EntryOf(Row(2, kFamilyMultimedia, 9)), untouched);
  EXPECT_EQ(EntryOf(Row(2, kFamilyDpi, 4)), untouched);
  EXPECT_EQ(EntryOf(Row(2, kFamilyMacro, 7)), untouched);  // macro 7 no longer exists
}

TEST(ButtonTableTest, MacroEntryFlags) {
  MacroRecord macro;
  macro.macro_id = 7;
  macro.play_type = 0;
  macro.play_times = 3;
  EXPECT_EQ(EntryOf(Row(2, kFamilyMacro, 7), {macro}), (ButtonEntry{0x90, 0x22, 0x03}));
  macro.play_type = 1;
  EXPECT_EQ(EntryOf(Row(2, kFamilyMacro, 7), {macro}), (ButtonEntry{0x90, 0x12, 0x00}));
  macro.play_type = 3;
  EXPECT_EQ(EntryOf(Row(2, kFamilyMacro, 7), {macro}), (ButtonEntry{0x90, 0x12, 0x00}));
  macro.play_type = 2;
  EXPECT_EQ(EntryOf(Row(3, kFamilyMacro, 7), {macro}), (ButtonEntry{0x90, 0x43, 0x00}));
  macro.play_type = 0;
  macro.play_times = 0;
  EXPECT_EQ(EntryOf(Row(3, kFamilyMacro, 7), {macro}), (ButtonEntry{0x90, 0x03, 0x00}));
  macro.play_times = 999;  // held at one byte's maximum, never wrapped to 231
  EXPECT_EQ(EntryOf(Row(3, kFamilyMacro, 7), {macro}), (ButtonEntry{0x90, 0x23, 0xFF}));
}

TEST(ButtonTableTest, RowsApplyInOrderAndOutOfRangeRowsAreSkipped) {
  KeyAssignRecord other_layer = Row(3, kFamilyDisabled, 1);
  other_layer.fn_layer = 1;
  const std::vector<KeyAssignRecord> rows = {
      Row(2, kFamilyDisabled, 1), Row(2, kFamilyKeyboard, 4, 5), Row(21, kFamilyDisabled, 1),
      Row(-1, kFamilyDisabled, 1), other_layer, Row(20, kFamilyRapidFire, 9, 1),
      Row(4, kFamilyMacro, 99)};
  const ButtonTable table = BuildButtonTable(rows, {});
  ButtonTable expected = FactoryButtonTable();
  expected[6] = 0x70;
  expected[7] = 0x05;
  expected[8] = 0x04;
  expected[60] = 0x30;
  expected[61] = 9;
  expected[62] = 1;
  EXPECT_EQ(table, expected);
}

TEST(ButtonTableTest, ButtonCommandLayout) {
  ButtonTable table{};
  for (int i = 0; i < kButtonTableSize; ++i) table[i] = static_cast<uint8_t>(i + 1);
  const CommandReport report = ButtonCommand(table);
  EXPECT_EQ(report.length, 33);
  EXPECT_EQ(report.bytes[0], 0x00);
  EXPECT_EQ(report.bytes[1], 0x09);
  EXPECT_EQ(report.bytes[4], 15);
  for (int i = 0; i < 60; ++i) EXPECT_EQ(report.bytes[5 + i], i + 1) << i;
}

}  // namespace
}  // namespace corvane
