// Job dispatch, device list rebuilds, read-back and the idle notification poll.
// The upload jobs (performance, buttons, macros, lighting) are in upload_jobs.cpp.
#include "worker/device_jobs.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <utility>

#include "base/text.h"
#include "base/trace.h"
#include "device/device_entry.h"
#include "device/device_manager.h"
#include "protocol/performance_commands.h"
#include "worker/worker_view.h"
#include "protocol/button_table_encoding.h"
#include "settings/dpi_stages.h"
#include "protocol/light_payload.h"
#include "protocol/macro_packets.h"
#include "protocol/device_info.h"
#include "store/config_keys.h"
#include "store/settings_database.h"
#include "worker/device_refresh.h"
#include "worker/model_context.h"

namespace corvane {
namespace {

constexpr int kRemovalPauseMs = 500;
constexpr int kFullBattery = 100;
constexpr size_t kMaxKeptFailures = 64;

// "%s: V%s.%s" (or without the V) from a version text: first character, last two.
std::string VersionText(const std::string& label, const std::string& version, bool with_v) {
  if (version.empty()) return std::string();
  std::string major = version.substr(0, 1);
  std::string minor = version.size() >= 2 ? version.substr(version.size() - 2) : version;
  return label + ": " + (with_v ? "V" : "") + major + "." + minor;
}

}  // namespace

std::optional<WorkerTask> RestoringTask(uint8_t command) {
  switch (static_cast<CommandId>(command)) {
    case CommandId::kReportRate:
    case CommandId::kReadReportRate: return WorkerTask::kReportRate;
    case CommandId::kDpiStages:
    case CommandId::kReadDpiStages: return WorkerTask::kDpiStageValues;
    case CommandId::kDpiColours:
    case CommandId::kReadDpiColours: return WorkerTask::kDpiStageColours;
    case CommandId::kSensor:
    case CommandId::kReadSensor: return WorkerTask::kSensorOptions;
    case CommandId::kPower:
    case CommandId::kReadPower: return WorkerTask::kPowerOptions;
    case CommandId::kLighting:
    case CommandId::kReadLighting: return WorkerTask::kLightingMode;
    // A confirmed reset the mouse missed is sent again as a reset, not as the rows after it.
    case CommandId::kLightReset: return WorkerTask::kLightingReadback;
    case CommandId::kMacro:
    case CommandId::kButtons: return WorkerTask::kButtonTable;
    case CommandId::kRestoreDefaults: return WorkerTask::kUploadProfile;
    default: return std::nullopt;  // reads that store nothing
  }
}

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
    if (jobs_.job_depth_++ == 0) jobs_.job_failed_ = jobs_.mouse_gone_ = false;
  }
  ~JobScope() { --jobs_.job_depth_; }
  JobScope(const JobScope&) = delete;
  JobScope& operator=(const JobScope&) = delete;

 private:
  DeviceJobs& jobs_;
};

std::vector<DeviceJobs::CommandFailure> DeviceJobs::TakeFailures() {
  return std::exchange(failures_, {});
}

bool DeviceJobs::Run(WorkerTask task) {
  JobScope scope(*this);
  const bool known = RunJob(task);
  // A job that went through shows the mouse takes commands again: give it what it missed.
  if (known && !job_failed_) SendOwed();
  ShowWhetherInStep();
  return known;
}

void DeviceJobs::RetryOwed() {
  if (owed_.empty()) return;
  JobScope scope(*this);
  SendOwed();
  ShowWhetherInStep();
}

std::string DeviceJobs::OwedText() const {
  std::string text;
  for (WorkerTask task : owed_) {
    if (!text.empty()) text += ',';
    text += std::to_string(static_cast<int>(task));
  }
  return text;
}

void DeviceJobs::OweAgain(std::string_view text) {
  std::set<WorkerTask> restoring;
  for (int command = 0; command <= 0xFF; ++command) {
    if (const auto task = RestoringTask(static_cast<uint8_t>(command))) restoring.insert(*task);
  }
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find(',', start), text.size());
    int number = 0;
    const bool read = ParseExactDecimal(text.substr(start, end - start), number);
    if (read && restoring.count(static_cast<WorkerTask>(number)) != 0) {
      owed_.insert(static_cast<WorkerTask>(number));
    }
    start = end + 1;
  }
}

bool DeviceJobs::HasUnnamedDevices() const { return manager_.HasUnnamedEntries(); }

