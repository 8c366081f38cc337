// The jobs that send the active profile to the mouse: performance commands, the
// button table with a pending macro, the lighting mode and its read-back, the factory
// DPI stages, restore defaults and the whole-profile upload.
#include <string>
#include <vector>

#include "base/text.h"
#include "base/trace.h"
#include "device/device_manager.h"
#include "protocol/device_jobs.h"
#include "protocol/model_context.h"
#include "protocol/performance_commands.h"
#include "protocol/worker_view.h"
#include "settings/button_table_encoding.h"
#include "settings/light_payload.h"
#include "settings/macro_packets.h"
#include "store/settings_database.h"

namespace corvane {
namespace {

constexpr int kLightResetPauseMs = 100;
constexpr int kMacroFamily = 4;

}  // namespace

void DeviceJobs::PerformanceJob(WorkerTask task) {
  SettingsDatabase& store = Store();
  int profile = store.GetActiveProfile();
  ConfigReader config = [&store, profile](const std::string& key) {
    return DecimalToInt(store.GetConfigValue(profile, key).value_or(""));
  };
  CommandReport report;
  switch (task) {
    case WorkerTask::kDpiStageValues:
      report = BuildDpiStagesCommand(config, State().Sensor());
      break;
    case WorkerTask::kDpiStageColours:
      report = BuildDpiColoursCommand(config);
      break;
    case WorkerTask::kReportRate:
      report = BuildReportRateCommand(config);
      break;
    case WorkerTask::kSensorOptions:
      report = BuildSensorCommand(config);
      break;
    case WorkerTask::kPowerOptions:
      report = BuildPowerCommand(config);
      break;
    default: return;
  }
  Send(report, true);
}

bool DeviceJobs::SendMacro(int button, int macro_id) {
  if (!Store().GetMacro(macro_id)) return false;  // deleted since it was assigned
  std::vector<MacroEventRecord> events = Store().GetMacroEvents(macro_id);
  std::vector<CommandReport> packets;
  if (!MacroPackets(MacroBlob(button, events), packets)) {
    // The editor refuses such macros; one stored by an older version is not sent cut.
    Trace("macro %d too long to send", macro_id);
    return false;
  }
  bool ok = false;
  for (const CommandReport& packet : packets) ok = Send(packet, false);
  return ok;
}

void DeviceJobs::ButtonJob() {
  SettingsDatabase& store = Store();
  int profile = store.GetActiveProfile();
  std::vector<KeyAssignRecord> rows = store.GetKeyAssigns(profile);
  int pending = State().TakePendingMacroButton();
  if (pending >= 0) {
    for (const KeyAssignRecord& row : rows) {
      if (row.fn_layer == 0 && row.macro_type == kMacroFamily && row.key_code == pending) {
        SendMacro(pending, row.macro_value);
      }
    }
  }
  Send(ButtonCommand(BuildButtonTable(rows, store.GetMacros())), true);
}

void DeviceJobs::LightingJob() {
  if (!model_.HasLighting()) return;
  SettingsDatabase& store = Store();
  int profile = store.GetActiveProfile();
  std::optional<LightRecord> row = store.GetLight(profile, store.GetActiveLight(profile));
  if (!row) return;
  Send(LightingCommand(*row), true);
}

void DeviceJobs::LightingReadback(bool with_reset) {
  if (with_reset) {
    CommandReport reset = MakeCommand(kLightResetCommand, 0x01, kShortReportLength);
    reset.bytes[kReportPayloadByte] = 0x01;
    Send(reset, false);
    Pause(kLightResetPauseMs);
  }
  uint8_t reply[kCommandBufferSizeForReads] = {};
  if (!Read(kLightReadCommand, reply)) return;
  SettingsDatabase& store = Store();
  int profile = store.GetActiveProfile();
  int mode = reply[4];
  store.SetActiveLight(profile, mode);
  if (std::optional<LightRecord> row = store.GetLight(profile, mode)) {
    row->brightness = reply[5] >> 4;
    row->speed = reply[5] & 0x0F;
    store.UpdateLight(mode, *row);
  }
  if (with_reset) view_.RefreshPage(DevicePage::kLighting);
}

void DeviceJobs::FactoryDpiJob() {
  SettingsDatabase& store = Store();
  int profile = store.GetActiveProfile();
  if (std::optional<FactoryDefaults> defaults = model_.ReadFactoryDefaults()) {
    store.ApplyDeviceDefaults(profile, FactoryConfigValues(*defaults, true, false));
  }
  view_.RefreshPage(DevicePage::kDpi);
  PerformanceJob(WorkerTask::kDpiStageValues);
  PerformanceJob(WorkerTask::kDpiStageColours);
}

void DeviceJobs::RestoreDefaultsJob() {
  Send(BuildRestoreDefaultsCommand(), false);  // the mouse's answer does not matter
  State().ForgetReads();
  model_.EnsureProfiles();
  SettingsDatabase& store = Store();
  DeviceConfigDefaults factory;
  if (std::optional<FactoryDefaults> defaults = model_.ReadFactoryDefaults()) {
    factory = FactoryConfigValues(*defaults, true, true);
  }
  DeviceConfigDefaults built_in;
  for (const ConfigDefault& row : DefaultConfigRows()) {
    built_in[std::string(row.key)] = std::string(row.value);
  }
  for (const ProfileRecord& profile : store.GetProfiles()) {
    store.ApplyDeviceDefaults(profile.profile, built_in);
    store.ApplyDeviceDefaults(profile.profile, factory);
    store.DeleteKeyAssigns(profile.profile);
  }
  RefreshDevicePages(true);
  view_.RefreshPage(DevicePage::kDpi);
}

void DeviceJobs::UploadProfileJob() {
  RefreshDevicePages(false);
  ButtonJob();
  if (model_.HasLighting()) LightingJob();
  for (WorkerTask task :
       {WorkerTask::kDpiStageValues, WorkerTask::kDpiStageColours, WorkerTask::kReportRate,
        WorkerTask::kSensorOptions, WorkerTask::kPowerOptions}) {
    PerformanceJob(task);
  }
}

}  // namespace corvane
