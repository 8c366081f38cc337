#include "settings/key_scan_codes.h"

#include <utility>

namespace corvane {
namespace {

constexpr int kWmKeyDown = 256;
constexpr int kWmKeyUp = 257;

struct PhysicalKey {
  int evdev;
  int vk;
  int make;
  int flags;
};

// Virtual-key codes as a US layout assigns them; the punctuation keys by position.
constexpr PhysicalKey kKeys[] = {
    {1, 27, 0x01, 0},     // Esc
    {2, '1', 0x02, 0},    {3, '2', 0x03, 0},    {4, '3', 0x04, 0},    {5, '4', 0x05, 0},
    {6, '5', 0x06, 0},    {7, '6', 0x07, 0},    {8, '7', 0x08, 0},    {9, '8', 0x09, 0},
    {10, '9', 0x0A, 0},   {11, '0', 0x0B, 0},
    {12, 189, 0x0C, 0},   // - _
    {13, 187, 0x0D, 0},   // = +
    {14, 8, 0x0E, 0},     // Backspace
    {15, 9, 0x0F, 0},     // Tab
    {16, 'Q', 0x10, 0},   {17, 'W', 0x11, 0},   {18, 'E', 0x12, 0},   {19, 'R', 0x13, 0},
    {20, 'T', 0x14, 0},   {21, 'Y', 0x15, 0},   {22, 'U', 0x16, 0},   {23, 'I', 0x17, 0},
    {24, 'O', 0x18, 0},   {25, 'P', 0x19, 0},
    {26, 219, 0x1A, 0},   // [
    {27, 221, 0x1B, 0},   // ]
    {28, 13, 0x1C, 0},    // Enter
    {29, 17, 0x1D, 0},    // left Ctrl
    {30, 'A', 0x1E, 0},   {31, 'S', 0x1F, 0},   {32, 'D', 0x20, 0},   {33, 'F', 0x21, 0},
    {34, 'G', 0x22, 0},   {35, 'H', 0x23, 0},   {36, 'J', 0x24, 0},   {37, 'K', 0x25, 0},
    {38, 'L', 0x26, 0},
    {39, 186, 0x27, 0},   // ;
    {40, 222, 0x28, 0},   // '
    {41, 192, 0x29, 0},   // `
    {42, 16, 0x2A, 0},    // left Shift
    {43, 220, 0x2B, 0},   // backslash
    {44, 'Z', 0x2C, 0},   {45, 'X', 0x2D, 0},   {46, 'C', 0x2E, 0},   {47, 'V', 0x2F, 0},
    {48, 'B', 0x30, 0},   {49, 'N', 0x31, 0},   {50, 'M', 0x32, 0},
    {51, 188, 0x33, 0},   // ,
    {52, 190, 0x34, 0},   // .
    {53, 191, 0x35, 0},   // /
    {54, 16, 0x36, 0},    // right Shift
    {55, 106, 0x37, 0},   // keypad *
    {56, 18, 0x38, 0},    // left Alt
    {57, 32, 0x39, 0},    // Space
    {58, 20, 0x3A, 0},    // Caps Lock
    {59, 112, 0x3B, 0},   {60, 113, 0x3C, 0},   {61, 114, 0x3D, 0},   {62, 115, 0x3E, 0},
    {63, 116, 0x3F, 0},   {64, 117, 0x40, 0},   {65, 118, 0x41, 0},   {66, 119, 0x42, 0},
    {67, 120, 0x43, 0},   {68, 121, 0x44, 0},  // F1..F10
    {69, 144, 0x45, 0},   // Num Lock
    {70, 145, 0x46, 0},   // Scroll Lock
    {74, 109, 0x4A, 0},   // keypad -
    {78, 107, 0x4E, 0},   // keypad +
    {86, 226, 0x56, 0},   // the extra key beside left Shift on ISO keyboards
    {87, 122, 0x57, 0},   {88, 123, 0x58, 0},  // F11, F12
    {89, 226, 0x73, 0},   // Ro
    {92, 28, 0x79, 0},    // Henkan (convert)
    {94, 29, 0x7B, 0},    // Muhenkan (non-convert)
    {96, 13, 0x1C, kRawKeyE0},   // keypad Enter
    {97, 17, 0x1D, kRawKeyE0},   // right Ctrl
    {98, 111, 0x35, kRawKeyE0},  // keypad /
    {99, 44, 0x37, kRawKeyE0},   // Print Screen
    {100, 18, 0x38, kRawKeyE0},  // right Alt
    {102, 36, 0x47, kRawKeyE0},  // Home
    {103, 38, 0x48, kRawKeyE0},  // Up
    {104, 33, 0x49, kRawKeyE0},  // Page Up
    {105, 37, 0x4B, kRawKeyE0},  // Left
    {106, 39, 0x4D, kRawKeyE0},  // Right
    {107, 35, 0x4F, kRawKeyE0},  // End
    {108, 40, 0x50, kRawKeyE0},  // Down
    {109, 34, 0x51, kRawKeyE0},  // Page Down
    {110, 45, 0x52, kRawKeyE0},  // Insert
    {111, 46, 0x53, kRawKeyE0},  // Delete
    {113, 173, 0x20, kRawKeyE0},  // mute
    {114, 174, 0x2E, kRawKeyE0},  // volume down
    {115, 175, 0x30, kRawKeyE0},  // volume up
    {119, 19, 0x1D, kRawKeyE1},   // Pause
    {124, 255, 0x7D, 0},          // Yen
    {125, 91, 0x5B, kRawKeyE0},   // left Windows
    {126, 92, 0x5C, kRawKeyE0},   // right Windows
    {127, 93, 0x5D, kRawKeyE0},   // Application (menu)
    {140, 183, 0x21, kRawKeyE0},  // calculator
    {155, 180, 0x6C, kRawKeyE0},  // mail
    {156, 171, 0x66, kRawKeyE0},  // browser favourites
    {158, 166, 0x6A, kRawKeyE0},  // browser back
    {159, 167, 0x69, kRawKeyE0},  // browser forward
    {163, 176, 0x19, kRawKeyE0},  // next track
    {164, 179, 0x22, kRawKeyE0},  // play/pause
    {165, 177, 0x10, kRawKeyE0},  // previous track
    {166, 178, 0x24, kRawKeyE0},  // stop
    {172, 172, 0x32, kRawKeyE0},  // browser home
    {173, 168, 0x67, kRawKeyE0},  // browser refresh
    {183, 124, 0x64, 0},  {184, 125, 0x65, 0},  {185, 126, 0x66, 0},  {186, 127, 0x67, 0},
    {187, 128, 0x68, 0},  {188, 129, 0x69, 0},  {189, 130, 0x6A, 0},  {190, 131, 0x6B, 0},
    {191, 132, 0x6C, 0},  {192, 133, 0x6D, 0},  {193, 134, 0x6E, 0},  {194, 135, 0x76, 0},
    {217, 170, 0x65, kRawKeyE0},  // browser search
};

// The keypad keys that double as navigation keys: the code with Num Lock on and off.
struct KeypadKey {
  int evdev;
  int make;
  int vk_num_lock;
  int vk_navigation;
};

constexpr KeypadKey kKeypad[] = {
    {71, 0x47, 103, 36},  // 7 / Home
    {72, 0x48, 104, 38},  // 8 / Up
    {73, 0x49, 105, 33},  // 9 / Page Up
    {75, 0x4B, 100, 37},  // 4 / Left
    {76, 0x4C, 101, 12},  // 5 / Clear
    {77, 0x4D, 102, 39},  // 6 / Right
    {79, 0x4F, 97, 35},   // 1 / End
    {80, 0x50, 98, 40},   // 2 / Down
    {81, 0x51, 99, 34},   // 3 / Page Down
    {82, 0x52, 96, 45},   // 0 / Insert
    {83, 0x53, 110, 46},  // . / Delete
};

struct SidedModifier {
  int evdev;
  int vk;
};

constexpr SidedModifier kSidedModifiers[] = {
    {42, 160}, {54, 161}, {29, 162}, {97, 163}, {56, 164}, {100, 165}, {125, 91}, {126, 92},
};

}  // namespace

std::optional<RawKeyInput> RawKeyFromEvdev(int evdev_code, bool released, bool num_lock) {
  RawKeyInput input;
  input.source = RawInputSource::kKeyboard;
  input.message = released ? kWmKeyUp : kWmKeyDown;
  for (const KeypadKey& key : kKeypad) {
    if (key.evdev != evdev_code) continue;
    input.vkey = num_lock ? key.vk_num_lock : key.vk_navigation;
    input.make_code = key.make;
    return input;
  }
  for (const PhysicalKey& key : kKeys) {
    if (key.evdev != evdev_code) continue;
    input.vkey = key.vk;
    input.make_code = key.make;
    input.flags = key.flags;
    return input;
  }
  return std::nullopt;
}

int EvdevForVirtualKey(int vk) {
  for (const PhysicalKey& key : kKeys) {
    if (key.vk == vk) return key.evdev;
  }
  for (const KeypadKey& key : kKeypad) {
    if (key.vk_num_lock == vk) return key.evdev;
  }
  return 0;
}

int EvdevForKeypadKey(int vk) {
  for (const KeypadKey& key : kKeypad) {
    if (key.vk_num_lock == vk || key.vk_navigation == vk) return key.evdev;
  }
  constexpr std::pair<int, int> kOperators[] = {{106, 55}, {109, 74}, {107, 78}, {111, 98},
                                                {13, 96}};
  for (const auto& [code, evdev] : kOperators) {
    if (code == vk) return evdev;
  }
  return 0;
}

int SidedModifierOfEvdev(int evdev_code) {
  for (const SidedModifier& key : kSidedModifiers) {
    if (key.evdev == evdev_code) return key.vk;
  }
  return 0;
}

}  // namespace corvane