bool DeviceJobs::NameRefusingDevices() {
  if (!manager_.NameUnnamedEntries()) return false;
  Run(WorkerTask::kArrival);
  return true;
}

void DeviceJobs::ShowWhetherInStep() {
  if (!State().Link()) return;  // the off line says more than this one
  const bool behind = !owed_.empty();
  if (!behind && !shown_behind_) return;
  shown_behind_ = behind;
  const ConnectionMode mode = manager_.ActiveConnectionMode();
  list_.SetConnectionText(behind                              ? kTextNotInStep
                          : mode == ConnectionMode::kReceiver ? kTextWireless
                                                              : kTextWired);
}

bool DeviceJobs::RunJob(WorkerTask task) {
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
  uint8_t info[kDeviceInfoSize] = {};
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
  // The stored reply may predate the link report that brought us here, which is newer.
  if (after_link) state.SetReachable(true);
  battery_.SetBatteryInfo(state.Battery());
  battery_.SetDeviceBattery(type, state.Battery());
  if (!state.Reachable()) {
    HandleWriteFailure();
    return false;
  }
  if (!state.MarkRead(type)) return true;

  uint8_t reply[kReportBufferSize] = {};
  Read(CommandId::kReadAll, reply);
  int profile = Store().GetActiveProfile();
  int sensor = state.Sensor();
  // Every read runs: a failed one skips only its own values. A value the mouse still owes
  // (changed while it was off) is newer in the store and is not read over.
  const auto read_into_store = [&](CommandId command) {
    if (Owes(*RestoringTask(Byte(command)))) return;
    if (Read(command, reply)) {
      StoreWrites(profile, ParsePerformanceReadback(command, reply, sizeof reply, sensor));
    }
  };
  for (CommandId command :
       {CommandId::kReadReportRate, CommandId::kReadDpiStages, CommandId::kReadDpiColours}) {
    read_into_store(command);
  }
  if (!Owes(WorkerTask::kLightingMode)) LightingReadback(false);
  for (CommandId command : {CommandId::kReadSensor, CommandId::kReadPower}) {
    read_into_store(command);
  }
  CacheDpiStages();  // the mouse's stage is now the stored one
  if (!after_link && manager_.ActiveConnectionMode() == ConnectionMode::kReceiver &&
      Read(CommandId::kReadFirmwareVersion, reply)) {
    state.SetMouseVersion(
        FirmwareVersionText(reply[kFirmwareVersionHighByte], reply[kFirmwareVersionLowByte]));
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
  if (!State().Reachable()) {
    // The receiver says the mouse is off: show that, not a connected mouse.
    if (State().Link()) ShowMouseOff();
    return;
  }
  list_.SetDeviceState(manager_.SelectedDeviceType(), ConnectionMode::kReceiver,
                       OnlineState::kOnline);
  if (State().Link()) return;
  list_.SetConnectionText(kTextWireless);
  list_.SetDeviceState(kIdsOnlyDeviceType, ConnectionMode::kReceiver, OnlineState::kOnline);
  list_.SetLinkFlag(true);
}

uint8_t DeviceJobs::PollNotification(ReadWake* wake) {
  uint8_t report[kNotificationSize] = {};
  int type = 0;
  manager_.ReadNotification(report, type, wake);
  HandleNotification(report);
  return report[kNotificationTypeByte];
}

void DeviceJobs::HandleNotification(const uint8_t* report) {
  // Most idle turns read nothing; they must not cost a database query.
  if (report[kNotificationTypeByte] == 0) return;
  Trace("mouse notify data: %02X %02X %02X %02X %02X %02X", report[0], report[1], report[2],
        report[3], report[4], report[5]);
  DeviceState& state = State();
  DpiStageSelection stages;
  if (ParseDpiNotification(report, stages)) {
    const int profile = Store().GetActiveProfile();
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
      int dpi = Store().GetConfigInt(profile, DpiStageValueKey(index), 0);
      pages_.SelectDpiStage(index, dpi);
      if (state.ShowDpiTips()) pages_.ShowDpiPopup(dpi);
    }
    return;
  }
  LinkChange link;
  if (!ParseLinkNotification(report, link)) return;
  list_.ClosePopups();
  const int type = manager_.SelectedDeviceType();
  if (link.linked) {
    const ConnectionMode mode = manager_.ActiveConnectionMode();
    // The list knows a model as wired or receiver; "none" is shown as wired.
    const ConnectionMode m = mode == ConnectionMode::kReceiver ? mode : ConnectionMode::kWired;
    list_.SetLinkFlag(true);
    list_.ShowDeviceControls(true);
    list_.SetConnectionText(mode == ConnectionMode::kReceiver ? kTextWireless : kTextWired);
    list_.SetDeviceState(type, m, OnlineState::kOnline);
    manager_.SetOnlineState(type, m, OnlineState::kOnline);
    list_.ShowDeviceList(true);
    RefreshDevicePages(true);
    JobScope scope(*this);
    if (ReadBackSettings(true)) {
      RefreshDevicePages(true);
      UpdateVersionLine();
      SendOwed();  // what was changed while the mouse was off
      ShowWhetherInStep();
    }
  } else {
    ShowMouseOff();
  }
  if (link.has_battery) battery_.SetBatteryInfo(link.battery);
}

