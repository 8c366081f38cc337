// Raw keyboard report decoding. Generic Shift/Ctrl/Alt are resolved to their sides
// from the live key state when pressed and from the remembered bits when released,
// because by release time the live state no longer says which side went up.
#include "settings/key_decoder.h"

#include "protocol/key_codes.h"

namespace corvane {
namespace {

constexpr int kWmKeyDown = 256;
constexpr int kWmKeyUp = 257;
constexpr int kWmSysKeyDown = 260;
constexpr int kWmSysKeyUp = 261;
constexpr int kFlagsExtendedMin = 2;  // RI_KEY_E0 or RI_KEY_E1
constexpr int kWinBit = 8;

struct SidedModifier {
  int generic, left, right, left_bit, right_bit;
};
constexpr SidedModifier kSided[] = {
    {kVkShift, kVkLeftShift, kVkRightShift, 2, 32},
    {kVkControl, kVkLeftControl, kVkRightControl, 1, 16},
    {kVkMenu, kVkLeftMenu, kVkRightMenu, 4, 64},
};

// Bit of a sided Shift/Ctrl/Alt code or a Windows key, 0 for others.
int SidedBit(int vk) {
  for (const auto& m : kSided) {
    if (vk == m.left) return m.left_bit;
    if (vk == m.right) return m.right_bit;
  }
  return (vk == kVkLeftWin || vk == kVkRightWin) ? kWinBit : 0;
}

// Navigation keys report keypad codes when they come from the keypad (no E0 prefix).
int KeypadCode(int vk) {
  constexpr std::pair<int, int> kKeypad[] = {{12, 101}, {33, 105}, {34, 99}, {35, 97},
                                             {36, 103}, {37, 100}, {38, 104}, {39, 102},
                                             {40, 98},  {45, 96},  {46, 110}};
  for (const auto& [from, to] : kKeypad) {
    if (from == vk) return to;
  }
  return vk;
}

}  // namespace

KeyDecoder::KeyDecoder(KeyIsDown key_is_down) : key_is_down_(std::move(key_is_down)) {}

int KeyDecoder::Pressed(int vk) {
  for (const auto& m : kSided) {
    if (vk != m.generic) continue;
    if (key_is_down_(m.left)) {
      modifiers_ |= m.left_bit;
      return m.left;
    }
    if (key_is_down_(m.right)) {
      modifiers_ |= m.right_bit;
      return m.right;
    }
    return vk;
  }
  if (vk == kVkLeftWin) {
    modifiers_ |= kWinBit;
    return (!key_is_down_(kVkLeftWin) && key_is_down_(kVkRightWin)) ? kVkRightWin : vk;
  }
  modifiers_ |= SidedBit(vk);
  return vk;
}

int KeyDecoder::Released(int vk) {
  for (const auto& m : kSided) {
    if (vk != m.generic) continue;
    if ((modifiers_ & m.left_bit) && !key_is_down_(m.left)) {
      modifiers_ &= ~m.left_bit;
      return m.left;
    }
    modifiers_ &= ~m.right_bit;
    return m.right;
  }
  if (vk == kVkLeftWin) {
    const bool left_went_up = (modifiers_ & kWinBit) && !key_is_down_(kVkLeftWin);
    modifiers_ &= ~kWinBit;
    return left_went_up ? vk : kVkRightWin;
  }
  modifiers_ &= ~SidedBit(vk);
  return vk;
}

KeyEvent KeyDecoder::Decode(const RawKeyInput& input) {
  KeyEvent event;
  if (input.source == RawInputSource::kMouse) return event;
  if (input.source == RawInputSource::kHid) {
    event.kind = kKeyEventOtherHid;
    return event;
  }
  event.kind = kKeyEventKeyboard;
  int code = input.vkey;
  if (input.message == kWmKeyDown || input.message == kWmSysKeyDown) {
    code = Pressed(code);
  } else if (input.message == kWmKeyUp || input.message == kWmSysKeyUp) {
    event.released = 1;
    code = Released(code);
  }
  event.name = VkKeyName(code);
  if (input.flags < kFlagsExtendedMin) {
    code = KeypadCode(code);
  } else if (code == 13) {
    code = 108;
    event.name = VkKeyName(code);
  }
  if (code == 255 && input.make_code == 125) {
    code = 137;
    event.name = VkKeyName(code);
  }
  event.code = code;
  return event;
}

}  // namespace corvane
