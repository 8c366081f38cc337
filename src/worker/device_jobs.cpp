// Job dispatch, device list rebuilds, read-back and the idle notification poll.
// The upload jobs (performance, buttons, macros, lighting) are in upload_jobs.cpp.
#include "worker/device_jobs.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "base/text.h"
#include "base/trace.h"
#include "device/device_manager.h"
#include "protocol/performance_commands.h"
#include "worker/worker_view.h"
#include "settings/dpi_stages.h"
#include "settings/light_payload.h"
#include "settings/sensor_scale.h"
#include "store/config_keys.h"
#include "store/settings_database.h"
#include "worker/device_refresh.h"
#include "worker/model_context.h"

namespace corvane {
namespace {

constexpr int kRemovalPauseMs = 500;
constexpr int kLinkRetryMs = 500;
constexpr int kFullBattery = 100;

// "%s: V%s.%s" (or without the V) from a version text: first character, last two.
std::string VersionText(const std::string& label, const std::string& version, bool with_v) {
  if (version.empty()) return std::string();
  std::string major = version.substr(0, 1);
  std::string minor = version.size() >= 2 ? version.substr(version.size() - 2) : version;
  return label + ": " + (with_v ? "V" : "") + major + "." + minor;
}

}  // namespace

std::string ReleaseVersionText(int release_number) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(release_number));
  return text;
}

std::string FirmwareVersionText(uint8_t high, uint8_t low) {
  char text[16];
  std::snprintf(text, sizeof text, "%X%02X", high, low);
  return text;
}

DeviceJobs::DeviceJobs(DeviceManager& manager, ModelContext& model, WorkerView& view,
                       TextSource text)
    : manager_(manager),
      model_(model),
      list_(view),
      pages_(view.Front()),
      battery_(view.Front()),
      text_(std::move(text)) {}

SettingsDatabase& DeviceJobs::Store() { return model_.Store(); }
DeviceState& DeviceJobs::State() { return model_.State(); }

void DeviceJobs::SetExternalJob(WorkerTask task, ExternalJob job) {
  external_[task] = std::move(job);
}

void DeviceJobs::Pause(int ms) const {
  auto scaled = std::chrono::microseconds(static_cast<long long>(ms * 1000 * pause_scale_));
  if (scaled.count() > 0) std::this_thread::sleep_for(scaled);
}

void DeviceJobs::RunExternal(WorkerTask task) {
  auto it = external_.find(task);
  if (it != external_.end() && it->second) it->second();
}

class DeviceJobs::JobScope {
 public:
  explicit JobScope(DeviceJobs& jobs) : jobs_(jobs) {
    if (jobs_.job_depth_++ == 0) jobs_.job_failed_ = false;
  }
  ~JobScope() { --jobs_.job_depth_; }
  JobScope(const JobScope&) = delete;
  JobScope& operator=(const JobScope&) = delete;

 private:
  DeviceJobs& jobs_;
};

std::optional<DeviceJobs::CommandFailure> DeviceJobs::TakeFailure() {
  std::optional<CommandFailure> failure = failure_;
  failure_.reset();
  return failure;
}

bool DeviceJobs::Run(WorkerTask task) {
  JobScope scope(*this);
  switch (task) {
    case WorkerTask::kStartup:
      RefreshDevices(manager_, model_.KnownDevices(), list_);
      ReadBackJob(0);
      return true;
    case WorkerTask::kArrival:
      RefreshDevices(manager_, model_.KnownDevices(), list_);
      ReadBackJob(1);
      return true;
    case WorkerTask::kRemoval:
      Pause(kRemovalPauseMs);
      State().SetReachable(false);
      ReenumerateDevices(manager_, list_);
      if (manager_.ActiveConnectionMode() != ConnectionMode::kNone && ReadBackSettings()) {
        RefreshDevicePages(true);
        UpdateVersionLine();
      }
      return true;
    case WorkerTask::kOpenDevice:
      ReloadProfileAndRefresh();
      if (ReadBackSettings()) {
        RefreshDevicePages(true);
        pages_.RefreshPage(DevicePage::kDpi);
        UpdateVersionLine();
      }
      return true;
    case WorkerTask::kUploadProfile:
      UploadProfileJob();
      return true;
    case WorkerTask::kButtonTable:
      ButtonJob();
      return true;
    case WorkerTask::kLightingMode:
      LightingJob();
      return true;
    case WorkerTask::kDpiStageValues:
    case WorkerTask::kDpiStageColours:
    case WorkerTask::kReportRate:
    case WorkerTask::kSensorOptions:
    case WorkerTask::kPowerOptions:
      PerformanceJob(task);
      return true;
    case WorkerTask::kLightingReadback:
      LightingReadback(true);
      return true;
    case WorkerTask::kFactoryDpi:
      FactoryDpiJob();
      return true;
    case WorkerTask::kRestoreDefaults:
      RestoreDefaultsJob();
      return true;
    default:
      if (external_.count(task) == 0) return false;
      RunExternal(task);
      return true;
  }
}

