// Profiles and configuration keys of the selected model: profiles, profile activate |
// rename, get [KEY], set KEY VALUE. Changes are written as the window's pages write
// them and sent with the job the page posts; switching profile uploads the new profile.
#include <cstdio>
#include <optional>

#include "base/text.h"
#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "cli/json_writer.h"
#include "focus/app_links.h"
#include "store/config_defaults.h"
#include "store/config_keys.h"
#include "store/settings_database.h"

namespace corvane::cli {
namespace {

constexpr int kDpiStages = 6;  // the stages the DPI page edits and the DPI jobs send

int RunProfiles(const CliOptions& options, const std::vector<std::string>& args) {
  if (!args.empty()) return CliFail("usage: profiles");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  std::vector<ProfileRecord> profiles = cli.Session().Store().GetProfiles();
  if (options.json) {
    JsonWriter json;
    json.BeginArray();
    for (const ProfileRecord& p : profiles) {
      json.BeginObject().IntMember("id", p.profile).StringMember("name", p.name)
          .BoolMember("active", p.status == 1).EndObject();
    }
    json.EndArray();
    std::printf("%s\n", json.Text().c_str());
  } else {
    for (const ProfileRecord& p : profiles) {
      std::printf("%c %d %s\n", p.status == 1 ? '*' : ' ', p.profile, p.name.c_str());
    }
  }
  return 0;
}

// Reads a profile id argument; 0 when it is not a positive number.
int ProfileArgument(const std::string& text) {
  int id = 0;
  return ParseCliNumber(text, id) && id > 0 ? id : 0;
}

int RunProfileActivate(const CliOptions& options, const std::vector<std::string>& args) {
  if (args.size() != 1 || ProfileArgument(args[0]) == 0) return CliFail("usage: profile activate ID");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  int id = ProfileArgument(args[0]);
  SettingsDatabase& store = cli.Session().Store();
  store.TakeError();
  if (!store.SetActiveProfile(id)) return StoreFail(store, "no profile " + args[0]);
  // A profile chosen by hand is the one to return to when no linked application has the focus.
  WriteDefaultProfile(cli.Store(), cli.Session().Model().DeviceAttr(), id);
  return RunJob(cli.Session().Jobs(), WorkerTask::kUploadProfile);
}

int RunProfileRename(const CliOptions& options, const std::vector<std::string>& args) {
  if (args.size() != 2 || ProfileArgument(args[0]) == 0) return CliFail("usage: profile rename ID NAME");
  if (args[1].empty()) return CliFail("a profile name cannot be empty");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  SettingsDatabase& store = cli.Session().Store();
  store.TakeError();
  if (!store.RenameProfile(ProfileArgument(args[0]), args[1])) {
    return StoreFail(store, "no profile " + args[0]);
  }
  return 0;
}

int RunGet(const CliOptions& options, const std::vector<std::string>& args) {
  if (args.size() > 1) return CliFail("usage: get [KEY]");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  SettingsDatabase& store = cli.Session().Store();
  int profile = cli.ActiveProfile();
  std::vector<std::pair<std::string, std::string>> rows;
  if (args.empty()) {
    rows = store.GetConfigValues(profile);
  } else {
    std::optional<std::string> value = store.GetConfigValue(profile, args[0]);
    if (!value) return CliFail("unknown key " + args[0]);
    rows.emplace_back(args[0], *value);
  }
  if (options.json) {
    JsonWriter json;
    json.BeginObject();
    for (const auto& [key, value] : rows) json.StringMember(key, value);
    json.EndObject();
    std::printf("%s\n", json.Text().c_str());
  } else if (args.size() == 1) {
    std::printf("%s\n", rows[0].second.c_str());
  } else {
    for (const auto& [key, value] : rows) std::printf("%s=%s\n", key.c_str(), value.c_str());
  }
  return 0;
}

// The job the window posts after storing `key`; nothing for keys no page sends (the
// pointer keys are applied by `pointer`, the rest are stored only).
std::optional<WorkerTask> JobForKey(const std::string& key) {
  if (key == kDpiCountKey || key == kDpiIndexKey) return WorkerTask::kDpiStageValues;
  for (int stage = 0; stage < kDpiStages; ++stage) {
    if (key == DpiStageValueKey(stage)) return WorkerTask::kDpiStageValues;
    if (key == DpiStageColourKey(stage)) return WorkerTask::kDpiStageColours;
  }
  if (key == kReportRateKey || key == kReportRateWirelessKey) return WorkerTask::kReportRate;
  if (key == kLiftoffHeightKey || key == kSensorFlagKey) return WorkerTask::kSensorOptions;
  if (key == kSleepLightKey || key == kMoveWakeupKey || key == kMoveCloseLightKey ||
      key == kButtonRespondTimeKey) {
    return WorkerTask::kPowerOptions;
  }
  return std::nullopt;
}

int RunSet(const CliOptions& options, const std::vector<std::string>& given) {
  std::vector<std::string> args;
  bool store_only = false;
  for (const std::string& arg : given) {
    if (arg == "--store-only") {
      store_only = true;
    } else {
      args.push_back(arg);
    }
  }
  if (args.size() != 2) return CliFail("usage: set [--store-only] KEY VALUE");
  const std::string& key = args[0];
  if (!IsConfigKey(key)) return CliFail("unknown key " + key);
  if (const std::string problem = ConfigValueProblem(key, args[1]); !problem.empty()) {
    return CliFail(problem);
  }
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  SettingsDatabase& store = cli.Session().Store();
  const int profile = cli.ActiveProfile();
  store.TakeError();
  // The active stage is one of the stages in use; fewer stages move it, as the page does.
  const int count = store.GetConfigInt(profile, kDpiCountKey, 0);
  const int index = store.GetConfigInt(profile, kDpiIndexKey, 0);
  if (key == kDpiIndexKey && DecimalToInt(args[1]) >= count) {
    return CliFail(std::string(kDpiIndexKey) + " must be below " + kDpiCountKey + " " +
                   IntToDecimal(count));
  }
  if (key == kDpiCountKey && index >= DecimalToInt(args[1]) &&
      !store.SetConfigInt(profile, kDpiIndexKey, DecimalToInt(args[1]) - 1)) {
    return StoreFail(store, "could not store " + std::string(kDpiIndexKey));
  }
  // The report-rate page writes both rate keys.
  if (key == kReportRateKey || key == kReportRateWirelessKey) {
    const bool stored = store.SetConfigValue(profile, kReportRateKey, args[1]) &&
                        store.SetConfigValue(profile, kReportRateWirelessKey, args[1]);
    if (!stored) return StoreFail(store, "could not store " + key);
  } else if (!store.SetConfigValue(profile, key, args[1])) {
    return StoreFail(store, "could not store " + key);
  }
  const std::optional<WorkerTask> job = JobForKey(key);
  if (store_only || !job) return 0;
  return RunJob(cli.Session().Jobs(), *job);
}

const CliRegistrar kProfiles("profiles", "profiles", RunProfiles);
const CliRegistrar kActivate("profile activate", "profile activate ID", RunProfileActivate);
const CliRegistrar kRename("profile rename", "profile rename ID NAME", RunProfileRename);
const CliRegistrar kGet("get", "get [KEY]", RunGet);
const CliRegistrar kSet("set", "set [--store-only] KEY VALUE", RunSet);

}  // namespace
}  // namespace corvane::cli
