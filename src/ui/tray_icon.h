// The notification-area icon: the caption as tooltip, a left click shows the window and
// the context menu holds the exit entry. Absent when the desktop has no tray host.
#pragma once

#include <QIcon>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace corvane::ui {

class TrayIcon {
 public:
  // `on_show` runs for a left click or double click, `on_exit` for the menu's exit entry.
  TrayIcon(std::function<void()> on_show, std::function<void()> on_exit);
  ~TrayIcon();

  // Adds the icon when a tray host exists. Returns whether the icon is shown.
  bool Add(const QIcon& icon, const std::string& tooltip, const std::string& exit_text);
  // Takes the icon away (no-op when it is not there).
  void Remove();
  // True while the icon is shown.
  bool IsShown() const;
  // Re-labels the exit entry.
  void SetExitText(const std::string& text);
  // Adds (or re-labels) the about entry after the exit entry; null menu: nothing.
  void SetAboutEntry(const std::string& text, std::function<void()> on_about);
  // True when the desktop offers a tray.
  static bool Available();
  // Replaces the tooltip (no-op without the icon).
  void SetToolTip(const std::string& tooltip);
  // Shows the icon with the low-battery mark, or the plain one again.
  void SetLowBattery(bool low);
  bool LowBattery() const { return low_battery_; }
  // The icon with the low-battery mark drawn into its corner.
  static QIcon LowBatteryIcon(const QIcon& icon);

 private:
  std::function<void()> on_show_;
  std::function<void()> on_exit_;
  std::unique_ptr<QMenu> menu_;
  QAction* about_ = nullptr;
  std::unique_ptr<QSystemTrayIcon> icon_;
  QIcon plain_;
  bool low_battery_ = false;
};

}  // namespace corvane::ui
