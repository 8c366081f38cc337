// Key events of the window for the pages' key capture.
#include "ui/pages/page_keys.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace corvane::ui {
namespace {

// X11 key codes of the right-hand modifiers (evdev code + 8).
constexpr quint32 kRightShift = 62, kRightCtrl = 105, kRightAlt = 108;

int VirtualKey(const QKeyEvent& event) {
  const int key = event.key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
  const quint32 scan = event.nativeScanCode();
  switch (key) {
    case Qt::Key_Shift: return scan == kRightShift ? 161 : 160;
    case Qt::Key_Control: return scan == kRightCtrl ? 163 : 162;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return scan == kRightAlt || key == Qt::Key_AltGr ? 165 : 164;
    case Qt::Key_Meta:
    case Qt::Key_Super_L: return 91;
    case Qt::Key_Super_R: return 92;
    case Qt::Key_Return: return 13;
    case Qt::Key_Enter: return 108;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Space: return 32;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Home: return 36;
    case Qt::Key_End: return 35;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    default: return 0;
  }
}

std::string KeyName(int vk, const QKeyEvent& event) {
  switch (vk) {
    case 160: return "Shift";
    case 161: return "RShift";
    case 162: return "Ctrl";
    case 163: return "RCtrl";
    case 164: return "Alt";
    case 165: return "RAlt";
    case 91: return "Windows";
    case 92: return "RWindows";
    case 108: return "Num Enter";
    default: return QKeySequence(event.key()).toString(QKeySequence::NativeText).toStdString();
  }
}

}  // namespace

KeyEvent DecodePageKey(const QKeyEvent& event) {
  KeyEvent decoded;
  const int vk = VirtualKey(event);
  if (vk == 0) return decoded;
  decoded.kind = kKeyEventKeyboard;
  decoded.released = event.type() == QEvent::KeyRelease ? 1 : 0;
  decoded.code = vk;
  decoded.name = KeyName(vk, event);
  return decoded;
}

}  // namespace corvane::ui
