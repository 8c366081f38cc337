// The view the jobs talk to: forwards every call to the window's (or the CLI's)
// DeviceView, and keeps the worker-side state those calls imply in one place — the
// saved model in the key/value store, the loaded definition and database, the link
// flag and the idle poll.
#pragma once

#include "protocol/device_view.h"

namespace corvane {

class KeyValueStore;
class ModelContext;

class WorkerView : public DeviceView {
 public:
  WorkerView(DeviceView& inner, ModelContext& model, KeyValueStore& values);

  DeviceView& Inner() { return inner_; }

  int SavedDeviceType() override;
  void SetSavedDeviceType(int device_type) override;
  void LoadDefinition(int device_type) override;
  void SetLinkFlag(bool linked) override;
  void SetIdlePoll(bool on) override;

  void SetConnectionText(int text_id) override { inner_.SetConnectionText(text_id); }
  void ShowDeviceControls(bool show) override { inner_.ShowDeviceControls(show); }
  void SetAllDeviceState(OnlineState state) override { inner_.SetAllDeviceState(state); }
  void SetDeviceState(int type, ConnectionMode mode, OnlineState state) override {
    inner_.SetDeviceState(type, mode, state);
  }
  void SetDeviceVersion(int type, int release) override { inner_.SetDeviceVersion(type, release); }
  void SetDeviceBattery(int type, BatteryStatus battery) override {
    inner_.SetDeviceBattery(type, battery);
  }
  int GetOnlineDevCount() override { return inner_.GetOnlineDevCount(); }
  void SetSelectDevice(int type) override { inner_.SetSelectDevice(type); }
  int GetSelectDevice() override { return inner_.GetSelectDevice(); }
  void ShowDeviceList(bool show) override { inner_.ShowDeviceList(show); }
  void SetBatteryInfo(BatteryStatus battery) override { inner_.SetBatteryInfo(battery); }
  void SetVersionLine(const std::string& line) override { inner_.SetVersionLine(line); }
  void RefreshPage(DevicePage page) override { inner_.RefreshPage(page); }
  void SelectDpiStageCount(int count) override { inner_.SelectDpiStageCount(count); }
  void SelectDpiStage(int index, int dpi) override { inner_.SelectDpiStage(index, dpi); }
  void ShowDpiPopup(int dpi) override { inner_.ShowDpiPopup(dpi); }
  void HideSettingsPage() override { inner_.HideSettingsPage(); }
  void ClosePopups() override { inner_.ClosePopups(); }
  void StopMacroRecording() override { inner_.StopMacroRecording(); }
  void SetUpgradeProgress(const std::string& text, int percent) override {
    inner_.SetUpgradeProgress(text, percent);
  }
  void PostMessage(WindowMessage message, long long wparam, long long lparam) override {
    inner_.PostMessage(message, wparam, lparam);
  }
  void SetSoftwareVersionLabel(const std::string& text) override { inner_.SetSoftwareVersionLabel(text); }
  void SetFirmwareVersionLabel(const std::string& text) override { inner_.SetFirmwareVersionLabel(text); }
  void EnableSoftwareUpdateButton(bool on) override { inner_.EnableSoftwareUpdateButton(on); }
  void EnableFirmwareUpdateButton(bool on) override { inner_.EnableFirmwareUpdateButton(on); }
  void CloseUpgradeProgress() override { inner_.CloseUpgradeProgress(); }

 private:
  DeviceView& inner_;
  ModelContext& model_;
  KeyValueStore& values_;
};

}  // namespace corvane
