// QSystemTrayIcon with the program's two actions.
#include "ui/tray_icon.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

namespace corvane::ui {

TrayIcon::TrayIcon(std::function<void()> on_show, std::function<void()> on_exit)
    : on_show_(std::move(on_show)), on_exit_(std::move(on_exit)) {}

TrayIcon::~TrayIcon() { Remove(); }

bool TrayIcon::Available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool TrayIcon::Add(const QIcon& icon, const std::string& tooltip, const std::string& exit_text) {
  if (icon_ || !Available()) return IsShown();
  menu_ = std::make_unique<QMenu>();
  QAction* exit = menu_->addAction(QString::fromStdString(exit_text));
  QObject::connect(exit, &QAction::triggered, [this] {
    if (on_exit_) on_exit_();
  });
  icon_ = std::make_unique<QSystemTrayIcon>(icon);
  icon_->setToolTip(QString::fromStdString(tooltip));
  icon_->setContextMenu(menu_.get());
  QObject::connect(
      icon_.get(), &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason reason) {
        if ((reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) &&
            on_show_) {
          on_show_();
        }
      });
  icon_->show();
  return true;
}

void TrayIcon::Remove() {
  if (!icon_) return;
  icon_->hide();
  icon_.reset();
  about_ = nullptr;
  menu_.reset();
}

bool TrayIcon::IsShown() const { return icon_ && icon_->isVisible(); }

void TrayIcon::SetAboutEntry(const std::string& text, std::function<void()> on_about) {
  if (!menu_) return;
  if (about_ == nullptr) {
    about_ = menu_->addAction(QString());
    QObject::connect(about_, &QAction::triggered, [on_about] { on_about(); });
  }
  about_->setText(QString::fromStdString(text));
}

void TrayIcon::SetExitText(const std::string& text) {
  if (menu_ && !menu_->actions().isEmpty()) {
    menu_->actions().first()->setText(QString::fromStdString(text));
  }
}

}  // namespace corvane::ui
