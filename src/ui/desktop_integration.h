// The window's part of the desktop: battery warnings as notifications, the battery in
// the tray's tooltip and icon, and the session-bus interface. Follows the mouse through
// the reports the worker sends the window and through the tasks it finishes.
#pragma once

#include <QObject>
#include <memory>
#include <optional>
#include <string>

#include "base/device_values.h"
#include "settings/battery_warnings.h"
#include "ui/desktop_notifier.h"
#include "worker/desktop_status.h"

namespace corvane::ui {

class DesktopBus;
class DeviceMainDlg;
class MainWindowView;

class DesktopIntegration : public QObject {
 public:
  // `window` and `view` must outlive this object, and the worker must be stopped before
  // it goes away.
  DesktopIntegration(DeviceMainDlg& window, MainWindowView& view);
  ~DesktopIntegration() override;

  // Starts following the mouse and serves the bus interface. Returns false with `error`
  // when the bus could not be served; warnings and tray work on regardless.
  bool Start(std::string& error);

  // What the bus publishes now (tests).
  const DesktopStatus& Published() const { return published_; }
  // The tray tooltip shown, also without a tray host (tests).
  const std::string& ToolTip() const { return tooltip_; }

 private:
  void OnBattery(BatteryStatus battery);
  void ScheduleRefresh();
  void Refresh();
  void UpdateTray();
  DesktopStatus Assemble() const;
  std::string ModelName() const;

  DeviceMainDlg& window_;
  MainWindowView& view_;
  std::unique_ptr<DesktopBus> bus_;
  DesktopNotifier notifier_;
  BatteryWarnings warnings_;
  // The selected mouse's latest battery reading, and the model it belongs to.
  std::optional<BatteryStatus> live_battery_;
  int battery_model_ = 0;
  DesktopStatus published_;
  std::string tooltip_;
  bool refresh_pending_ = false;
};

}  // namespace corvane::ui
