// The device list's state kept under a lock for the worker thread.
#include "ui/device_list_mirror.h"

namespace corvane::ui {

void DeviceListMirror::SetModels(const std::vector<int>& device_types) {
  std::lock_guard guard(lock_);
  models_ = device_types;
  states_.clear();
  selected_ = 0;
}

void DeviceListMirror::SetDeviceState(int device_type, int mode, int state) {
  std::lock_guard guard(lock_);
  states_[{device_type, mode}] = state;
  // A model that went away cannot stay selected.
  if (selected_ == device_type && !IsPresentLocked(device_type)) selected_ = 0;
}

void DeviceListMirror::SetAllDeviceState(int state) {
  std::lock_guard guard(lock_);
  if (state == 0) {
    states_.clear();
    selected_ = 0;
    return;
  }
  for (auto& entry : states_) entry.second = state;
}

int DeviceListMirror::SetSelectDevice(int device_type) {
  std::lock_guard guard(lock_);
  selected_ = 0;
  if (IsPresentLocked(device_type)) {
    selected_ = device_type;
  } else {
    for (int model : models_) {
      if (IsPresentLocked(model)) {
        selected_ = model;
        break;
      }
    }
  }
  return selected_;
}

int DeviceListMirror::GetSelectDevice() const {
  std::lock_guard guard(lock_);
  return selected_;
}

int DeviceListMirror::GetOnlineDevCount() const {
  std::lock_guard guard(lock_);
  int count = 0;
  for (int model : models_) count += IsPresentLocked(model) ? 1 : 0;
  return count;
}

bool DeviceListMirror::IsPresent(int device_type) const {
  std::lock_guard guard(lock_);
  return IsPresentLocked(device_type);
}

bool DeviceListMirror::IsPresentLocked(int device_type) const {
  bool listed = false;
  for (int model : models_) listed = listed || model == device_type;
  if (!listed) return false;
  for (const auto& [key, state] : states_) {
    if (key.first == device_type && state != 0) return true;
  }
  return false;
}

}  // namespace corvane::ui
