// The physical keys of a Linux keyboard (evdev key codes; X11 key codes are these plus 8)
// as the raw keyboard report the key decoder reads: the virtual-key code the key has on a
// US layout, its set-1 make code and the E0/E1 prefix flags. Mapping from the physical key
// keeps captured keys independent of the keyboard layout in use.
#pragma once

#include <optional>

#include "settings/key_decoder.h"

namespace corvane {

// Offset between X11 key codes and evdev key codes.
inline constexpr int kX11KeycodeOffset = 8;

// Flags of a raw keyboard report.
inline constexpr int kRawKeyE0 = 2;
inline constexpr int kRawKeyE1 = 4;

// The report for one press or release of the evdev key `evdev_code`. The keypad's digit
// and decimal keys report the navigation keys they double as while Num Lock is off.
// Nothing for keys that have no virtual-key code (e.g. a power or a brightness key).
std::optional<RawKeyInput> RawKeyFromEvdev(int evdev_code, bool released, bool num_lock);

// The first physical key whose virtual-key code is `vk` (the left one of a pair, the main
// block's before the keypad's), or 0. For input that carries no physical key.
int EvdevForVirtualKey(int vk);

// The keypad key that reports `vk` with Num Lock on or off (keypad 8 for 104 and for 38),
// or 0.
int EvdevForKeypadKey(int vk);

// The sided virtual-key code (left/right Shift, Ctrl, Alt, Windows) of a physical key,
// or 0 when it is no modifier.
int SidedModifierOfEvdev(int evdev_code);

}  // namespace corvane
