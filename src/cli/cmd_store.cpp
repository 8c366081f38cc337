// Profiles and configuration keys of the selected model: profiles, profile activate |
// rename, get [KEY], set KEY VALUE. Changes are written as the window's pages write
// them; switching profile queues the upload of the new profile, as the window does.
#include <cstdio>

#include "base/text.h"
#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "cli/json_writer.h"
#include "store/config_defaults.h"
#include "store/settings_database.h"

namespace corvane::cli {
namespace {

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
  if (!cli.Session().Store().SetActiveProfile(id)) return CliFail("no profile " + args[0]);
  cli.Session().Jobs().Run(WorkerTask::kUploadProfile);
  return 0;
}

int RunProfileRename(const CliOptions& options, const std::vector<std::string>& args) {
  if (args.size() != 2 || ProfileArgument(args[0]) == 0) return CliFail("usage: profile rename ID NAME");
  if (args[1].empty()) return CliFail("a profile name cannot be empty");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  if (!cli.Session().Store().RenameProfile(ProfileArgument(args[0]), args[1])) {
    return CliFail("no profile " + args[0]);
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

int RunSet(const CliOptions& options, const std::vector<std::string>& args) {
  if (args.size() != 2) return CliFail("usage: set KEY VALUE");
  if (!IsConfigKey(args[0])) return CliFail("unknown key " + args[0]);
  if (!IsValidConfigValue(args[0], args[1])) {
    return CliFail("value for " + args[0] + " must be a decimal number");
  }
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  if (!cli.Session().Store().SetConfigValue(cli.ActiveProfile(), args[0], args[1])) {
    return CliFail("could not store " + args[0]);
  }
  return 0;
}

const CliRegistrar kProfiles("profiles", "profiles", RunProfiles);
const CliRegistrar kActivate("profile activate", "profile activate ID", RunProfileActivate);
const CliRegistrar kRename("profile rename", "profile rename ID NAME", RunProfileRename);
const CliRegistrar kGet("get", "get [KEY]", RunGet);
const CliRegistrar kSet("set", "set KEY VALUE", RunSet);

}  // namespace
}  // namespace corvane::cli
