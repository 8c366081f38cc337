// Profiles that follow the focused application: profile link ID NAME, profile unlink ID
// NAME, profile links, and follow, which switches profiles headless until it is ended
// (SIGINT or SIGTERM) — for a session without the window.
#include <signal.h>

#include <cstdio>
#include <string>

#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "cli/json_writer.h"
#include "focus/app_links.h"
#include "focus/follow_service.h"
#include "focus/process_focus_source.h"
#include "focus/x11_focus_source.h"
#include "store/settings_database.h"

namespace corvane::cli {
namespace {

int ProfileId(const std::string& text) {
  int id = 0;
  return ParseCliNumber(text, id) && id > 0 ? id : 0;
}

int RunLink(const CliOptions& options, const std::vector<std::string>& args) {
  if (args.size() != 2 || ProfileId(args[0]) == 0) return CliFail("usage: profile link ID NAME");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  SettingsDatabase& store = cli.Session().Store();
  store.TakeError();
  int moved_from = 0;
  switch (LinkApp(store, ProfileId(args[0]), args[1], moved_from)) {
    case LinkResult::kLinked:
      if (moved_from != 0) {
        std::printf("%s moved from profile %d\n", NormalizeAppName(args[1]).c_str(), moved_from);
      }
      return 0;
    case LinkResult::kAlreadyLinked:
      return 0;
    case LinkResult::kNoProfile:
      return CliFail("no profile " + args[0]);
    case LinkResult::kBadName:
      return CliFail("an application name cannot be empty or hold ';' or control characters");
    case LinkResult::kStoreFailed:
      break;
  }
  return StoreFail(store, "could not store the link");
}

int RunUnlink(const CliOptions& options, const std::vector<std::string>& args) {
  if (args.size() != 2 || ProfileId(args[0]) == 0) return CliFail("usage: profile unlink ID NAME");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  SettingsDatabase& store = cli.Session().Store();
  store.TakeError();
  switch (UnlinkApp(store, ProfileId(args[0]), args[1])) {
    case UnlinkResult::kUnlinked:
      return 0;
    case UnlinkResult::kNotLinked:
      return CliFail(args[1] + " is not linked to profile " + args[0]);
    case UnlinkResult::kNoProfile:
      return CliFail("no profile " + args[0]);
    case UnlinkResult::kStoreFailed:
      break;
  }
  return StoreFail(store, "could not remove the link");
}

int RunLinks(const CliOptions& options, const std::vector<std::string>& args) {
  if (!args.empty()) return CliFail("usage: profile links");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  const std::vector<ProfileRecord> profiles = cli.Session().Store().GetProfiles();
  if (options.json) {
    JsonWriter json;
    json.BeginArray();
    for (const ProfileRecord& p : profiles) {
      json.BeginObject().IntMember("id", p.profile).StringMember("name", p.name);
      json.Key("apps").BeginArray();
      for (const std::string& app : SplitApps(p.app)) json.String(app);
      json.EndArray().EndObject();
    }
    json.EndArray();
    std::printf("%s\n", json.Text().c_str());
    return 0;
  }
  for (const ProfileRecord& p : profiles) {
    const std::vector<std::string> apps = SplitApps(p.app);
    if (apps.empty()) continue;
    std::string line;
    for (const std::string& app : apps) line += " " + app;
    std::printf("%d %s:%s\n", p.profile, p.name.c_str(), line.c_str());
  }
  return 0;
}

std::vector<std::unique_ptr<FocusSource>> CliSources() {
  std::vector<std::unique_ptr<FocusSource>> sources;
  if (!IsWaylandSession()) sources.push_back(std::make_unique<X11FocusSource>());
  sources.push_back(std::make_unique<ProcessFocusSource>());
  return sources;
}

int RunFollow(const CliOptions& options, const std::vector<std::string>& args) {
  if (!args.empty()) return CliFail("usage: follow");
  // Blocked before any thread starts, so that only sigwait below takes them.
  sigset_t ending;
  sigemptyset(&ending);
  sigaddset(&ending, SIGINT);
  sigaddset(&ending, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &ending, nullptr);
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  SettingsDatabase& store = cli.Session().Store();
  const AppLinks links = ReadAppLinks(store);
  if (links.empty()) return CliFail("no profile is linked to an application (profile link ID NAME)");
  const std::string attr = cli.Session().Model().DeviceAttr();
  int default_profile = ReadDefaultProfile(cli.Store(), attr);
  if (default_profile == 0) default_profile = store.GetActiveProfile();

  int failures = 0;
  FollowService::Hooks hooks;
  hooks.active_profile = [&store] { return store.GetActiveProfile(); };
  hooks.switch_to = [&](int profile) {
    // The path of `profile activate`, without making the profile the default.
    if (store.SetActiveProfile(profile)) {
      const int result = RunJob(cli.Session().Jobs(), WorkerTask::kUploadProfile);
      std::printf("profile %d%s\n", profile, result == 0 ? "" : " (the mouse did not take it)");
      std::fflush(stdout);
      if (result != 0) ++failures;
    }
    return FollowService::SwitchOutcome::kDone;
  };
  FollowService service(hooks, CliSources);
  service.Update(links, default_profile);
  if (!service.Running()) return CliFail("no way to learn the focused application here");
  std::printf("following with %s\n", service.SourceName().c_str());
  std::fflush(stdout);
  int signal_number = 0;
  sigwait(&ending, &signal_number);
  service.Stop();
  return failures == 0 ? 0 : kExitDeviceFailed;
}

const CliRegistrar kLink("profile link", "profile link ID NAME", RunLink);
const CliRegistrar kUnlink("profile unlink", "profile unlink ID NAME", RunUnlink);
const CliRegistrar kLinks("profile links", "profile links", RunLinks);
const CliRegistrar kFollow("follow", "follow", RunFollow);

}  // namespace
}  // namespace corvane::cli
