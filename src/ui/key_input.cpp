#include "ui/key_input.h"

#include <QKeyEvent>

#include "settings/key_scan_codes.h"

namespace corvane::ui {
namespace {

// Virtual-key codes of Qt keys, for events that carry no physical key (synthetic events,
// platforms without native scan codes). Letters and digits are their own code.
struct QtKeyCode {
  int qt;
  int vk;
};

constexpr QtKeyCode kQtKeys[] = {
    {Qt::Key_Escape, 27},      {Qt::Key_Tab, 9},           {Qt::Key_Backtab, 9},
    {Qt::Key_Backspace, 8},    {Qt::Key_Return, 13},       {Qt::Key_Enter, 13},
    {Qt::Key_Insert, 45},      {Qt::Key_Delete, 46},       {Qt::Key_Pause, 19},
    {Qt::Key_Print, 44},       {Qt::Key_Home, 36},         {Qt::Key_End, 35},
    {Qt::Key_Left, 37},        {Qt::Key_Up, 38},           {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},        {Qt::Key_PageUp, 33},       {Qt::Key_PageDown, 34},
    {Qt::Key_Shift, 16},       {Qt::Key_Control, 17},      {Qt::Key_Alt, 18},
    {Qt::Key_Meta, 91},        {Qt::Key_CapsLock, 20},     {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145}, {Qt::Key_Menu, 93},         {Qt::Key_Space, 32},
    {Qt::Key_Minus, 189},      {Qt::Key_Equal, 187},       {Qt::Key_BracketLeft, 219},
    {Qt::Key_BracketRight, 221}, {Qt::Key_Backslash, 220}, {Qt::Key_Semicolon, 186},
    {Qt::Key_Apostrophe, 222}, {Qt::Key_QuoteLeft, 192},   {Qt::Key_Comma, 188},
    {Qt::Key_Period, 190},     {Qt::Key_Slash, 191},
};

int VirtualKeyOfQtKey(int key) {
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
    return key;
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
  for (const QtKeyCode& entry : kQtKeys) {
    if (entry.qt == key) return entry.vk;
  }
  return 0;
}

// The evdev key of an event: its native scan code when it has one, else the physical key
// of its Qt key (on the keypad when Qt says it came from there).
int EvdevOf(const QKeyEvent& event) {
  const int native = static_cast<int>(event.nativeScanCode());
  if (native > kX11KeycodeOffset) return native - kX11KeycodeOffset;
  const int vk = VirtualKeyOfQtKey(event.key());
  if (vk == 0) return 0;
  if (event.modifiers().testFlag(Qt::KeypadModifier)) {
    const int digit = vk >= '0' && vk <= '9' ? 96 + (vk - '0') : vk;
    if (const int keypad = EvdevForKeypadKey(vk == 190 ? 110 : digit)) return keypad;
  }
  return EvdevForVirtualKey(vk);
}

// Num Lock is on when a keypad digit key arrives as a digit rather than a navigation key.
bool NumLockOf(const QKeyEvent& event) {
  const int key = event.key();
  return (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Period ||
         key == Qt::Key_Comma;
}

}  // namespace

KeyInput::KeyInput() : decoder_([this](int vk) { return held_.count(vk) > 0; }) {}

KeyEvent KeyInput::Decode(const QKeyEvent& event) {
  return DecodeEvdev(EvdevOf(event), event.type() == QEvent::KeyRelease, NumLockOf(event));
}

KeyEvent KeyInput::DecodeEvdev(int evdev_code, bool released, bool num_lock) {
  const std::optional<RawKeyInput> raw = RawKeyFromEvdev(evdev_code, released, num_lock);
  if (!raw) return KeyEvent{kKeyEventKeyboard, released ? 1 : 0, 0, {}};
  // The held set changes first: the decoder asks it which side went down or came up.
  if (const int sided = SidedModifierOfEvdev(evdev_code)) {
    if (released) {
      held_.erase(sided);
    } else {
      held_.insert(sided);
    }
  }
  return decoder_.Decode(*raw);
}

KeyInput& SharedKeyInput() {
  static KeyInput input;
  return input;
}

bool MovesFocus(const QKeyEvent& event) {
  return event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab;
}

}  // namespace corvane::ui
