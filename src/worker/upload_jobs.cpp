// The jobs that send the active profile to the mouse: performance commands, the
// button table with the marked buttons' macros, the lighting mode and its read-back, the factory
// DPI stages, restore defaults and the whole-profile upload.
#include <set>
#include <string>
#include <vector>

#include "base/text.h"
#include "base/trace.h"
#include "device/device_manager.h"
#include "protocol/performance_commands.h"
#include "protocol/button_table_encoding.h"
#include "protocol/light_payload.h"
#include "settings/lighting_model.h"
#include "protocol/macro_packets.h"
#include "store/settings_database.h"
#include "worker/device_jobs.h"
#include "worker/model_context.h"
#include "worker/worker_view.h"

namespace corvane {
namespace {

constexpr int kLightResetPauseMs = 100;
constexpr int kMacroFamily = 4;

}  // namespace

void DeviceJobs::PerformanceJob(WorkerTask task) {
  SettingsDatabase& store = Store();
  int profile = store.GetActiveProfile();
  ConfigReader config = [&store, profile](const std::string& key) {
    return store.GetConfigInt(profile, key, 0);
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
    default:
      return;
  }
  const bool sent = Send(report, true);
  if (task != WorkerTask::kDpiStageValues && task != WorkerTask::kDpiStageColours) return;
  // The pop-up confirms a stage the mouse took, never one it refused.
  const std::optional<int> popup = State().TakePendingDpiPopup();
  if (sent && popup) pages_.ShowDpiPopup(*popup);
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
  bool ok = true;
  for (const CommandReport& packet : packets) ok = Send(packet, false) && ok;
  // A macro that did not arrive whole goes again with the next button table.
  if (!ok) State().MarkMacroButton(button);
  return ok;
}

void DeviceJobs::SendMacros(const std::set<int>& buttons,
                            const std::vector<KeyAssignRecord>& rows) {
  for (const KeyAssignRecord& row : rows) {
    if (row.fn_layer == 0 && row.macro_type == kMacroFamily && buttons.count(row.key_code) != 0) {
      SendMacro(row.key_code, row.macro_value);
    }
  }
}

void DeviceJobs::ButtonJob() {
  SettingsDatabase& store = Store();
  int profile = store.GetActiveProfile();
  std::vector<KeyAssignRecord> rows = store.GetKeyAssigns(profile);
  SendMacros(State().TakeMarkedMacroButtons(), rows);
  Send(ButtonCommand(BuildButtonTable(rows, store.GetMacros())), true);
}

void DeviceJobs::LightingJob() {
  if (!model_.HasLighting()) return;
  SettingsDatabase& store = Store();
  int profile = store.GetActiveProfile();
  // A profile whose lighting page was never loaded (imported, or only used from the
  // command line) has no rows yet; the page load's first step makes them.
  EnsureLightRows(store, profile, model_.Definition().light_modes);
  std::optional<LightRecord> row = store.GetLight(profile, store.GetActiveLight(profile));
  if (!row) return;
  Send(LightingCommand(*row), true);
}

void DeviceJobs::LightingReadback(bool with_reset) {
  SettingsDatabase& store = Store();
  const int profile = store.GetActiveProfile();
  const LightModeFlags& modes = model_.Definition().light_modes;
  // A profile that never showed the lighting page has no rows for the reply to land in.
  if (model_.HasLighting()) EnsureLightRows(store, profile, modes);
  if (with_reset) {
    const CommandReport reset = LightResetCommand();
    // The mouse's lighting is its factory effect now; so are the profile's rows. The reply
    // below then says which mode and level the mouse starts from. A reset the mouse did not
    // take was still confirmed: the rows are reset all the same and the lighting they hold
    // is owed to the mouse, so it gets the factory lighting once it takes commands.
    Send(reset, false);
    if (model_.HasLighting()) ResetLightRows(store, profile, modes);
    Pause(kLightResetPauseMs);
  }
  uint8_t reply[kReportBufferSize] = {};
  if (Read(CommandId::kReadLighting, reply)) {
    const LightReading reading = ParseLightReadback(reply);
    store.SetActiveLight(profile, reading.mode);
    if (std::optional<LightRecord> row = store.GetLight(profile, reading.mode)) {
      row->brightness = reading.brightness;
      row->speed = reading.speed;
      store.UpdateLight(reading.mode, *row);
    }
  }
  if (with_reset) pages_.RefreshPage(DevicePage::kLighting);
}

void DeviceJobs::FactoryDpiJob() {
  SettingsDatabase& store = Store();
  int profile = store.GetActiveProfile();
  if (std::optional<FactoryDefaults> defaults = model_.ReadFactoryDefaults()) {
    store.ApplyDeviceDefaults(profile, FactoryConfigValues(*defaults, true, false));
  }
  CacheDpiStages();
  pages_.RefreshPage(DevicePage::kDpi);
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
    if (model_.HasLighting()) {
      ResetLightRows(store, profile.profile, model_.Definition().light_modes);
    }
  }
  // The definition's factory values need not be the firmware's: send the profile so the
  // mouse holds what the pages now show.
  UploadProfileJob();
  pages_.RefreshPage(DevicePage::kMacro);
  pages_.RefreshPage(DevicePage::kDpi);
}

void DeviceJobs::UploadProfileJob() {
  CacheDpiStages();  // a profile change: its stages are what the mouse gets now
  RefreshDevicePages(false);
  // Another profile may have left its own macros on these buttons.
  for (const KeyAssignRecord& row : Store().GetKeyAssigns(Store().GetActiveProfile())) {
    if (row.macro_type == kMacroFamily) State().MarkMacroButton(row.key_code);
  }
  ButtonJob();
  if (model_.HasLighting()) LightingJob();
  for (WorkerTask task :
       {WorkerTask::kDpiStageValues, WorkerTask::kDpiStageColours, WorkerTask::kReportRate,
        WorkerTask::kSensorOptions, WorkerTask::kPowerOptions}) {
    PerformanceJob(task);
  }
}

}  // namespace corvane
