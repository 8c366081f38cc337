// Queuing the worker's reports onto the main window.
#include "ui/main_window_view.h"

#include "ui/pages/device_settings_page.h"

#include "ui/device_list_mirror.h"
#include "ui/device_main_dlg.h"
#include "ui/dui/cdevice_list.h"
#include "ui/dui/ui_thread.h"
#include "ui/pages_panel.h"
#include "ui/program_settings_page.h"

namespace corvane::ui {

MainWindowView::MainWindowView(DeviceListMirror& mirror)
    : mirror_(mirror), target_(std::make_shared<std::atomic<DeviceMainDlg*>>(nullptr)) {}

MainWindowView::~MainWindowView() { target_->store(nullptr); }

void MainWindowView::Attach(DeviceMainDlg* window) { target_->store(window); }

void MainWindowView::SetReportHooks(std::function<void()> after_report,
                                    std::function<void(BatteryStatus)> battery) {
  hooks_->after_report = std::move(after_report);
  hooks_->battery = std::move(battery);
}

void MainWindowView::Queue(std::function<void(DeviceMainDlg&)> call) {
  if (target_->load() == nullptr) return;
  DUI::RunOnUiThread([target = target_, hooks = hooks_, call = std::move(call)] {
    DeviceMainDlg* window = target->load();
    if (window == nullptr) return;
    call(*window);
    if (hooks->after_report) hooks->after_report();
  });
}

// The wrapping WorkerView answers these from the store and the model itself.
int MainWindowView::SavedDeviceType() { return 0; }
void MainWindowView::SetSavedDeviceType(int) {}
// The wrapping WorkerView has loaded the model by now; the window shows what it asks for.
void MainWindowView::LoadDefinition(int) {
  Queue([](DeviceMainDlg& w) { w.ApplyDefinition(); });
}

void MainWindowView::SetConnectionText(int text_id) {
  Queue([text_id](DeviceMainDlg& w) { w.SetConnectionText(text_id); });
}
void MainWindowView::SetLinkFlag(bool linked) {
  Queue([linked](DeviceMainDlg& w) { w.SetLinkFlag(linked); });
}
void MainWindowView::ShowDeviceControls(bool show) {
  Queue([show](DeviceMainDlg& w) { w.ShowDeviceControls(show); });
}
void MainWindowView::SetIdlePoll(bool on) {
  Queue([on](DeviceMainDlg& w) { w.SetIdlePoll(on); });
}
void MainWindowView::SetAllDeviceState(OnlineState online_state) {
  const int state = StateNumber(online_state);
  mirror_.SetAllDeviceState(state);
  Queue([state](DeviceMainDlg& w) {
    w.DeviceList()->SetAllDeviceState(state);
    w.UpdateListPaging();
  });
}
void MainWindowView::SetDeviceState(int type, ConnectionMode connection, OnlineState online_state) {
  const int mode = ModeNumber(connection);
  const int state = StateNumber(online_state);
  mirror_.SetDeviceState(type, mode, state);
  Queue([=](DeviceMainDlg& w) {
    w.DeviceList()->SetDeviceState(type, mode, state);
    w.UpdateListPaging();
  });
}
void MainWindowView::SetDeviceVersion(int type, int release) {
  Queue([=](DeviceMainDlg& w) { w.DeviceList()->SetDeviceVersion(type, release); });
}
void MainWindowView::SetDeviceBattery(int type, BatteryStatus battery) {
  Queue([=](DeviceMainDlg& w) {
    w.DeviceList()->SetDeviceBattery(type, battery.charging, battery.level);
  });
}
int MainWindowView::GetOnlineDevCount() { return mirror_.GetOnlineDevCount(); }
void MainWindowView::SetSelectDevice(int type) {
  mirror_.SetSelectDevice(type);
  Queue([type](DeviceMainDlg& w) { w.DeviceList()->SetSelectDevice(type); });
}
int MainWindowView::GetSelectDevice() { return mirror_.GetSelectDevice(); }
void MainWindowView::ShowDeviceList(bool show) {
  Queue([show](DeviceMainDlg& w) { w.ShowDeviceList(show); });
}
void MainWindowView::SetBatteryInfo(BatteryStatus battery) {
  Queue([battery, hooks = hooks_](DeviceMainDlg& w) {
    w.SetBatteryInfo(battery.level, battery.charging);
    if (hooks->battery) hooks->battery(battery);
  });
}
void MainWindowView::SetVersionLine(const std::string& line) {
  Queue([line](DeviceMainDlg& w) {
    if (w.Pages() != nullptr) w.Pages()->SetVersionLine(line);
  });
}
void MainWindowView::SetSoftwareVersionLabel(const std::string& text) {
  Queue([text](DeviceMainDlg& w) {
    if (w.SettingsPage() != nullptr) w.SettingsPage()->SetSoftwareCheckLabel(text);
  });
}
void MainWindowView::SetFirmwareVersionLabel(const std::string& text) {
  Queue([text](DeviceMainDlg& w) {
    if (w.Pages() != nullptr && w.Pages()->DeviceSettings() != nullptr) {
      w.Pages()->DeviceSettings()->SetFirmwareCheckLabel(text);
    }
  });
}
void MainWindowView::EnableSoftwareUpdateButton(bool enabled) {
  Queue([enabled](DeviceMainDlg& w) {
    if (w.SettingsPage() != nullptr) w.SettingsPage()->EnableSoftwareUpdate(enabled);
  });
}
void MainWindowView::RefreshPage(DevicePage page) {
  Queue([page](DeviceMainDlg& w) {
    if (w.Pages() != nullptr) w.Pages()->RefreshPage(page);
  });
}
void MainWindowView::SelectDpiStageCount(int) { RefreshPage(DevicePage::kDpi); }
void MainWindowView::SelectDpiStage(int, int) { RefreshPage(DevicePage::kDpi); }
void MainWindowView::ShowDpiPopup(int dpi) {
  RefreshPage(DevicePage::kDpi);
  Queue([dpi](DeviceMainDlg& w) { w.ShowDpiPopup(dpi); });
}
void MainWindowView::HideSettingsPage() {
  Queue([](DeviceMainDlg& w) { w.HideSettingsPage(); });
}
void MainWindowView::ClosePopups() {
  Queue([](DeviceMainDlg& w) { w.ClosePopups(); });
}
void MainWindowView::StopMacroRecording() {}
void MainWindowView::SetUpgradeProgress(const std::string& text, int percent) {
  Queue([text, percent](DeviceMainDlg& w) { w.SetUpgradeProgress(text, percent); });
}
void MainWindowView::CloseUpgradeProgress() {
  Queue([](DeviceMainDlg& w) { w.CloseUpgradeProgress(); });
}
void MainWindowView::Post(WindowMessage message, long long first, long long second) {
  Queue([=](DeviceMainDlg& w) { w.SendMessage(MessageNumber(message), first, second); });
}

}  // namespace corvane::ui
