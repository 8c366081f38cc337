// Keyboard code conversions: Windows virtual-key codes to USB HID keyboard usages,
// modifier bits, and the key names Windows shows (US layout). Pure functions, no Qt;
// mapping Qt key events onto virtual-key codes belongs to the UI.
#pragma once

#include <string>

namespace corvane {

// Virtual-key codes that the decoder and the event records single out.
inline constexpr int kVkShift = 16;
inline constexpr int kVkControl = 17;
inline constexpr int kVkMenu = 18;
inline constexpr int kVkEscape = 27;
inline constexpr int kVkLeftWin = 91;
inline constexpr int kVkRightWin = 92;
inline constexpr int kVkApps = 93;
inline constexpr int kVkLeftShift = 160;
inline constexpr int kVkRightShift = 161;
inline constexpr int kVkLeftControl = 162;
inline constexpr int kVkRightControl = 163;
inline constexpr int kVkLeftMenu = 164;
inline constexpr int kVkRightMenu = 165;

// HID keyboard usages of the eight modifier keys (Left Ctrl .. Right GUI).
inline constexpr int kUsageFirstModifier = 224;
inline constexpr int kUsageLastModifier = 231;

// Returns the HID keyboard/keypad usage for a virtual-key code, 0 when it has none.
int VkToHidUsage(int vk);

// Returns the HID modifier bit of a modifier key's HID usage (224..231), 0 for any other
// usage. Usages 91 and 92 are keypad keys, not the Windows keys that share those numbers
// as virtual-key codes.
int UsageModifierBit(int usage);

// Returns the HID modifier bit of one of the eight modifier virtual-key codes (160..165,
// 91, 92), 0 for any other code. Codes 224..231 are keys of their own (226 is the ISO
// backslash key), not modifiers.
int VkModifierBit(int vk);

// True for the left/right Shift, Ctrl and Alt codes 160..165 that key fields ignore.
bool IsSidedShiftCtrlAlt(int vk);

// Returns the key name Windows shows for a virtual-key code on a US layout, including
// the fixed names this program sets itself; empty when the key has no name.
std::string VkKeyName(int vk);

}  // namespace corvane
