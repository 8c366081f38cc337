// Turns one raw keyboard report into a KeyEvent: sided modifier codes, keypad codes
// with Num Lock off, and display names. Keeps the modifier state word across events.
// Platform input (Qt events) is mapped onto RawKeyInput by the UI.
#pragma once

#include <functional>
#include <utility>
#include <string>

namespace corvane {

// Kinds of decoded input.
inline constexpr int kKeyEventKeyboard = 2;
inline constexpr int kKeyEventOtherHid = 3;

// Source of a raw input report.
enum class RawInputSource { kMouse, kKeyboard, kHid };

// The keyboard part of a raw input report.
struct RawKeyInput {
  RawInputSource source = RawInputSource::kKeyboard;
  int vkey = 0;
  int message = 0;  // 256/260 down, 257/261 up
  int make_code = 0;
  int flags = 0;  // bit 1 E0, bit 2 E1
};

struct KeyEvent {
  int kind = 0;      // 2 keyboard, 3 other HID, else not decoded
  int released = 0;  // 0 pressed, 1 released
  int code = 0;      // virtual-key code after the side and keypad adjustments
  std::string name;  // empty: the event is dropped by every consumer
};

class KeyDecoder {
 public:
  // Answers whether a virtual key is down right now (the asynchronous key state).
  using KeyIsDown = std::function<bool(int vk)>;

  explicit KeyDecoder(KeyIsDown key_is_down);

  // Decodes one report; kind 0 (mouse) or 3 (HID) carry no key.
  KeyEvent Decode(const RawKeyInput& input);

  // Modifier bits currently believed down (HID modifier layout).
  int ModifierState() const { return modifiers_; }

 private:
  int Pressed(int vk);
  int Released(int vk);

  KeyIsDown key_is_down_;
  int modifiers_ = 0;
};

}  // namespace corvane
