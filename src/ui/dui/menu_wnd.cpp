// Pop-up menus.
#include "ui/dui/menu_wnd.h"

#include <QMenu>

namespace corvane::DUI {

void MenuWnd::AddItem(int command, const std::string& text) {
  if (command > 0) items_.push_back(Item{command, text});
}

int MenuWnd::TrackPopup(const QPoint& global) const {
  if (items_.empty()) return 0;
  QMenu menu(owner_);
  menu.setWindowTitle(kWindowName);
  menu.setObjectName(kWindowName);
  menu.setAccessibleName(kWindowName);
  for (const Item& item : items_) {
    menu.addAction(QString::fromStdString(item.text))->setData(item.command);
  }
  // An item triggered without the mouse (keyboard, assistive tools) ends the menu too.
  const QAction* triggered = nullptr;
  QObject::connect(&menu, &QMenu::triggered, &menu, [&menu, &triggered](QAction* action) {
    triggered = action;
    menu.close();
  });
  const QAction* chosen = menu.exec(global);
  if (chosen == nullptr) chosen = triggered;
  return chosen != nullptr ? chosen->data().toInt() : 0;
}

}  // namespace corvane::DUI
