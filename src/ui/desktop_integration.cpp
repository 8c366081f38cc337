// Wiring of the battery warnings, the tray's battery and the bus interface to the window.
#include "ui/desktop_integration.h"

#include <QMetaObject>
#include <QTimer>

#include "app/text_ids.h"
#include "device/device_manager.h"
#include "ui/desktop_bus.h"
#include "ui/device_main_dlg.h"
#include "ui/dui/manager.h"
#include "ui/main_window_view.h"
#include "ui/tray_icon.h"
#include "worker/device_session.h"

namespace corvane::ui {

DesktopIntegration::DesktopIntegration(DeviceMainDlg& window, MainWindowView& view)
    : window_(window), view_(view), notifier_(DUI::Manager::GetDeviceName()) {}

DesktopIntegration::~DesktopIntegration() {
  view_.SetReportHooks({}, {});
  window_.SetRelabelHandler({});
  window_.Session().Worker().Outcomes().SetListener({});
}

bool DesktopIntegration::Start(std::string& error) {
  view_.SetReportHooks([this] { ScheduleRefresh(); },
                       [this](BatteryStatus battery) { OnBattery(battery); });
  window_.SetRelabelHandler([this] { UpdateTray(); });
  bus_ = std::make_unique<DesktopBus>(
      window_, window_.Session().Worker().Outcomes(), [this] { return Assemble(); },
      [this] { Refresh(); });
  // Worker thread: hand over to the GUI thread; dropped once this object is gone.
  window_.Session().Worker().Outcomes().SetListener([this] {
    QMetaObject::invokeMethod(
        this,
        [this] {
          Refresh();
          bus_->AnswerFinished();
        },
        Qt::QueuedConnection);
  });
  published_ = Assemble();
  UpdateTray();
  return bus_->Start(error);
}

DesktopStatus DesktopIntegration::Assemble() const {
  DeviceSession& session = window_.Session();
  return AssembleDesktopStatus({DeviceManager::Instance(), session.Catalogue(), session.Store(),
                                session.State(), live_battery_});
}

std::string DesktopIntegration::ModelName() const {
  const CatalogEntry* model =
      window_.Session().Catalogue().FindModel(DeviceManager::Instance().SelectedDeviceType());
  return model != nullptr ? model->name : "";
}

void DesktopIntegration::OnBattery(BatteryStatus battery) {
  const DeviceManager& manager = DeviceManager::Instance();
  const int model = manager.SelectedDeviceType();
  if (model != battery_model_) {
    // Another mouse: its own readings and crossings.
    warnings_.Reset();
    live_battery_.reset();
    battery_model_ = model;
  }
  if (IsBatteryReading(battery)) live_battery_ = battery;
  const bool wireless = manager.ActiveConnectionMode() == ConnectionMode::kReceiver;
  const auto warning =
      warnings_.Update(battery, wireless, ReadBatteryWarningSettings(window_.Session().Values()));
  if (warning) {
    // The last warning before the mouse stops reads as more than a repeat of the first.
    notifier_.Send(window_.Text(warning->critical ? kTextBatteryCritical : kTextBatteryLow),
                   BatteryLine(ModelName(), window_.Text(kTextBatteryLevel), warning->level,
                               window_.Text(kTextCharging), false),
                   warning->critical);
  }
  UpdateTray();
  ScheduleRefresh();
}

void DesktopIntegration::ScheduleRefresh() {
  // A read-back reports dozens of times in a row; one comparison after them is enough.
  if (refresh_pending_) return;
  refresh_pending_ = true;
  QTimer::singleShot(0, this, [this] { Refresh(); });
}

void DesktopIntegration::Refresh() {
  refresh_pending_ = false;
  DesktopStatus now = Assemble();
  if (bus_) bus_->Announce(published_, now);
  published_ = std::move(now);
  UpdateTray();
}

void DesktopIntegration::UpdateTray() {
  std::string tooltip = DUI::Manager::GetDeviceName();
  const DeviceManager& manager = DeviceManager::Instance();
  const bool present = battery_model_ != 0 && manager.IsDevicePresent(battery_model_);
  if (present && live_battery_) {
    tooltip += "\n" + BatteryLine(ModelName(), window_.Text(kTextBatteryLevel),
                                  live_battery_->level, window_.Text(kTextCharging),
                                  live_battery_->charging == kBatteryCharging);
  }
  tooltip_ = tooltip;
  TrayIcon& tray = window_.Tray();
  tray.SetToolTip(tooltip_);
  tray.SetLowBattery(present && warnings_.Low());
}

}  // namespace corvane::ui
