// A thread-safe copy of what the device list shows (which modes are online, which model
// is selected), so that the worker's questions are answered at once instead of waiting
// for the GUI thread, while the list control itself is only touched on that thread.
#pragma once

#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace corvane::ui {

class DeviceListMirror {
 public:
  // The models in list order (the catalogue's order); clears every state.
  void SetModels(const std::vector<int>& device_types);
  // Online state of one mode of a model (0 absent, 1 online, 2 mouse off).
  void SetDeviceState(int device_type, int mode, int state);
  // Sets every known mode to `state`; 0 forgets all modes.
  void SetAllDeviceState(int state);
  // Selects `device_type` when present, else the first present model, else none.
  // Returns the model selected (0 for none).
  int SetSelectDevice(int device_type);
  // The selected model, 0 for none.
  int GetSelectDevice() const;
  // Number of models with at least one mode not absent.
  int GetOnlineDevCount() const;
  // True when any mode of the model is not absent.
  bool IsPresent(int device_type) const;

 private:
  bool IsPresentLocked(int device_type) const;

  mutable std::mutex lock_;
  std::vector<int> models_;
  std::map<std::pair<int, int>, int> states_;
  int selected_ = 0;
};

}  // namespace corvane::ui
