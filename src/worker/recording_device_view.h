// A DeviceView that records every call as one line of text and keeps a small model
// of the device list, so tests can assert on what a job told the window and the CLI
// can run jobs without one.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "worker/device_view.h"

namespace corvane {

class RecordingDeviceView : public DeviceView {
 public:
  // The saved model starts as `saved_device_type`.
  explicit RecordingDeviceView(int saved_device_type = 0) : saved_type_(saved_device_type) {}

  // Every call so far, e.g. "SetDeviceState 11 1 1", in order.
  std::vector<std::string> Calls() const;
  // Whether a call line equal to `line` was recorded.
  bool Called(const std::string& line) const;
  // Lines starting with `prefix`.
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
  void ClearCalls();

  // Models the list was told about, in first-told order, with their online state.
  std::vector<std::pair<int, int>> ListedDevices() const;
  // The last connection text shown; 0 before any.
  int ConnectionText() const;
  bool IdlePoll() const;
  bool LinkFlag() const;
  // Whether the home page shows the device list (else its no-device notice).
  bool DeviceListShown() const;

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
  // Selects `device_type` when listed, else the first listed model (0 when empty).
  void SetSelectDevice(int device_type) override;
  int GetSelectDevice() override;
  void ShowDeviceList(bool show) override;
  void SetBatteryInfo(BatteryStatus battery) override;
  void SetVersionLine(const std::string& line) override;
  void RefreshPage(DevicePage page) override;
  void SelectDpiStageCount(int count) override;
  void SelectDpiStage(int index, int dpi) override;
  void ShowDpiPopup(int dpi) override;
  void HideSettingsPage() override;
  void ClosePopups() override;
  void StopMacroRecording() override;
  void SetUpgradeProgress(const std::string& text, int percent) override;
  void Post(WindowMessage message, long long first, long long second) override;
  void SetSoftwareVersionLabel(const std::string& text) override;
  void SetFirmwareVersionLabel(const std::string& text) override;
  void EnableSoftwareUpdateButton(bool enabled) override;
  void EnableFirmwareUpdateButton(bool enabled) override;
  void CloseUpgradeProgress() override;

 private:
  void Record(std::string line);

  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
  std::vector<int> order_;                     // device types in first-told order
  std::map<std::pair<int, int>, int> states_;  // (type, mode) -> online state
  int saved_type_ = 0;
  int selected_ = 0;
  int connection_text_ = 0;
  bool idle_poll_ = false;
  bool link_flag_ = false;
  bool list_shown_ = false;
};

}  // namespace corvane
