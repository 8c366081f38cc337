// QSystemTrayIcon with the program's two actions.
#include "ui/tray_icon.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace corvane::ui {
namespace {

constexpr int kMarkIconSize = 64;
constexpr int kMarkDiameter = 30;
const QColor kLowBatteryColour(0xE0, 0x20, 0x20);

}  // namespace

TrayIcon::TrayIcon(std::function<void()> on_show, std::function<void()> on_exit)
    : on_show_(std::move(on_show)), on_exit_(std::move(on_exit)) {}

TrayIcon::~TrayIcon() { Remove(); }

bool TrayIcon::Available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool TrayIcon::Add(const QIcon& icon, const std::string& tooltip, const std::string& exit_text) {
  if (icon_ || !Available()) return IsShown();
  plain_ = icon;
  menu_ = std::make_unique<QMenu>();
  QAction* exit = menu_->addAction(QString::fromStdString(exit_text));
  QObject::connect(exit, &QAction::triggered, [this] {
    if (on_exit_) on_exit_();
  });
  icon_ = std::make_unique<QSystemTrayIcon>(low_battery_ ? LowBatteryIcon(icon) : icon);
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

namespace corvane::ui {

void TrayIcon::SetToolTip(const std::string& tooltip) {
  if (icon_) icon_->setToolTip(QString::fromStdString(tooltip));
}

void TrayIcon::SetLowBattery(bool low) {
  if (low == low_battery_) return;
  low_battery_ = low;
  if (icon_) icon_->setIcon(low ? LowBatteryIcon(plain_) : plain_);
}

QIcon TrayIcon::LowBatteryIcon(const QIcon& icon) {
  QPixmap pixmap = icon.isNull() ? QPixmap() : icon.pixmap(kMarkIconSize, kMarkIconSize);
  if (pixmap.isNull()) {
    pixmap = QPixmap(kMarkIconSize, kMarkIconSize);
    pixmap.fill(Qt::transparent);
  }
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(kLowBatteryColour);
  const int edge = pixmap.width();
  painter.drawEllipse(edge - kMarkDiameter, pixmap.height() - kMarkDiameter, kMarkDiameter,
                      kMarkDiameter);
  painter.end();
  return QIcon(pixmap);
}

}  // namespace corvane::ui
