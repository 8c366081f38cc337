// RecordingDeviceView: call log plus a device list that selects like the window's
// (the asked model when listed, else the first listed one).
#include "worker/recording_device_view.h"

#include <algorithm>

namespace corvane {
namespace {

const char* PageName(DevicePage page) {
  switch (page) {
    case DevicePage::kButtons:
      return "buttons";
    case DevicePage::kMacro:
      return "macro";
    case DevicePage::kPerformance:
      return "performance";
    case DevicePage::kLighting:
      return "lighting";
    case DevicePage::kDpi:
      return "dpi";
  }
  return "?";
}

std::string Join(const char* name, std::initializer_list<long long> values) {
  std::string line = name;
  for (long long value : values) line += " " + std::to_string(value);
  return line;
}

}  // namespace

void RecordingDeviceView::Record(std::string line) {
  std::lock_guard lock(mutex_);
  calls_.push_back(std::move(line));
}

std::vector<std::string> RecordingDeviceView::Calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

bool RecordingDeviceView::Called(const std::string& line) const {
  std::lock_guard lock(mutex_);
  return std::find(calls_.begin(), calls_.end(), line) != calls_.end();
}

std::vector<std::string> RecordingDeviceView::CallsStartingWith(const std::string& prefix) const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> found;
  for (const std::string& line : calls_) {
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  }
  return found;
}

void RecordingDeviceView::ClearCalls() {
  std::lock_guard lock(mutex_);
  calls_.clear();
}

std::vector<std::pair<int, int>> RecordingDeviceView::ListedDevices() const {
  std::lock_guard lock(mutex_);
  std::vector<std::pair<int, int>> listed;
  for (int type : order_) {
    int state = 0;
    for (const auto& [key, value] : states_) {
      if (key.first == type) state = std::max(state, value);
    }
    listed.emplace_back(type, state);
  }
  return listed;
}

int RecordingDeviceView::ConnectionText() const {
  std::lock_guard lock(mutex_);
  return connection_text_;
}

bool RecordingDeviceView::IdlePoll() const {
  std::lock_guard lock(mutex_);
  return idle_poll_;
}

bool RecordingDeviceView::LinkFlag() const {
  std::lock_guard lock(mutex_);
  return link_flag_;
}

bool RecordingDeviceView::DeviceListShown() const {
  std::lock_guard lock(mutex_);
  return list_shown_;
}

int RecordingDeviceView::SavedDeviceType() {
  std::lock_guard lock(mutex_);
  return saved_type_;
}

void RecordingDeviceView::SetSavedDeviceType(int device_type) {
  Record(Join("SetSavedDeviceType", {device_type}));
  std::lock_guard lock(mutex_);
  saved_type_ = device_type;
}

void RecordingDeviceView::LoadDefinition(int device_type) {
  Record(Join("LoadDefinition", {device_type}));
}

void RecordingDeviceView::SetConnectionText(int text_id) {
  Record(Join("SetConnectionText", {text_id}));
  std::lock_guard lock(mutex_);
  connection_text_ = text_id;
}

void RecordingDeviceView::SetLinkFlag(bool linked) {
  Record(Join("SetLinkFlag", {linked}));
  std::lock_guard lock(mutex_);
  link_flag_ = linked;
}

void RecordingDeviceView::ShowDeviceControls(bool show) {
  Record(Join("ShowDeviceControls", {show}));
}

void RecordingDeviceView::SetIdlePoll(bool on) {
  Record(Join("SetIdlePoll", {on}));
  std::lock_guard lock(mutex_);
  idle_poll_ = on;
}

void RecordingDeviceView::SetAllDeviceState(OnlineState state) {
  Record(Join("SetAllDeviceState", {StateNumber(state)}));
  std::lock_guard lock(mutex_);
  for (auto& entry : states_) entry.second = StateNumber(state);
}

