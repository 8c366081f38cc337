// Physical keys through the decoder to the codes the mouse stores: every key of the usage
// table is checked against the HID usage its position has on a standard keyboard, so a
// wrong virtual-key code, side or prefix in the key table shows up here.
#include <gtest/gtest.h>

#include <set>

#include "protocol/key_codes.h"
#include "settings/key_scan_codes.h"

namespace corvane::test {
namespace {

struct Held {
  std::set<int> keys;
};

// Decodes one press of a physical key the way the window does: the sided modifier is
// marked as held before the decoder looks.
KeyEvent Press(KeyDecoder& decoder, Held& held, int evdev, bool num_lock = true) {
  if (int sided = SidedModifierOfEvdev(evdev)) held.keys.insert(sided);
  std::optional<RawKeyInput> raw = RawKeyFromEvdev(evdev, false, num_lock);
  EXPECT_TRUE(raw.has_value()) << "evdev " << evdev;
  return raw ? decoder.Decode(*raw) : KeyEvent{};
}

KeyEvent Release(KeyDecoder& decoder, Held& held, int evdev, bool num_lock = true) {
  if (int sided = SidedModifierOfEvdev(evdev)) held.keys.erase(sided);
  std::optional<RawKeyInput> raw = RawKeyFromEvdev(evdev, true, num_lock);
  return raw ? decoder.Decode(*raw) : KeyEvent{};
}

class KeyScanCodesTest : public ::testing::Test {
 protected:
  Held held_;
  KeyDecoder decoder_{[this](int vk) { return held_.keys.count(vk) > 0; }};
};

TEST_F(KeyScanCodesTest, EveryPhysicalKeyOfTheUsageTableStoresItsPositionsUsage) {
  // evdev key code -> keyboard page usage of that key position.
  const std::pair<int, int> kPositions[] = {
      {30, 4},  {48, 5},  {46, 6},  {32, 7},  {18, 8},  {33, 9},  {34, 10}, {35, 11},
      {23, 12}, {36, 13}, {37, 14}, {38, 15}, {50, 16}, {49, 17}, {24, 18}, {25, 19},
      {16, 20}, {19, 21}, {31, 22}, {20, 23}, {22, 24}, {47, 25}, {17, 26}, {45, 27},
      {21, 28}, {44, 29},  // A..Z
      {2, 30},  {3, 31},  {4, 32},  {5, 33},  {6, 34},  {7, 35},  {8, 36},  {9, 37},
      {10, 38}, {11, 39},  // 1..0
      {28, 40}, {1, 41},  {14, 42}, {15, 43}, {57, 44}, {12, 45}, {13, 46}, {26, 47},
      {27, 48}, {43, 49}, {39, 51}, {40, 52}, {41, 53}, {51, 54}, {52, 55}, {53, 56},
      {58, 57},
      {59, 58}, {60, 59}, {61, 60}, {62, 61}, {63, 62}, {64, 63}, {65, 64}, {66, 65},
      {67, 66}, {68, 67}, {87, 68}, {88, 69},  // F1..F12
      {99, 70}, {70, 71}, {119, 72},
      {110, 73}, {102, 74}, {104, 75}, {111, 76}, {107, 77}, {109, 78},
      {106, 79}, {105, 80}, {108, 81}, {103, 82},
      {69, 83}, {98, 84}, {55, 85}, {74, 86}, {78, 87}, {96, 88},
      {79, 89}, {80, 90}, {81, 91}, {75, 92}, {76, 93}, {77, 94}, {71, 95}, {72, 96},
      {73, 97}, {82, 98}, {83, 99},  // keypad 1..9, 0, .
      {86, 100}, {127, 101},
      {183, 104}, {184, 105}, {185, 106}, {186, 107}, {187, 108}, {188, 109},
      {189, 110}, {190, 111}, {191, 112}, {192, 113}, {193, 114}, {194, 115},  // F13..F24
      {29, 224}, {42, 225}, {56, 226}, {125, 227}, {97, 228}, {54, 229}, {100, 230},
      {126, 231},
  };
  for (bool num_lock : {true, false}) {
    for (const auto& [evdev, usage] : kPositions) {
      KeyEvent event = Press(decoder_, held_, evdev, num_lock);
      EXPECT_EQ(event.kind, kKeyEventKeyboard);
      EXPECT_FALSE(event.name.empty()) << "evdev " << evdev;
      EXPECT_EQ(VkToHidUsage(event.code), usage)
          << "evdev " << evdev << " num lock " << num_lock << " code " << event.code;
      Release(decoder_, held_, evdev, num_lock);
    }
    EXPECT_EQ(decoder_.ModifierState(), 0);
  }
}

TEST_F(KeyScanCodesTest, KeypadAndNamedKeysDecodeAsTheWindowShowsThem) {
  // Keypad 8 with Num Lock off: the keypad's code, the navigation key's name.
  KeyEvent up = Press(decoder_, held_, 72, false);
  EXPECT_EQ(up.code, 104);
  EXPECT_EQ(up.name, "Up");
  EXPECT_EQ(VkToHidUsage(up.code), 0x60);
  KeyEvent enter = Press(decoder_, held_, 96);
  EXPECT_EQ(enter.code, 108);
  EXPECT_EQ(enter.name, "Num Enter");
  EXPECT_EQ(Press(decoder_, held_, 28).code, 13);  // the main Enter stays Enter
  // The main block's arrows carry the prefix and keep their own code.
  EXPECT_EQ(Press(decoder_, held_, 103).code, 38);
  EXPECT_EQ(Press(decoder_, held_, 125).name, "Windows");
  EXPECT_EQ(Press(decoder_, held_, 126).name, "RWindows");
  EXPECT_EQ(Press(decoder_, held_, 99).name, "Print Screen");
  EXPECT_EQ(Press(decoder_, held_, 119).name, "Pause");
  KeyEvent yen = Press(decoder_, held_, 124);
  EXPECT_EQ(yen.code, 137);
  EXPECT_EQ(yen.name, "￥");
  // A browser key has a code but no usage; a key without any code is not reported.
  EXPECT_EQ(VkToHidUsage(Press(decoder_, held_, 158).code), 0);
  EXPECT_FALSE(RawKeyFromEvdev(116, false, true).has_value());  // power
}

TEST_F(KeyScanCodesTest, ModifiersKeepTheirSideThroughOverlappingPresses) {
  // Right Shift down, left Shift down, right Shift up, left Shift up.
  EXPECT_EQ(Press(decoder_, held_, 54).code, 161);
  EXPECT_EQ(Press(decoder_, held_, 42).code, 160);
  EXPECT_EQ(decoder_.ModifierState(), 2 | 32);
  EXPECT_EQ(Release(decoder_, held_, 54).code, 161);
  EXPECT_EQ(decoder_.ModifierState(), 2);
  EXPECT_EQ(Release(decoder_, held_, 42).code, 160);
  // Ctrl+Alt+A as the keyboard panel sees it.
  EXPECT_EQ(Press(decoder_, held_, 29).name, "Ctrl");
  EXPECT_EQ(Press(decoder_, held_, 100).name, "RAlt");
  EXPECT_EQ(decoder_.ModifierState(), 1 | 64);
}

TEST(KeyScanCodes, KeysWithoutAPhysicalCodeFindTheirFirstKey) {
  EXPECT_EQ(EvdevForVirtualKey('A'), 30);
  EXPECT_EQ(EvdevForVirtualKey(16), 42);   // left Shift before right
  EXPECT_EQ(EvdevForVirtualKey(13), 28);   // main Enter before the keypad's
  EXPECT_EQ(EvdevForVirtualKey(104), 72);  // keypad 8 by its Num Lock code
  EXPECT_EQ(EvdevForVirtualKey(0), 0);
  EXPECT_EQ(EvdevForKeypadKey(104), 72);
  EXPECT_EQ(EvdevForKeypadKey(38), 72);
  EXPECT_EQ(EvdevForKeypadKey(13), 96);
  EXPECT_EQ(EvdevForKeypadKey('A'), 0);
}

}  // namespace
}  // namespace corvane::test
