// Hands the keyboard back to the control that had it once a dialog or a pop-up list has
// closed. A window manager gives it back to the window below; without one it stays nowhere,
// and Tab, the arrows and Enter do nothing until the window is clicked.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace corvane::DUI {

class KeyboardReturn {
 public:
  KeyboardReturn() : focused_(QApplication::focusWidget()) {}
  KeyboardReturn(const KeyboardReturn&) = delete;
  KeyboardReturn& operator=(const KeyboardReturn&) = delete;

  // Unless another control took it meanwhile: the keyboard is nowhere, or still on a
  // hidden control of what just closed.
  ~KeyboardReturn() {
    const QWidget* now = QApplication::focusWidget();
    if (focused_ == nullptr || !focused_->isVisible()) return;
    if (now != nullptr && now->isVisible()) return;
    focused_->window()->activateWindow();
    focused_->setFocus(Qt::PopupFocusReason);
  }

 private:
  QPointer<QWidget> focused_;
};

}  // namespace corvane::DUI
