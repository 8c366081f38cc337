// corvane-cli update check: runs the software and firmware version checks against the
// update server named in config.xml and the model's definition, and shows both sides of
// each comparison with the resulting state.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "cli/json_writer.h"
#include "worker/device_jobs.h"
#include "worker/device_session.h"
#include "worker/recording_device_view.h"
#include "worker/update_jobs.h"

namespace corvane::cli {
namespace {

// The word shown for an update state in plain text.
const char* StateWord(int state) {
  switch (state) {
    case kUpdateAvailable: return "update available";
    case kUpdateUpToDate: return "up to date";
    default: return "not checked";
  }
}

void WriteCheck(JsonWriter& json, const char* name, const std::string& own,
                const VersionCheckState& check) {
  json.Key(name)
      .BeginObject()
      .StringMember("own", own)
      .StringMember("new", check.new_version)
      .IntMember("state", check.state)
      .EndObject();
}

// One plain-text line; the server's text is shown quoted because it is taken verbatim.
void PrintCheck(const char* name, const std::string& own, const VersionCheckState& check) {
  std::printf("%s: own %s, new %s: %s\n", name, own.empty() ? "(unknown)" : own.c_str(),
              check.new_version.empty() ? "(none)" : JsonWriter::Quote(check.new_version).c_str(),
              StateWord(check.state));
}

int RunUpdateCheck(const CliOptions& options, const std::vector<std::string>& args) {
  if (!args.empty()) return CliFail("usage: update check");
  CliSession cli;
  std::string error;
  // The software check needs no mouse; the firmware check is skipped without a model.
  if (!cli.Open(options, error)) return CliFail(error);
  DeviceSession& session = cli.Session();
  UpdateJobs& updates = session.Updates();
  // The window's check follows a read-back; here the version is asked for first instead.
  const std::string mouse = updates.MouseFirmwareVersion();
  updates.TakeFailure();
  session.Jobs().Run(WorkerTask::kSoftwareCheck);
  const std::optional<UpdateJobs::Failure> software_failure = updates.TakeFailure();
  session.Jobs().Run(WorkerTask::kFirmwareCheck);
  const std::optional<UpdateJobs::Failure> firmware_failure = updates.TakeFailure();

  if (options.json) {
    JsonWriter json;
    json.BeginObject();
    WriteCheck(json, "software", updates.OwnVersion(), updates.Software());
    WriteCheck(json, "firmware", mouse, updates.Firmware());
    json.EndObject();
    std::printf("%s\n", json.Text().c_str());
  } else {
    PrintCheck("software", updates.OwnVersion(), updates.Software());
    PrintCheck("firmware", mouse, updates.Firmware());
  }
  // Both sides are shown first; a check that could not be made fails the command.
  for (const auto& failure : {software_failure, firmware_failure}) {
    if (failure) CliFail(failure->text);
  }
  return software_failure || firmware_failure ? 1 : 0;
}

const CliRegistrar kUpdateCheck("update check", "update check", RunUpdateCheck);

}  // namespace
}  // namespace corvane::cli
