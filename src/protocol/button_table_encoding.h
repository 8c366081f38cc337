// What the mouse receives for button assignments: the 3-byte entry of each function
// family, the factory layout, the 21-button table and the button command. Pure
// functions over store records, so the worker only sends what is built here.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "protocol/command_report.h"
#include "store/store_records.h"

namespace corvane {

// Function families stored in KeyAssignRecord::macro_type.
enum FunctionFamily : int {
  kFamilyMouse = 1,
  kFamilyKeyboard = 2,
  kFamilyMultimedia = 3,
  kFamilyMacro = 4,
  kFamilyDpi = 5,
  kFamilySpecial = 6,
  kFamilyRapidFire = 7,
  kFamilySystem = 8,
  kFamilyDisabled = 9,
};
inline constexpr int kFirstFamily = kFamilyMouse;
inline constexpr int kLastFamily = kFamilyDisabled;

inline constexpr int kButtonCount = 21;  // buttons 0 to 20
inline constexpr int kMaxButtonIndex = kButtonCount - 1;
inline constexpr int kButtonEntrySize = 3;
inline constexpr int kButtonTableSize = 65;  // 21 entries and two spare bytes
inline constexpr uint8_t kButtonLengthByte = 15;

using ButtonEntry = std::array<uint8_t, kButtonEntrySize>;
using ButtonTable = std::array<uint8_t, kButtonTableSize>;

// True when `button` has a place in the button table (0 to 20).
bool IsValidButtonIndex(int button);

// Computes the entry of one assignment row for `button`. Returns false, leaving
// `entry` untouched, for a family outside 1..9 or a macro missing from `macros`.
bool EncodeButtonEntry(const KeyAssignRecord& row, const std::vector<MacroRecord>& macros,
                       ButtonEntry& entry);

// Returns the keyboard entry (rule for family 2) of a usage and modifier mask.
ButtonEntry KeyboardEntry(int usage, int modifier_mask);

// Returns the macro entry for a macro bound to `button` (family 4).
ButtonEntry MacroEntry(int button, const MacroRecord& macro);

// Returns the table before any row is applied: five mouse buttons and the DPI cycle.
ButtonTable FactoryButtonTable();

// Returns the factory table with `rows` (fn_layer 0, buttons 0..20) applied in order;
// rows for other layers or buttons are skipped.
ButtonTable BuildButtonTable(const std::vector<KeyAssignRecord>& rows,
                             const std::vector<MacroRecord>& macros);

// Returns the 33-byte button command carrying `table` (buttons 0 to 8 reach the mouse).
CommandReport ButtonCommand(const ButtonTable& table);

}  // namespace corvane
