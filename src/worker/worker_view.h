// The device list role the jobs talk to: forwards every call to the front end's view
// and keeps the worker-side state those calls imply in one place — the saved model in
// the key/value store, the loaded definition and database, the link flag and the idle
// poll. The other roles (battery, pages, update prompts) go to the front end directly.
#pragma once

#include "worker/device_view.h"

namespace corvane {

class KeyValueStore;
class ModelContext;

class WorkerView : public DeviceListView {
 public:
  WorkerView(DeviceView& front, ModelContext& model, KeyValueStore& values);

  // The front end, for the roles this view does not wrap.
  DeviceView& Front() { return front_; }

  int SavedDeviceType() override;
  void SetSavedDeviceType(int device_type) override;
  void LoadDefinition(int device_type) override;
  void SetLinkFlag(bool linked) override;
  void SetIdlePoll(bool on) override;

  void SetConnectionText(int text_id) override { front_.SetConnectionText(text_id); }
  void ShowDeviceControls(bool show) override { front_.ShowDeviceControls(show); }
  void SetAllDeviceState(OnlineState state) override { front_.SetAllDeviceState(state); }
  void SetDeviceState(int type, ConnectionMode mode, OnlineState state) override {
    front_.SetDeviceState(type, mode, state);
  }
  void SetDeviceVersion(int type, int release) override { front_.SetDeviceVersion(type, release); }
  int GetOnlineDevCount() override { return front_.GetOnlineDevCount(); }
  void SetSelectDevice(int type) override { front_.SetSelectDevice(type); }
  int GetSelectDevice() override { return front_.GetSelectDevice(); }
  void ShowDeviceList(bool show) override { front_.ShowDeviceList(show); }
  void HideSettingsPage() override { front_.HideSettingsPage(); }
  void ClosePopups() override { front_.ClosePopups(); }

 private:
  DeviceView& front_;
  ModelContext& model_;
  KeyValueStore& values_;
};

}  // namespace corvane