void DeviceJobs::ReadBackJob(int delay_ms) {
  Pause(delay_ms);
  State().SetReachable(false);
  ReenumerateDevices(manager_, list_);
  if (manager_.ActiveConnectionMode() == ConnectionMode::kNone) return;
  ReloadProfileAndRefresh();
  if (!ReadBackSettings()) return;
  RefreshDevicePages(true);
  pages_.RefreshPage(DevicePage::kDpi);
  UpdateVersionLine();
  RunExternal(WorkerTask::kFirmwareCheck);
}

void DeviceJobs::ReloadProfileAndRefresh() {
  model_.EnsureProfiles();
  CacheDpiStages();
  RefreshDevicePages(true);
}

void DeviceJobs::CacheDpiStages() { CacheStoredDpiStages(Store(), State()); }

void DeviceJobs::RefreshDevicePages(bool with_macro) {
  pages_.RefreshPage(DevicePage::kButtons);
  if (with_macro) pages_.RefreshPage(DevicePage::kMacro);
  pages_.RefreshPage(DevicePage::kPerformance);
  if (model_.HasLighting()) pages_.RefreshPage(DevicePage::kLighting);
}

void DeviceJobs::UpdateVersionLine(bool plain_mouse_line) {
  const ConnectionMode mode = manager_.ActiveConnectionMode();
  std::string mouse = State().MouseVersion();
  if (mode == ConnectionMode::kWired) {
    int release = 0;
    if (manager_.ReleaseNumberOf(ConnectionMode::kWired, release))
      mouse = ReleaseVersionText(release);
    State().SetMouseVersion(mouse);
  }
  std::string line = VersionText(text_(kTextMouseFirmware), mouse, !plain_mouse_line);
  if (mode == ConnectionMode::kReceiver) {
    int release = 0;
    if (manager_.ReleaseNumberOf(ConnectionMode::kReceiver, release))
      State().SetReceiverVersion(ReleaseVersionText(release));
    std::string receiver =
        VersionText(text_(kTextReceiverFirmware), State().ReceiverVersion(), true);
    if (!receiver.empty()) line += (line.empty() ? "" : "  ") + receiver;
  }
  pages_.SetVersionLine(line);
}

bool DeviceJobs::ApplyStoredDeviceInfo() {
  uint8_t info[kNotificationBytes] = {};
  if (!manager_.QueryDeviceInfo(info)) return false;
  DeviceState& state = State();
  state.ResetDpiRange();
  state.SetSensor(info[kInfoSensorByte]);
  state.SetRateClass(RateClassFromCapability(info[kInfoRateByte]));
  state.SetReachable(info[kInfoReachableByte] != 0);
  state.SetBattery(BatteryFromDeviceInfo(info));
  return true;
}

bool DeviceJobs::ReadBackSettings(bool after_link) {
  JobScope scope(*this);
  DeviceState& state = State();
  int type = manager_.SelectedDeviceType();
  if (!after_link) {
    // Until the mouse answers, the previous read-back's values with a full counterpart.
    const BatteryStatus previous = state.Battery();
    battery_.SetBatteryInfo({previous.level, kFullBattery});
    battery_.SetDeviceBattery(type, {kFullBattery, previous.charging});
    state.SetReachable(false);
  }
  if (!ApplyStoredDeviceInfo()) {
    HandleWriteFailure();
    return false;
  }
  battery_.SetBatteryInfo(state.Battery());
  battery_.SetDeviceBattery(type, state.Battery());
  if (!state.Reachable()) {
    HandleWriteFailure();
    return false;
  }
  if (!state.MarkRead(type)) return true;

  uint8_t reply[kCommandBufferSizeForReads] = {};
  Read(kCmdReadAll, reply);
  int profile = Store().GetActiveProfile();
  int sensor = state.Sensor();
  for (uint8_t command : {kCmdReadReportRate, kCmdReadDpiStages, kCmdReadDpiColours}) {
    if (Read(command, reply)) {
      StoreWrites(profile, ParsePerformanceReadback(command, reply, sizeof reply, sensor));
    }
  }
  LightingReadback(false);
  for (uint8_t command : {kCmdReadSensor, kCmdReadPower}) {
    if (Read(command, reply)) {
      StoreWrites(profile, ParsePerformanceReadback(command, reply, sizeof reply, sensor));
    }
  }
  CacheDpiStages();  // the mouse's stage is now the stored one
  if (!after_link && manager_.ActiveConnectionMode() == ConnectionMode::kReceiver &&
      Read(kCmdReadFirmwareVersion, reply)) {
    state.SetMouseVersion(FirmwareVersionText(reply[4], reply[5]));
    UpdateVersionLine(true);
  }
  return true;
}

void DeviceJobs::StoreWrites(int profile,
                             const std::vector<std::pair<std::string, std::string>>& writes) {
  for (const auto& [key, value] : writes) Store().SetConfigValue(profile, key, value);
}

