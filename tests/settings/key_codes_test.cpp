// Key code conversions and raw keyboard decoding.
#include <gtest/gtest.h>

#include <set>

#include "settings/key_capture.h"
#include "protocol/key_codes.h"
#include "settings/key_decoder.h"

namespace corvane {
namespace {

TEST(KeyCodesTest, VkToHidUsageFollowsTheKeyboardPage) {
  EXPECT_EQ(VkToHidUsage('A'), 4);
  EXPECT_EQ(VkToHidUsage('Z'), 29);
  EXPECT_EQ(VkToHidUsage('1'), 30);
  EXPECT_EQ(VkToHidUsage('9'), 38);
  EXPECT_EQ(VkToHidUsage('0'), 39);
  EXPECT_EQ(VkToHidUsage(13), 40);
  EXPECT_EQ(VkToHidUsage(108), 88);  // keypad Enter
  EXPECT_EQ(VkToHidUsage(112), 58);  // F1
  EXPECT_EQ(VkToHidUsage(123), 69);  // F12
  EXPECT_EQ(VkToHidUsage(124), 104);  // F13
  EXPECT_EQ(VkToHidUsage(135), 115);  // F24
  EXPECT_EQ(VkToHidUsage(137), 137);
  EXPECT_EQ(VkToHidUsage(97), 89);   // keypad 1
  EXPECT_EQ(VkToHidUsage(105), 97);  // keypad 9
  EXPECT_EQ(VkToHidUsage(96), 98);
  EXPECT_EQ(VkToHidUsage(110), 99);
  EXPECT_EQ(VkToHidUsage(666), 50);
  EXPECT_EQ(VkToHidUsage(254), 175);
  EXPECT_EQ(VkToHidUsage(301), 236);
  EXPECT_EQ(VkToHidUsage(302), 235);
  EXPECT_EQ(VkToHidUsage(166), 0);  // browser back has no keyboard usage
  EXPECT_EQ(VkToHidUsage(0), 0);
  EXPECT_EQ(VkToHidUsage(-5), 0);
}

TEST(KeyCodesTest, ModifiersMapToUsagesAndBits) {
  const int vks[] = {162, 160, 164, 91, 163, 161, 165, 92};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(VkToHidUsage(vks[i]), 224 + i);
    EXPECT_EQ(VkModifierBit(vks[i]), 1 << i);
    EXPECT_EQ(UsageModifierBit(224 + i), 1 << i);
    // Each kind of number has its own modifiers: usages 224..231 are ordinary virtual
    // keys (226 is the ISO backslash key), and the Windows keys' codes are keypad usages.
    EXPECT_EQ(VkModifierBit(224 + i), 0);
  }
  EXPECT_EQ(UsageModifierBit(91), 0);
  EXPECT_EQ(UsageModifierBit(92), 0);
  for (int other : {0, 4, 93, 166, 167}) {
    EXPECT_EQ(VkModifierBit(other), 0) << other;
    EXPECT_EQ(UsageModifierBit(other), 0) << other;
  }
}

TEST(KeyCodesTest, EveryUsageComesFromOneKeyOnly) {
  std::set<int> seen;
  for (int vk = 0; vk < 700; ++vk) {
    const int usage = VkToHidUsage(vk);
    if (usage == 0) continue;
    EXPECT_TRUE(seen.insert(usage).second) << "usage " << usage << " again at vk " << vk;
  }
}

TEST(KeyCodesTest, NamesAreThoseWindowsShows) {
  EXPECT_EQ(VkKeyName('A'), "A");
  EXPECT_EQ(VkKeyName('7'), "7");
  EXPECT_EQ(VkKeyName(112), "F1");
  EXPECT_EQ(VkKeyName(135), "F24");
  EXPECT_EQ(VkKeyName(91), "Windows");
  EXPECT_EQ(VkKeyName(92), "RWindows");
  EXPECT_EQ(VkKeyName(161), "RShift");
  EXPECT_EQ(VkKeyName(44), "Print Screen");
  EXPECT_EQ(VkKeyName(104), "Num 8");
  EXPECT_EQ(VkKeyName(38), "Up");
  EXPECT_EQ(VkKeyName(0), "");
}

// A keyboard whose live state the test sets.
struct FakeKeys {
  std::set<int> down;
  KeyDecoder::KeyIsDown Query() {
    return [this](int vk) { return down.count(vk) > 0; };
  }
};

RawKeyInput Key(int vk, bool pressed, int flags = 0, int make = 0) {
  return RawKeyInput{RawInputSource::kKeyboard, vk, pressed ? 256 : 257, make, flags};
}

TEST(KeyDecoderTest, GenericModifiersResolveToTheirSide) {
  FakeKeys keys;
  KeyDecoder decoder(keys.Query());
  keys.down = {161};
  KeyEvent e = decoder.Decode(Key(16, true));
  EXPECT_EQ(e.kind, kKeyEventKeyboard);
  EXPECT_EQ(e.code, 161);
  EXPECT_EQ(e.name, "RShift");
  EXPECT_EQ(decoder.ModifierState(), 32);
  keys.down = {160, 161};
  EXPECT_EQ(decoder.Decode(Key(16, true)).code, 160);
  EXPECT_EQ(decoder.ModifierState(), 34);
  // Left released while right is still held: the remembered left bit decides.
  keys.down = {161};
  e = decoder.Decode(Key(16, false));
  EXPECT_EQ(e.released, 1);
  EXPECT_EQ(e.code, 160);
  EXPECT_EQ(decoder.ModifierState(), 32);
  keys.down = {};
  EXPECT_EQ(decoder.Decode(Key(16, false)).code, 161);
  EXPECT_EQ(decoder.ModifierState(), 0);
  // Neither side reported down: the generic code stays.
  EXPECT_EQ(decoder.Decode(Key(17, true)).code, 17);
}

TEST(KeyDecoderTest, WindowsKeysAndSystemMessages) {
  FakeKeys keys;
  KeyDecoder decoder(keys.Query());
  keys.down = {92};
  KeyEvent e = decoder.Decode(RawKeyInput{RawInputSource::kKeyboard, 91, 260, 0, 2});
  EXPECT_EQ(e.code, 92);
  EXPECT_EQ(e.name, "RWindows");
  keys.down = {};
  e = decoder.Decode(RawKeyInput{RawInputSource::kKeyboard, 91, 261, 0, 2});
  EXPECT_EQ(e.released, 1);
  EXPECT_EQ(e.code, 91);  // the win bit was set and the left key is up
  EXPECT_EQ(decoder.ModifierState(), 0);
  keys.down = {91};
  EXPECT_EQ(decoder.Decode(Key(91, true, 2)).name, "Windows");
}

TEST(KeyDecoderTest, KeypadKeysWithNumLockOff) {
  FakeKeys keys;
  KeyDecoder decoder(keys.Query());
  KeyEvent e = decoder.Decode(Key(38, true, 0));  // keypad 8, no E0
  EXPECT_EQ(e.code, 104);
  EXPECT_EQ(e.name, "Up");
  e = decoder.Decode(Key(38, true, 2));  // arrow key, E0
  EXPECT_EQ(e.code, 38);
  e = decoder.Decode(Key(13, true, 2));
  EXPECT_EQ(e.code, 108);
  EXPECT_EQ(e.name, "Num Enter");
  EXPECT_EQ(VkToHidUsage(e.code), 88);
  e = decoder.Decode(Key(13, true, 0));
  EXPECT_EQ(e.code, 13);
  EXPECT_EQ(VkToHidUsage(e.code), 40);
  e = decoder.Decode(Key(255, true, 0, 125));
  EXPECT_EQ(e.code, 137);
  EXPECT_EQ(e.name, "\xEF\xBF\xA5");
}

TEST(KeyDecoderTest, NonKeyboardSources) {
  FakeKeys keys;
  KeyDecoder decoder(keys.Query());
  EXPECT_EQ(decoder.Decode(RawKeyInput{RawInputSource::kMouse, 65, 256, 0, 0}).kind, 0);
  const KeyEvent hid = decoder.Decode(RawKeyInput{RawInputSource::kHid, 65, 256, 0, 0});
  EXPECT_EQ(hid.kind, kKeyEventOtherHid);
  EXPECT_TRUE(hid.name.empty());
  EXPECT_TRUE(decoder.Decode(Key(166, true, 2)).name.empty());  // unnamed: dropped
}

TEST(KeyCaptureTest, RoutesEventsByMode) {
  KeyCapture capture;
  const KeyEvent a{kKeyEventKeyboard, 0, 'A', "A"};
  const KeyEvent left_shift{kKeyEventKeyboard, 0, 160, "Shift"};
  const KeyEvent win{kKeyEventKeyboard, 0, 91, "Windows"};
  EXPECT_EQ(capture.Dispatch(a), CaptureMode::kNone);  // no capture running

  capture.Start(CaptureMode::kKeyboardPanel);
  EXPECT_EQ(capture.Dispatch(left_shift), CaptureMode::kNone);
  EXPECT_EQ(capture.CapturedCode(), 0);
  EXPECT_EQ(capture.Dispatch(win), CaptureMode::kKeyboardPanel);
  EXPECT_EQ(capture.CapturedCode(), 91);
  EXPECT_EQ(capture.CapturedName(), "Windows");
  EXPECT_EQ(capture.Dispatch(KeyEvent{kKeyEventKeyboard, 0, 166, ""}), CaptureMode::kNone);
  capture.End();
  EXPECT_EQ(capture.Dispatch(a), CaptureMode::kNone);
  EXPECT_EQ(capture.CapturedCode(), 91);

  capture.Start(CaptureMode::kMacroEditorKey);
  EXPECT_EQ(capture.CapturedCode(), 0);  // a new capture clears the key
  EXPECT_EQ(capture.Dispatch(left_shift), CaptureMode::kMacroEditorKey);
  EXPECT_EQ(capture.CapturedCode(), 160);

  capture.Start(CaptureMode::kRecording);
  EXPECT_EQ(capture.Dispatch(a), CaptureMode::kRecording);
  EXPECT_EQ(capture.CapturedCode(), 0);
}

}  // namespace
}  // namespace corvane
