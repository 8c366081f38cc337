#include "settings/device_state.h"

#include <utility>

#include "protocol/sensor_codes.h"

namespace corvane {

void DeviceState::SetSensor(int sensor) {
  SensorScale scale = ScaleForSensor(sensor);
  std::lock_guard lock(mutex_);
  sensor_ = sensor;
  min_dpi_ = scale.min_dpi;
  max_dpi_ = scale.max_dpi;
}

int DeviceState::Sensor() const { std::lock_guard lock(mutex_); return sensor_; }
int DeviceState::MinDpi() const { std::lock_guard lock(mutex_); return min_dpi_; }
int DeviceState::MaxDpi() const { std::lock_guard lock(mutex_); return max_dpi_; }

void DeviceState::ResetDpiRange() {
  std::lock_guard lock(mutex_);
  min_dpi_ = 50;
  max_dpi_ = 26000;
}

void DeviceState::SetRateClass(int rate_class) { std::lock_guard lock(mutex_); rate_class_ = rate_class; }
int DeviceState::RateClass() const { std::lock_guard lock(mutex_); return rate_class_; }

void DeviceState::SetCachedStages(int count, int index) {
  std::lock_guard lock(mutex_);
  cached_count_ = count;
  cached_index_ = index;
}
int DeviceState::CachedCount() const { std::lock_guard lock(mutex_); return cached_count_; }
int DeviceState::CachedIndex() const { std::lock_guard lock(mutex_); return cached_index_; }
void DeviceState::SetCachedIndex(int index) { std::lock_guard lock(mutex_); cached_index_ = index; }

void DeviceState::SetLink(bool linked) { std::lock_guard lock(mutex_); link_ = linked; }
bool DeviceState::Link() const { std::lock_guard lock(mutex_); return link_; }
void DeviceState::SetReachable(bool reachable) { std::lock_guard lock(mutex_); reachable_ = reachable; }
bool DeviceState::Reachable() const { std::lock_guard lock(mutex_); return reachable_; }

void DeviceState::SetBattery(BatteryStatus battery) {
  std::lock_guard lock(mutex_);
  battery_ = battery;
}
BatteryStatus DeviceState::Battery() const {
  std::lock_guard lock(mutex_);
  return battery_;
}

void DeviceState::SetMouseVersion(const std::string& v) { std::lock_guard lock(mutex_); mouse_version_ = v; }
std::string DeviceState::MouseVersion() const { std::lock_guard lock(mutex_); return mouse_version_; }
void DeviceState::SetReceiverVersion(const std::string& v) { std::lock_guard lock(mutex_); receiver_version_ = v; }
std::string DeviceState::ReceiverVersion() const { std::lock_guard lock(mutex_); return receiver_version_; }

bool DeviceState::MarkRead(int device_type) {
  std::lock_guard lock(mutex_);
  return read_types_.insert(device_type).second;
}
bool DeviceState::WasRead(int device_type) const {
  std::lock_guard lock(mutex_);
  return read_types_.count(device_type) != 0;
}
void DeviceState::ForgetReads() { std::lock_guard lock(mutex_); read_types_.clear(); }

void DeviceState::SetIdlePoll(bool on) { std::lock_guard lock(mutex_); idle_poll_ = on; }
bool DeviceState::IdlePoll() const { std::lock_guard lock(mutex_); return idle_poll_; }

void DeviceState::MarkMacroButton(int button) {
  std::lock_guard lock(mutex_);
  marked_macro_buttons_.insert(button);
}

std::set<int> DeviceState::TakeMarkedMacroButtons() {
  std::lock_guard lock(mutex_);
  return std::exchange(marked_macro_buttons_, {});
}

void DeviceState::SetPendingDpiPopup(std::optional<int> dpi) {
  std::lock_guard lock(mutex_);
  pending_dpi_popup_ = dpi;
}

std::optional<int> DeviceState::TakePendingDpiPopup() {
  std::lock_guard lock(mutex_);
  return std::exchange(pending_dpi_popup_, std::nullopt);
}

void DeviceState::SetTips(bool show_dpitips, bool show_savetips) {
  std::lock_guard lock(mutex_);
  show_dpitips_ = show_dpitips;
  show_savetips_ = show_savetips;
}
bool DeviceState::ShowDpiTips() const { std::lock_guard lock(mutex_); return show_dpitips_; }
bool DeviceState::ShowSaveTips() const { std::lock_guard lock(mutex_); return show_savetips_; }

}  // namespace corvane
