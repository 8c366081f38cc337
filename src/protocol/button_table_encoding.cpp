// Button entries per function family and the button table command.
#include "protocol/button_table_encoding.h"

#include <algorithm>
#include <utility>

#include "protocol/key_codes.h"

namespace corvane {
namespace {

constexpr uint8_t kMouseKind = 0x10;
constexpr uint8_t kWheelKind = 0x20;
constexpr uint8_t kRapidFireKind = 0x30;
constexpr uint8_t kDpiKind = 0x40;
constexpr uint8_t kSpecialKind = 0x60;
constexpr uint8_t kKeyboardKind = 0x70;
constexpr uint8_t kConsumerKind = 0x80;
constexpr uint8_t kMacroKind = 0x90;
constexpr uint8_t kPlayLoopFlag = 0x10;
constexpr uint8_t kPlayHoldFlag = 0x40;
constexpr uint8_t kPlayCountFlag = 0x20;
constexpr int kMaxPlayCount = 255;

ButtonEntry Entry(int b0, int b1, int b2) {
  return {static_cast<uint8_t>(b0), static_cast<uint8_t>(b1), static_cast<uint8_t>(b2)};
}

ButtonEntry MouseEntry(int code) {
  switch (code) {
    case 1: return Entry(kMouseKind, 0x01, 0);
    case 3: return Entry(kMouseKind, 0x02, 0);
    case 2: return Entry(kMouseKind, 0x04, 0);
    case 5: return Entry(kMouseKind, 0x10, 0);
    case 6: return Entry(kMouseKind, 0x08, 0);
    case 4: return Entry(kRapidFireKind, 50, 3);
    case 7: return Entry(kWheelKind, 0x01, 0);
    case 8: return Entry(kWheelKind, 0xFF, 0);
    case 9: return Entry(kMouseKind, 0, 0xF5);
    case 10: return Entry(kMouseKind, 0, 0xF6);
    default: return Entry(kMouseKind, 0, 0);
  }
}

// Consumer-page usage of a multimedia code, 0 for an unknown code.
int MultimediaUsage(int code) {
  constexpr int kUsages[] = {0x0183, 0x00CD, 0x00B7, 0x00B6, 0x00B5, 0x00E9, 0x00EA, 0x00E2};
  return (code >= 1 && code <= 8) ? kUsages[code - 1] : 0;
}

bool SystemEntry(int code, ButtonEntry& entry) {
  constexpr std::array<ButtonEntry, 11> kEntries{{
      {kConsumerKind, 0x6F, 0},    {kConsumerKind, 0x70, 0},    {kConsumerKind, 0x92, 0x01},
      {kConsumerKind, 0x94, 0x01}, {kConsumerKind, 0x23, 0x02}, {kConsumerKind, 0x8A, 0x01},
      {kKeyboardKind, 0x08, 0x07}, {kKeyboardKind, 0x08, 0x2B}, {kKeyboardKind, 0x01, 0x06},
      {kKeyboardKind, 0x01, 0x19}, {kKeyboardKind, 0x01, 0x1B},
  }};
  if (code < 1 || code > static_cast<int>(kEntries.size())) return false;
  entry = kEntries[code - 1];
  return true;
}

const MacroRecord* FindMacro(const std::vector<MacroRecord>& macros, int macro_id) {
  auto it = std::find_if(macros.begin(), macros.end(),
                         [macro_id](const MacroRecord& m) { return m.macro_id == macro_id; });
  return it == macros.end() ? nullptr : &*it;
}

}  // namespace

bool IsValidButtonIndex(int button) { return button >= 0 && button <= kMaxButtonIndex; }

ButtonEntry KeyboardEntry(int usage, int modifier_mask) {
  // A modifier key joins the mask: as a key code it would name an unrelated key. Only
  // usages 224..231 are modifiers; 91 and 92 are keypad keys.
  if (const int bit = UsageModifierBit(usage); bit != 0) {
    return Entry(kKeyboardKind, (modifier_mask | bit) & 0xFF, 0);
  }
  return Entry(kKeyboardKind, modifier_mask & 0xFF, usage);
}

ButtonEntry MacroEntry(int button, const MacroRecord& macro) {
  int flags = 0;
  int count = 0;
  if (macro.play_type == 1 || macro.play_type == 3) {
    flags = kPlayLoopFlag;
  } else if (macro.play_type == 2) {
    flags = kPlayHoldFlag;
  } else if (macro.play_times >= 1) {
    flags = kPlayCountFlag;
    count = std::min(macro.play_times, kMaxPlayCount);  // one byte; never wrap to fewer
  }
  return Entry(kMacroKind, button | flags, count);
}

bool EncodeButtonEntry(const KeyAssignRecord& row, const std::vector<MacroRecord>& macros,
                       ButtonEntry& entry) {
  const int value = row.macro_value;
  switch (row.macro_type) {
    case kFamilyMouse: entry = MouseEntry(value); return true;
    case kFamilyKeyboard: entry = KeyboardEntry(value, row.macro_value2); return true;
    case kFamilyMultimedia: {
      const int usage = MultimediaUsage(value);
      if (usage == 0) return false;
      entry = Entry(kConsumerKind, usage & 0xFF, usage >> 8);
      return true;
    }
    case kFamilyMacro: {
      const MacroRecord* macro = FindMacro(macros, value);
      if (macro == nullptr) return false;
      entry = MacroEntry(row.key_code, *macro);
      return true;
    }
    case kFamilyDpi:
      if (value < 1 || value > 3) return false;
      entry = Entry(kDpiKind, value == 3 ? 1 : value + 1, 0);
      return true;
    case kFamilySpecial:
      if (value != 1 && value != 2) return false;
      entry = Entry(kSpecialKind, value == 1 ? 4 : 1, 0);
      return true;
    case kFamilyRapidFire: entry = Entry(kRapidFireKind, value, row.macro_value2); return true;
    case kFamilySystem: return SystemEntry(value, entry);
    case kFamilyDisabled: entry = Entry(kSpecialKind, 0, 0); return true;
    default: return false;
  }
}

ButtonTable FactoryButtonTable() {
  ButtonTable table{};
  const ButtonEntry factory[] = {Entry(kMouseKind, 0x01, 0), Entry(kMouseKind, 0x02, 0),
                                 Entry(kMouseKind, 0x04, 0), Entry(kMouseKind, 0x08, 0),
                                 Entry(kMouseKind, 0x10, 0), Entry(kDpiKind, 0x01, 0)};
  for (size_t b = 0; b < std::size(factory); ++b) {
    std::copy(factory[b].begin(), factory[b].end(), table.begin() + b * kButtonEntrySize);
  }
  return table;
}

ButtonTable BuildButtonTable(const std::vector<KeyAssignRecord>& rows,
                             const std::vector<MacroRecord>& macros) {
  ButtonTable table = FactoryButtonTable();
  for (const KeyAssignRecord& row : rows) {
    if (row.fn_layer != 0 || !IsValidButtonIndex(row.key_code)) continue;
    auto at = table.begin() + row.key_code * kButtonEntrySize;
    ButtonEntry entry{at[0], at[1], at[2]};
    if (EncodeButtonEntry(row, macros, entry)) std::copy(entry.begin(), entry.end(), at);
  }
  return table;
}

CommandReport ButtonCommand(const ButtonTable& table) {
  CommandReport report;
  report.length = kShortReportLength;
  report.bytes[kReportCommandByte] = Byte(CommandId::kButtons);
  report.bytes[kReportSequenceByte] = kSinglePacketSequence;
  report.bytes[kReportLengthByte] = kButtonLengthByte;
  // Bytes 5..64 carry table bytes 0..59; only the first 33 bytes are written.
  std::copy(table.begin(), table.begin() + (kReportBufferSize - kReportPayloadByte),
            report.bytes.begin() + kReportPayloadByte);
  return report;
}

}  // namespace corvane