void DeviceJobs::HandleWriteFailure() {
  // Only a wireless link can fail while the device list still shows the mouse.
  if (manager_.ActiveConnectionMode() != ConnectionMode::kReceiver) return;
  list_.ClosePopups();
  list_.SetDeviceState(manager_.SelectedDeviceType(), ConnectionMode::kReceiver,
                       OnlineState::kOnline);
  if (State().Link()) return;
  list_.SetConnectionText(kTextWireless);
  list_.SetDeviceState(kIdsOnlyDeviceType, ConnectionMode::kReceiver, OnlineState::kOnline);
  list_.SetLinkFlag(true);
}

uint8_t DeviceJobs::PollNotification(ReadWake* wake) {
  uint8_t report[kNotificationBytes] = {};
  int type = 0;
  manager_.ReadNotification(report, type, wake);
  HandleNotification(report);
  return report[0];
}

void DeviceJobs::HandleNotification(const uint8_t* report) {
  // Most idle turns read nothing; they must not cost a database query.
  if (report[0] == 0) return;
  Trace("mouse notify data: %02X %02X %02X %02X %02X %02X", report[0], report[1], report[2],
        report[3], report[4], report[5]);
  DeviceState& state = State();
  if (report[0] == kNotifyDpiStage) {
    const int profile = Store().GetActiveProfile();
    const DpiStageSelection stages = ClampDpiStageSelection(report[1] & 0x0F, report[1] >> 4);
    const int count = stages.count;
    const int index = stages.index;
    if (count != state.CachedCount()) {
      state.SetCachedStages(count, state.CachedIndex());
      Store().SetConfigInt(profile, kDpiCountKey, count);
      pages_.SelectDpiStageCount(count);
      pages_.RefreshPage(DevicePage::kDpi);
    }
    if (index != state.CachedIndex()) {
      state.SetCachedIndex(index);
      Store().SetConfigInt(profile, kDpiIndexKey, index);
      int dpi = DecimalToInt(Store().GetConfigValue(profile, DpiStageValueKey(index)).value_or(""));
      pages_.SelectDpiStage(index, dpi);
      if (state.ShowDpiTips()) pages_.ShowDpiPopup(dpi);
    }
    return;
  }
  if (report[0] != kNotifyLink) return;
  list_.ClosePopups();
  int type = manager_.SelectedDeviceType();
  if (report[1] == 1) {
    const ConnectionMode mode = manager_.ActiveConnectionMode();
    // The list knows a model as wired or receiver; "none" is shown as wired.
    const ConnectionMode m = mode == ConnectionMode::kReceiver ? mode : ConnectionMode::kWired;
    list_.SetLinkFlag(true);
    list_.ShowDeviceControls(true);
    list_.SetConnectionText(mode == ConnectionMode::kReceiver ? kTextWireless : kTextWired);
    list_.SetDeviceState(type, m, OnlineState::kOnline);
    manager_.SetOnlineState(type, m, OnlineState::kOnline);
    RefreshDevicePages(true);
    if (ReadBackSettings(true)) {
      RefreshDevicePages(true);
      UpdateVersionLine();
    }
  } else {
    list_.SetLinkFlag(false);
    list_.SetConnectionText(kTextNoDevice);
    list_.ShowDeviceControls(false);
    list_.SetDeviceState(type, ConnectionMode::kReceiver, OnlineState::kOffline);
    manager_.SetOnlineState(type, ConnectionMode::kReceiver, OnlineState::kOffline);
    manager_.PollReceiverOnline();
    pages_.StopMacroRecording();
    list_.ShowDeviceList(list_.GetOnlineDevCount() > 0);
  }
  if (report[2] != 0) battery_.SetBatteryInfo({report[2], report[3]});
}

bool DeviceJobs::Transact(uint8_t* bytes, size_t length, bool& skipped) {
  skipped = job_failed_;
  if (skipped) return false;
  const uint8_t command = bytes[1];  // the buffer holds the reply afterwards
  if (manager_.SendCommand(bytes, length)) return true;
  // Stop here: under a refusing or silent mouse every further command would fail the same
  // way, each after the whole reply wait.
  job_failed_ = job_depth_ > 0;
  if (!failure_) failure_ = CommandFailure{command, manager_.LastCommandOutcome()};
  return false;
}

bool DeviceJobs::Send(CommandReport report, bool report_failure) {
  bool skipped = false;
  bool ok = Transact(report.bytes.data(), static_cast<size_t>(report.length), skipped);
  if (!ok && report_failure && !skipped) HandleWriteFailure();
  return ok;
}

bool DeviceJobs::Read(uint8_t command, uint8_t* reply) {
  CommandReport request = MakeReadRequest(command);
  bool skipped = false;
  if (!Transact(request.bytes.data(), static_cast<size_t>(request.length), skipped)) return false;
  std::copy(request.bytes.begin(), request.bytes.begin() + kCommandBufferSizeForReads, reply);
  return true;
}

}  // namespace corvane