void RecordingDeviceView::SetDeviceState(int device_type, ConnectionMode mode, OnlineState state) {
  Record(Join("SetDeviceState", {device_type, ModeNumber(mode), StateNumber(state)}));
  std::lock_guard lock(mutex_);
  if (std::find(order_.begin(), order_.end(), device_type) == order_.end())
    order_.push_back(device_type);
  states_[{device_type, ModeNumber(mode)}] = StateNumber(state);
}

void RecordingDeviceView::SetDeviceVersion(int device_type, int release_number) {
  Record(Join("SetDeviceVersion", {device_type, release_number}));
}

void RecordingDeviceView::SetDeviceBattery(int device_type, BatteryStatus battery) {
  Record(Join("SetDeviceBattery", {device_type, battery.level, battery.charging}));
}

int RecordingDeviceView::GetOnlineDevCount() {
  std::lock_guard lock(mutex_);
  int count = 0;
  for (int type : order_) {
    for (const auto& [key, value] : states_) {
      if (key.first == type && value > 0) {
        ++count;
        break;
      }
    }
  }
  return count;
}

void RecordingDeviceView::SetSelectDevice(int device_type) {
  Record(Join("SetSelectDevice", {device_type}));
  std::lock_guard lock(mutex_);
  if (std::find(order_.begin(), order_.end(), device_type) != order_.end()) {
    selected_ = device_type;
  } else {
    selected_ = order_.empty() ? 0 : order_.front();
  }
}

int RecordingDeviceView::GetSelectDevice() {
  std::lock_guard lock(mutex_);
  return selected_;
}

void RecordingDeviceView::ShowDeviceList(bool show) {
  Record(Join("ShowDeviceList", {show}));
  std::lock_guard lock(mutex_);
  list_shown_ = show;
}
void RecordingDeviceView::SetBatteryInfo(BatteryStatus battery) {
  Record(Join("SetBatteryInfo", {battery.level, battery.charging}));
}
void RecordingDeviceView::SetVersionLine(const std::string& line) {
  Record("SetVersionLine " + line);
}
void RecordingDeviceView::RefreshPage(DevicePage page) {
  Record(std::string("RefreshPage ") + PageName(page));
}
void RecordingDeviceView::SelectDpiStageCount(int count) {
  Record(Join("SelectDpiStageCount", {count}));
}
void RecordingDeviceView::SelectDpiStage(int index, int dpi) {
  Record(Join("SelectDpiStage", {index, dpi}));
}
void RecordingDeviceView::ShowDpiPopup(int dpi) { Record(Join("ShowDpiPopup", {dpi})); }
void RecordingDeviceView::HideSettingsPage() { Record("HideSettingsPage"); }
void RecordingDeviceView::ClosePopups() { Record("ClosePopups"); }
void RecordingDeviceView::StopMacroRecording() { Record("StopMacroRecording"); }
void RecordingDeviceView::SetUpgradeProgress(const std::string& text, int percent) {
  Record("SetUpgradeProgress " + std::to_string(percent) + " " + text);
}
void RecordingDeviceView::Post(WindowMessage message, long long first, long long second) {
  Record(Join("Post", {MessageNumber(message), first, second}));
}
void RecordingDeviceView::SetSoftwareVersionLabel(const std::string& text) {
  Record("SetSoftwareVersionLabel " + text);
}
void RecordingDeviceView::SetFirmwareVersionLabel(const std::string& text) {
  Record("SetFirmwareVersionLabel " + text);
}
void RecordingDeviceView::EnableSoftwareUpdateButton(bool enabled) {
  Record(Join("EnableSoftwareUpdateButton", {enabled}));
}
void RecordingDeviceView::EnableFirmwareUpdateButton(bool enabled) {
  Record(Join("EnableFirmwareUpdateButton", {enabled}));
}
void RecordingDeviceView::CloseUpgradeProgress() { Record("CloseUpgradeProgress"); }

}  // namespace corvane