void DeviceJobs::ShowMouseOff() {
  const int type = manager_.SelectedDeviceType();
  State().SetReachable(false);
  list_.SetLinkFlag(false);
  list_.SetConnectionText(kTextNoDevice);
  list_.ShowDeviceControls(false);
  list_.SetDeviceState(type, ConnectionMode::kReceiver, OnlineState::kOffline);
  manager_.SetOnlineState(type, ConnectionMode::kReceiver, OnlineState::kOffline);
  manager_.PollReceiverOnline();
  pages_.StopMacroRecording();
  list_.ShowDeviceList(list_.GetOnlineDevCount() > 0);
}

bool DeviceJobs::Transact(uint8_t* bytes, size_t length, bool& skipped) {
  const uint8_t command = bytes[kReportCommandByte];  // the buffer holds the reply afterwards
  skipped = mouse_gone_;
  if (!skipped && manager_.SendCommand(bytes, length)) return true;
  const CommandOutcome outcome = skipped ? CommandOutcome::kNoReply : manager_.LastCommandOutcome();
  // Nobody collects them in the window; keep the newest for whoever asks.
  if (failures_.size() >= kMaxKeptFailures) failures_.erase(failures_.begin());
  failures_.push_back(CommandFailure{command, outcome, skipped});
  Owe(command);
  if (job_depth_ > 0) {
    job_failed_ = true;
    // One lost or refused reply costs only its own step; a mouse that has gone would make
    // each further command wait out the whole reply time for nothing.
    if (!skipped && !MouseStillAnswers(outcome)) mouse_gone_ = true;
  }
  return false;
}

bool DeviceJobs::MouseStillAnswers(CommandOutcome outcome) {
  if (outcome == CommandOutcome::kWriteFailed) return false;
  if (manager_.ActiveConnectionMode() != ConnectionMode::kReceiver) return true;
  CommandReport query = MakeReadRequest(CommandId::kDeviceInfo);
  // A receiver that does not answer this either says nothing about the mouse; only its
  // answer "not reachable" means the mouse is off.
  if (!manager_.SendCommand(query.bytes.data(), query.length)) return false;
  const bool reachable = query.bytes[kInfoReachableByte] != 0;
  State().SetReachable(reachable);
  return reachable;
}

void DeviceJobs::Owe(uint8_t command) {
  if (const std::optional<WorkerTask> task = RestoringTask(command)) owed_.insert(*task);
}

bool DeviceJobs::Owes(WorkerTask task) const {
  return owed_.count(task) != 0 || owed_.count(WorkerTask::kUploadProfile) != 0;
}

void DeviceJobs::SendOwed() {
  if (owed_.empty() || !State().Link()) return;
  const std::set<WorkerTask> owed = std::exchange(owed_, {});
  // The whole-profile upload carries everything else.
  if (owed.count(WorkerTask::kUploadProfile) != 0) {
    UploadProfileJob();
    return;
  }
  for (WorkerTask task : owed) RunJob(task);
}

bool DeviceJobs::Send(CommandReport report, bool report_failure) {
  bool skipped = false;
  bool ok = Transact(report.bytes.data(), static_cast<size_t>(report.length), skipped);
  if (!ok && report_failure && !skipped) HandleWriteFailure();
  return ok;
}

bool DeviceJobs::Read(CommandId command, uint8_t* reply) {
  CommandReport request = MakeReadRequest(command);
  bool skipped = false;
  if (!Transact(request.bytes.data(), static_cast<size_t>(request.length), skipped)) return false;
  std::copy(request.bytes.begin(), request.bytes.end(), reply);
  return true;
}

}  // namespace corvane
