#include "worker/desktop_status.h"

#include <algorithm>
#include <cstdio>

#include "catalogue/device_catalogue.h"
#include "device/device_manager.h"
#include "settings/battery_warnings.h"
#include "settings/device_state.h"
#include "settings/dpi_stages.h"
#include "store/settings_database.h"
#include "worker/device_jobs.h"

namespace corvane {
namespace {

// Reading the stages posts nothing; the page logic wants somewhere to post to.
class NoPoster : public TaskPoster {
 public:
  void Post(WorkerTask) override {}
};

DesktopDevice DeviceOf(const DeviceEntryInfo& entry, const DesktopSources& sources, int selected,
                       ConnectionMode active_mode) {
  DesktopDevice device;
  const CatalogEntry* model = sources.catalogue.FindModel(entry.device_type);
  device.model = model != nullptr ? model->name : "";
  device.device_type = entry.device_type;
  device.connection = ModeNumber(entry.mode);
  device.online = entry.online_state == OnlineState::kOnline;
  device.active = entry.device_type == selected && entry.mode == active_mode;
  BatteryStatus battery = BatteryFromDeviceInfo(entry.device_info.data());
  if (device.active && sources.live_battery) battery = *sources.live_battery;
  device.battery = battery.level;
  device.charging = battery.charging == kBatteryCharging;
  // Through the receiver the version is the mouse's answer to the read-back; on a cable
  // the interface's release number is the mouse's own.
  if (entry.mode == ConnectionMode::kWired) {
    device.firmware = ReleaseVersionText(entry.release_number);
  } else if (device.active) {
    device.firmware = sources.state.MouseVersion();
  }
  return device;
}

void AddStoreValues(const DesktopSources& sources, DesktopStatus& status) {
  SettingsDatabase& store = sources.store;
  if (!store.IsOpen()) return;
  status.active_profile = store.GetActiveProfile();
  for (const ProfileRecord& record : store.GetProfiles()) {
    status.profiles.push_back({record.profile, record.name, record.status == 1});
  }
  NoPoster poster;
  const DpiPageView view = DpiStages(store, sources.state, poster).View();
  for (const DpiStage& stage : view.stages) status.dpi_stages.push_back(stage.value);
  status.active_dpi_stage = view.index;
}

bool SameInterface(const DesktopDevice& a, const DesktopDevice& b) {
  return a.model == b.model && a.device_type == b.device_type && a.connection == b.connection;
}

const DesktopDevice* FindInterface(const std::vector<DesktopDevice>& list,
                                   const DesktopDevice& device) {
  auto it = std::find_if(list.begin(), list.end(),
                         [&](const DesktopDevice& other) { return SameInterface(other, device); });
  return it == list.end() ? nullptr : &*it;
}

void CompareDevices(const DesktopStatus& before, const DesktopStatus& after,
                    DesktopChanges& changes) {
  for (const DesktopDevice& now : after.devices) {
    const DesktopDevice* was = FindInterface(before.devices, now);
    if (was == nullptr || was->online != now.online) changes.online.push_back(now);
    if (was != nullptr && (was->battery != now.battery || was->charging != now.charging)) {
      changes.battery.push_back(now);
    }
  }
  for (const DesktopDevice& was : before.devices) {
    if (FindInterface(after.devices, was) == nullptr) {
      DesktopDevice gone = was;
      gone.online = false;
      gone.active = false;
      changes.online.push_back(gone);
    }
  }
}

}  // namespace

int DesktopStatus::ActiveDpi() const {
  if (active_dpi_stage < 0 || active_dpi_stage >= static_cast<int>(dpi_stages.size())) return 0;
  return dpi_stages[static_cast<size_t>(active_dpi_stage)];
}

DesktopStatus AssembleDesktopStatus(const DesktopSources& sources) {
  DesktopStatus status;
  const int selected = sources.manager.SelectedDeviceType();
  const ConnectionMode active_mode = sources.manager.ActiveConnectionMode();
  for (const DeviceEntryInfo& entry : sources.manager.Entries()) {
    DesktopDevice device = DeviceOf(entry, sources, selected, active_mode);
    // One row per interface kind: a receiver's further collections repeat it.
    if (FindInterface(status.devices, device) == nullptr) status.devices.push_back(device);
  }
  AddStoreValues(sources, status);
  return status;
}

DesktopChanges CompareDesktopStatus(const DesktopStatus& before, const DesktopStatus& after) {
  DesktopChanges changes;
  if (before.devices != after.devices) changes.properties.push_back(kPropertyDevices);
  if (before.active_profile != after.active_profile) {
    changes.properties.push_back(kPropertyActiveProfile);
  }
  if (before.profiles != after.profiles) changes.properties.push_back(kPropertyProfiles);
  if (before.dpi_stages != after.dpi_stages) changes.properties.push_back(kPropertyDpiStages);
  if (before.active_dpi_stage != after.active_dpi_stage) {
    changes.properties.push_back(kPropertyActiveDpiStage);
  }
  CompareDevices(before, after, changes);
  changes.profile = before.active_profile != after.active_profile;
  changes.dpi_stage =
      before.active_dpi_stage != after.active_dpi_stage || before.ActiveDpi() != after.ActiveDpi();
  return changes;
}

std::optional<DesktopError> CheckProfileRequest(const DesktopStatus& status, int id, bool linked) {
  if (!linked) return DesktopError{kErrorNotConnected, "the mouse is not connected"};
  for (const DesktopProfile& profile : status.profiles) {
    if (profile.id == id) return std::nullopt;
  }
  return DesktopError{kErrorNoSuchProfile, "no profile with id " + std::to_string(id)};
}

std::optional<DesktopError> CheckStageRequest(const DesktopStatus& status, int stage, bool linked) {
  if (!linked) return DesktopError{kErrorNotConnected, "the mouse is not connected"};
  if (stage < 0 || stage >= static_cast<int>(status.dpi_stages.size())) {
    return DesktopError{kErrorInvalidArgs,
                        "stage " + std::to_string(stage) + " is not one of the " +
                            std::to_string(status.dpi_stages.size()) + " stages (0 is the first)"};
  }
  return std::nullopt;
}

std::optional<DesktopError> CheckStageValueRequest(const DesktopStatus& status, int stage, int dpi,
                                                   bool linked) {
  if (auto error = CheckStageRequest(status, stage, linked)) return error;
  if (dpi <= 0) return DesktopError{kErrorInvalidArgs, "a DPI value is above 0"};
  return std::nullopt;
}

DesktopError CommandError(uint8_t command, CommandOutcome outcome) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", command);
  const std::string kept = "; the stored settings keep the values given";
  switch (outcome) {
    case CommandOutcome::kRefused:
      return {kErrorRefused, "the mouse refused command " + std::string(hex) + kept};
    case CommandOutcome::kWriteFailed:
      return {kErrorWriteFailed, "could not send command " + std::string(hex) + kept};
    default:
      break;
  }
  return {kErrorNoReply, "the mouse did not answer command " + std::string(hex) + kept};
}

}  // namespace corvane
