// What the command line asks of the window program, and the start-up decisions that
// depend only on numbers (scaling). Qt-free, so both are tested without a display.
#pragma once

#include <string>
#include <vector>

#include "worker/device_session.h"

namespace corvane::ui {

// Screens smaller than this in either direction get the program's own scaling.
inline constexpr int kSmallScreenWidth = 1400;
inline constexpr int kSmallScreenHeight = 800;
// The one screen size at which the monitor's effective DPI decides.
inline constexpr int kFullHdWidth = 1920;
inline constexpr int kFullHdHeight = 1080;
inline constexpr int kBenchmarkRuns = 5;
// Long enough for the start-up jobs and the software check to be under way.
inline constexpr int kBenchmarkCloseDelayMs = 2000;

struct StartupOptions {
  SessionOptions session;
  bool hide = false;               // "-hide" found anywhere (case-sensitive substring)
  bool autorun = false;            // started by the login entry ("-autorun")
  bool benchmark_startup = false;  // print time to first paint and memory, then quit
  bool benchmark_child = false;    // one measured start (no single-instance guard)
  // Clicks the close button once started and prints when (the closing benchmark's child).
  bool benchmark_close = false;
  // "--" arguments that are not ours, in order; they are ignored.
  std::vector<std::string> ignored;
};

// Reads the arguments (without the program name). Other arguments are ignored: "-hide"
// only counts as the hide switch, and unknown "--" options are listed in `ignored`.
// Returns false with a one-line `error` for a bad --simulate mode or an option of ours
// missing its value.
bool ParseStartupArguments(const std::vector<std::string>& args, StartupOptions& options,
                           std::string& error);

// True when the "-hide" switch is present: a case-sensitive substring of any argument.
bool HasHideSwitch(const std::vector<std::string>& args);

// Whether the window starts hidden: asked for with "-hide", or started by the login entry
// while "start minimised" is on.
bool StartsHidden(const StartupOptions& options, bool autorun_minimize);

// True when the window should be laid out at device pixels (DPI-aware) rather than
// scaled by the platform: small screens always, a 1920 x 1080 screen only when its
// effective DPI is 144, 168 or 192.
bool ShouldBeDpiAware(int screen_width, int screen_height, int effective_dpi);

}  // namespace corvane::ui
