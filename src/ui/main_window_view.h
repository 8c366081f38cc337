// DeviceView on the main window: every call from the worker is queued to the GUI thread
// and dropped when the window has gone. Questions about the device list are answered at
// once from a locked mirror, so the worker never waits for the GUI thread.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "worker/device_view.h"

namespace corvane::ui {

class DeviceListMirror;
class DeviceMainDlg;

class MainWindowView : public DeviceView {
 public:
  explicit MainWindowView(DeviceListMirror& mirror);
  ~MainWindowView() override;

  // Starts delivering to `window` (GUI thread); null stops delivery, dropping queued calls.
  void Attach(DeviceMainDlg* window);
  // Told on the GUI thread after each report reached the window, and of each battery
  // report as it reached the gauge (the desktop integration follows the mouse from
  // here). Set and cleared on the GUI thread; empty functions tell nobody.
  void SetReportHooks(std::function<void()> after_report,
                      std::function<void(BatteryStatus)> battery);

  int SavedDeviceType() override;
  void SetSavedDeviceType(int device_type) override;
  void LoadDefinition(int device_type) override;
  void SetConnectionText(int text_id) override;
  void SetLinkFlag(bool linked) override;
  void ShowDeviceControls(bool show) override;
  void SetIdlePoll(bool on) override;
  void SetAllDeviceState(OnlineState state) override;
  void SetDeviceState(int device_type, ConnectionMode mode, OnlineState state) override;
  void SetDeviceVersion(int device_type, int release_number) override;
  void SetDeviceBattery(int device_type, BatteryStatus battery) override;
  int GetOnlineDevCount() override;
  void SetSelectDevice(int device_type) override;
  int GetSelectDevice() override;
  void ShowDeviceList(bool show) override;
  void SetBatteryInfo(BatteryStatus battery) override;
  void SetVersionLine(const std::string& line) override;
  // The program settings page shows the software check; the firmware labels and button
  // belong to the device settings page, which is not built yet.
  void SetSoftwareVersionLabel(const std::string& text) override;
  void SetFirmwareVersionLabel(const std::string& text) override;
  void EnableSoftwareUpdateButton(bool enabled) override;
  void RefreshPage(DevicePage page) override;
  void SelectDpiStageCount(int count) override;
  void SelectDpiStage(int index, int dpi) override;
  void ShowDpiPopup(int dpi) override;
  void HideSettingsPage() override;
  void ClosePopups() override;
  void StopMacroRecording() override;
  void SetUpgradeProgress(const std::string& text, int percent) override;
  void CloseUpgradeProgress() override;
  void Post(WindowMessage message, long long first, long long second) override;

 private:
  // Runs `call` with the window on the GUI thread, unless the window went away first.
  void Queue(std::function<void(DeviceMainDlg&)> call);

  struct Hooks {
    std::function<void()> after_report;
    std::function<void(BatteryStatus)> battery;
  };

  DeviceListMirror& mirror_;
  // Shared with queued calls; only touched on the GUI thread.
  std::shared_ptr<Hooks> hooks_ = std::make_shared<Hooks>();
  // Shared with queued calls: the window they may reach, null once it is gone.
  std::shared_ptr<std::atomic<DeviceMainDlg*>> target_;
};

}  // namespace corvane::ui
