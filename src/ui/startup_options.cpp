// Command-line reading of the window program and the scaling decision.
#include "ui/startup_options.h"

#include <string_view>

namespace corvane::ui {
namespace {

constexpr std::string_view kHideSwitch = "-hide";
constexpr std::string_view kAutorunSwitch = "-autorun";

// True for the option `name` itself and for name=value.
bool IsOption(std::string_view arg, std::string_view name) {
  return arg.substr(0, name.size()) == name &&
         (arg.size() == name.size() || arg[name.size()] == '=');
}

// The value of `name`, given as "name VALUE" or name=VALUE. False when it is missing.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
               std::string& value) {
  const std::string& arg = args[i];
  if (arg.size() > name.size() && arg[name.size()] == '=') {
    value = arg.substr(name.size() + 1);
    return !value.empty();
  }
  if (arg != name || i + 1 >= args.size()) return false;
  value = args[++i];
  return true;
}

}  // namespace

bool HasHideSwitch(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg.find(kHideSwitch) != std::string::npos) return true;
  }
  return false;
}

bool StartsHidden(const StartupOptions& options, bool autorun_minimize) {
  return options.hide || (options.autorun && autorun_minimize);
}

bool ParseStartupArguments(const std::vector<std::string>& args, StartupOptions& options,
                           std::string& error) {
  options.hide = HasHideSwitch(args);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string* target = nullptr;
    std::string_view name;
    if (arg == "--simulate") {
      options.session.simulate = "both";
      continue;
    }
    if (arg.rfind("--simulate=", 0) == 0) {
      options.session.simulate = arg.substr(11);
      if (options.session.simulate != "wired" && options.session.simulate != "wireless" &&
          options.session.simulate != "both") {
        error = "--simulate takes wired, wireless or both";
        return false;
      }
      continue;
    }
    if (arg == "--benchmark-child") {
      options.benchmark_child = true;
      continue;
    }
    if (arg == "--benchmark-close") {
      options.benchmark_close = true;
      continue;
    }
    if (arg == "--benchmark-startup") {
      options.benchmark_startup = true;
      continue;
    }
    if (IsOption(arg, "--sim-model")) {
      name = "--sim-model", target = &options.session.sim_model;
    } else if (IsOption(arg, "--sim-state")) {
      name = "--sim-state", target = &options.session.sim_state;
    } else if (IsOption(arg, "--sim-fault")) {
      std::string fault;
      if (!TakeValue(args, i, "--sim-fault", fault)) {
        error = "--sim-fault needs DEVICE:KNOB=VALUE";
        return false;
      }
      options.session.sim_faults.push_back(fault);  // checked when the session opens
      continue;
    } else if (IsOption(arg, "--capture")) {
      name = "--capture", target = &options.session.capture;
    } else if (IsOption(arg, "--program-dir")) {
      std::string dir;
      if (!TakeValue(args, i, "--program-dir", dir)) {
        error = "--program-dir needs DIR";
        return false;
      }
      options.session.program_dir = dir;
      continue;
    } else if (arg.rfind("--", 0) == 0) {
      // Not ours. "--hide" still hides (the switch is any argument containing "-hide").
      if (arg.find(kHideSwitch) == std::string::npos) options.ignored.push_back(arg);
      continue;
    } else {
      // "-hide", the autostart entry's "-autorun" and other words pass silently.
      if (arg == kAutorunSwitch) options.autorun = true;
      continue;
    }
    if (!TakeValue(args, i, name, *target)) {
      error = std::string(name) + " needs a value";
      return false;
    }
  }
  return true;
}

bool ShouldBeDpiAware(int screen_width, int screen_height, int effective_dpi) {
  if (screen_width < kSmallScreenWidth || screen_height < kSmallScreenHeight) return true;
  if (screen_width != kFullHdWidth || screen_height != kFullHdHeight) return false;
  return effective_dpi == 144 || effective_dpi == 168 || effective_dpi == 192;
}

}  // namespace corvane::ui
