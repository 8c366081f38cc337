// Pop-up menus.
#include "ui/dui/menu_wnd.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include "ui/dui/keyboard_return.h"

namespace corvane::DUI {
namespace {

// Closes the menu on a mouse press anywhere else, as a pop-up does.
class OutsideClick : public QObject {
 public:
  explicit OutsideClick(QMenu& menu) : menu_(menu) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() != &menu_) {
      menu_.close();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QMenu& menu_;
};

}  // namespace

void MenuWnd::AddItem(int command, const std::string& text) {
  if (command > 0) items_.push_back(Item{command, text});
}

int MenuWnd::TrackPopup(const QPoint& global) const {
  if (items_.empty()) return 0;
  QMenu menu(owner_);
  // A tool window rather than a pop-up: assistive tools list pop-up windows nowhere, so
  // the menu and its items could not be found. Closing on a click elsewhere is done here.
  menu.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  menu.setWindowTitle(kWindowName);
  menu.setObjectName(kWindowName);
  menu.setAccessibleName(QString::fromStdString(name_));
  for (const Item& item : items_) {
    menu.addAction(QString::fromStdString(item.text))->setData(item.command);
  }
  // An item triggered without the mouse (keyboard, assistive tools) ends the menu too.
  const QAction* triggered = nullptr;
  QObject::connect(&menu, &QMenu::triggered, &menu, [&menu, &triggered](QAction* action) {
    triggered = action;
    menu.close();
  });
  OutsideClick outside(menu);
  qApp->installEventFilter(&outside);
  // A tool window is not given the keyboard as a pop-up is: take it, so that arrows,
  // Enter and Escape work on a menu opened with the Menu key.
  QTimer::singleShot(0, &menu, [&menu] {
    menu.activateWindow();
    menu.setFocus(Qt::PopupFocusReason);
  });
  const KeyboardReturn keyboard_return;
  const QAction* chosen = menu.exec(global);
  qApp->removeEventFilter(&outside);
  if (chosen == nullptr) chosen = triggered;
  return chosen != nullptr ? chosen->data().toInt() : 0;
}

}  // namespace corvane::DUI
