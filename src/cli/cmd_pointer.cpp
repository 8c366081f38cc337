// The operating system's pointer settings from the command line: the same operations the
// window's pointer controls run, stored in the active profile and applied through the
// desktop's back end (task 22 for speed, wheel slider and double-click time).
#include <cstdio>
#include <string>

#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "settings/pointer_options.h"
#include "store/config_keys.h"
#include "store/settings_database.h"

namespace corvane::cli {
namespace {

constexpr const char* kUsage =
    "usage: pointer [speed N | precision on|off | scroll lines|page | lines N | wheel N "
    "| doubleclick POSITION]";

// Prints what was stored and what the desktop made of it; only an applied value succeeds.
int Report(const std::string& what, const std::string& value, PointerResult result,
           const std::string& backend) {
  std::printf("%s %s: %s\n", what.c_str(), value.c_str(), PointerResultText(result));
  if (result == PointerResult::kApplied) return 0;
  return CliFail(what + " " + PointerResultText(result) + " by the desktop's pointer settings (" +
                 backend + "); stored in the profile");
}

int ShowStored(CliDeviceSession& cli) {
  SettingsDatabase& store = cli.Session().Store();
  const int profile = store.GetActiveProfile();
  std::printf("back end: %s\n", cli.Session().Pointer().Backend().Name().c_str());
  for (const char* key : {kMouseSpeedKey, kMouseSensitivityKey, kWheelScrollFlagKey,
                          kWheelScrollLinesKey, kDoubleClickTimeKey}) {
    std::printf("%s=%s\n", key, store.GetConfigText(profile, key, "").c_str());
  }
  return 0;
}

int RunPointer(const CliOptions& options, const std::vector<std::string>& args) {
  if (args.size() != 0 && args.size() != 2) return CliFail(kUsage);
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  if (args.empty()) return ShowStored(cli);
  DeviceSession& session = cli.Session();
  PointerJob& job = session.Pointer();
  const std::string backend = job.Backend().Name();
  CollectedTasks tasks;
  PointerOptions pointer(session.Store(), tasks, job);
  const std::string& what = args[0];
  const std::string& value = args[1];
  // Operations the window hands to task 22: run it as the worker would.
  auto run_job = [&](const std::string& shown) {
    tasks.RunAll(session.Jobs());
    return Report(what, shown, job.LastResult().value_or(PointerResult::kFailed), backend);
  };
  int number = 0;
  if (what == "precision" && (value == "on" || value == "off")) {
    return Report(what, value, pointer.SetEnhancedPrecision(value == "on"), backend);
  }
  if (what == "scroll" && (value == "lines" || value == "page")) {
    const ScrollModeView view = pointer.ChooseScrollMode(value == "page");
    return Report(what, value + " (" + std::to_string(view.lines) + " lines)", view.result,
                  backend);
  }
  if (!ParseCliNumber(value, number) && !(what == "lines" && value.rfind('-', 0) == 0)) {
    return CliFail(kUsage);
  }
  if (what == "speed") {
    if (number < kMinPointerSpeed || number > kMaxPointerSpeed) {
      return CliFail("speed must be 1 to 20");
    }
    return run_job(std::to_string(pointer.ChangeSpeed(0, number - 1, true)));
  }
  if (what == "lines") {
    const int lines = PointerOptions::ClampWheelLines(value);
    return Report(what, std::to_string(lines), pointer.ConfirmWheelLines(value), backend);
  }
  if (what == "wheel") {
    pointer.ReleaseWheelSlider(0, number);
    return run_job(value);
  }
  if (what == "doubleclick")
    return run_job(std::to_string(pointer.ChangeDoubleClick(number)) + " ms");
  return CliFail(kUsage);
}

// clang-format off
const CliRegistrar kPointer("pointer", "pointer [speed N | precision on|off | scroll lines|page | lines N | wheel N | doubleclick POSITION]", RunPointer);
// clang-format on

}  // namespace
}  // namespace corvane::cli
