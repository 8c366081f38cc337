// Job dispatch, device list rebuilds, read-back and the idle notification poll.
// The upload jobs (performance, buttons, macros, lighting) are in upload_jobs.cpp.
#include "protocol/device_jobs.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "base/text.h"
#include "base/trace.h"
#include "device/device_manager.h"
#include "protocol/device_refresh.h"
#include "protocol/model_context.h"
#include "protocol/performance_commands.h"
#include "protocol/worker_view.h"
#include "settings/light_payload.h"
#include "settings/sensor_scale.h"
#include "store/settings_database.h"

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
    : manager_(manager), model_(model), view_(view), text_(std::move(text)) {}

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

bool DeviceJobs::Run(WorkerTask task) {
  switch (task) {
    case WorkerTask::kStartup:
      RefreshDevices(manager_, model_.KnownDevices(), view_);
      ReadBackJob(0);
      return true;
    case WorkerTask::kArrival:
      RefreshDevices(manager_, model_.KnownDevices(), view_);
      ReadBackJob(1);
      return true;
    case WorkerTask::kRemoval:
      Pause(kRemovalPauseMs);
      State().SetReachable(false);
      ReenumerateDevices(manager_, view_);
      if (manager_.ActiveConnectionMode() != ConnectionMode::kNone && ReadBackSettings()) {
        RefreshDevicePages(true);
        UpdateVersionLine();
      }
      return true;
    case WorkerTask::kOpenDevice:
      ReloadProfileAndRefresh();
      if (ReadBackSettings()) {
        RefreshDevicePages(true);
        view_.RefreshPage(DevicePage::kDpi);
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
  ReenumerateDevices(manager_, view_);
  if (manager_.ActiveConnectionMode() == ConnectionMode::kNone) return;
  ReloadProfileAndRefresh();
  if (!ReadBackSettings()) return;
  RefreshDevicePages(true);
  view_.RefreshPage(DevicePage::kDpi);
  UpdateVersionLine();
  RunExternal(WorkerTask::kFirmwareCheck);
}

void DeviceJobs::ReloadProfileAndRefresh() {
  model_.EnsureProfiles();
  RefreshDevicePages(true);
}

void DeviceJobs::RefreshDevicePages(bool with_macro) {
  view_.RefreshPage(DevicePage::kButtons);
  if (with_macro) view_.RefreshPage(DevicePage::kMacro);
  view_.RefreshPage(DevicePage::kPerformance);
  if (model_.HasLighting()) view_.RefreshPage(DevicePage::kLighting);
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
  view_.SetVersionLine(line);
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
  DeviceState& state = State();
  int type = manager_.SelectedDeviceType();
  if (!after_link) {
    // Until the mouse answers, the previous read-back's values with a full counterpart.
    const BatteryStatus previous = state.Battery();
    view_.SetBatteryInfo({previous.level, kFullBattery});
    view_.SetDeviceBattery(type, {kFullBattery, previous.charging});
    state.SetReachable(false);
  }
  if (!ApplyStoredDeviceInfo()) {
    HandleWriteFailure();
    return false;
  }
  view_.SetBatteryInfo(state.Battery());
  view_.SetDeviceBattery(type, state.Battery());
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
  view_.ClosePopups();
  view_.SetDeviceState(manager_.SelectedDeviceType(), ConnectionMode::kReceiver,
                       OnlineState::kOnline);
  if (State().Link()) return;
  view_.SetConnectionText(kTextWireless);
  view_.SetDeviceState(kIdsOnlyDeviceType, ConnectionMode::kReceiver, OnlineState::kOnline);
  view_.SetLinkFlag(true);
}

void DeviceJobs::PollNotification(const std::function<bool()>& interrupted) {
  uint8_t report[kNotificationBytes] = {};
  int type = 0;
  manager_.ReadNotification(report, type, interrupted);
  HandleNotification(report);
}

void DeviceJobs::HandleNotification(const uint8_t* report) {
  if (report[0] != 0) {
    Trace("mouse notify data: %02X %02X %02X %02X %02X %02X", report[0], report[1], report[2],
          report[3], report[4], report[5]);
  }
  DeviceState& state = State();
  int profile = Store().GetActiveProfile();
  if (report[0] == kNotifyDpiStage) {
    int count = report[1] & 0x0F;
    int index = report[1] >> 4;
    if (count != state.CachedCount()) {
      state.SetCachedStages(count, state.CachedIndex());
      Store().SetConfigInt(profile, "dpi_count", count);
      view_.SelectDpiStageCount(count);
      view_.RefreshPage(DevicePage::kDpi);
    }
    if (index != state.CachedIndex()) {
      state.SetCachedIndex(index);
      Store().SetConfigInt(profile, "dpi_index", index);
      int dpi = DecimalToInt(
          Store().GetConfigValue(profile, "dpi_group" + std::to_string(index) + "_value").value_or(""));
      view_.SelectDpiStage(index, dpi);
      if (state.ShowDpiTips()) view_.ShowDpiPopup(dpi);
    }
    return;
  }
  if (report[0] != kNotifyLink) return;
  view_.ClosePopups();
  int type = manager_.SelectedDeviceType();
  if (report[1] == 1) {
    const ConnectionMode mode = manager_.ActiveConnectionMode();
    // The list knows a model as wired or receiver; "none" is shown as wired.
    const ConnectionMode m = mode == ConnectionMode::kReceiver ? mode : ConnectionMode::kWired;
    view_.SetLinkFlag(true);
    view_.ShowDeviceControls(true);
    view_.SetConnectionText(mode == ConnectionMode::kReceiver ? kTextWireless : kTextWired);
    view_.SetDeviceState(type, m, OnlineState::kOnline);
    manager_.SetOnlineState(type, m, OnlineState::kOnline);
    RefreshDevicePages(true);
    if (ReadBackSettings(true)) {
      RefreshDevicePages(true);
      UpdateVersionLine();
    }
  } else {
    view_.SetLinkFlag(false);
    view_.SetConnectionText(kTextNoDevice);
    view_.ShowDeviceControls(false);
    view_.SetDeviceState(type, ConnectionMode::kReceiver, OnlineState::kOffline);
    manager_.SetOnlineState(type, ConnectionMode::kReceiver, OnlineState::kOffline);
    manager_.PollReceiverOnline();
    view_.StopMacroRecording();
    view_.ShowDeviceList(view_.GetOnlineDevCount() > 0);
  }
  if (report[2] != 0) view_.SetBatteryInfo({report[2], report[3]});
}

bool DeviceJobs::Send(CommandReport report, bool report_failure) {
  bool ok = manager_.SendCommand(report.bytes.data(), static_cast<size_t>(report.length));
  if (!ok && report_failure) HandleWriteFailure();
  return ok;
}

bool DeviceJobs::Read(uint8_t command, uint8_t* reply) {
  CommandReport request = MakeReadRequest(command);
  if (!manager_.SendCommand(request.bytes.data(), static_cast<size_t>(request.length))) return false;
  std::copy(request.bytes.begin(), request.bytes.begin() + kCommandBufferSizeForReads, reply);
  return true;
}

}  // namespace corvane
