// GNOME pointer settings through gsettings, run without a shell.
#include "settings/gsettings_pointer_settings.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace corvane {
namespace {

constexpr int kMiddleSpeed = 10;

// Silences the tool's own output: its errors come back as the exit status.
struct QuietActions {
  posix_spawn_file_actions_t actions;
  QuietActions() {
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  }
  ~QuietActions() { posix_spawn_file_actions_destroy(&actions); }
  QuietActions(const QuietActions&) = delete;
  QuietActions& operator=(const QuietActions&) = delete;
};

bool NamesGnome(const char* desktop) {
  if (desktop == nullptr) return false;
  std::string names = std::string(":") + desktop + ":";
  for (const char* known : {":GNOME:", ":GNOME-Classic:", ":ubuntu:", ":Unity:", ":Budgie:"}) {
    if (names.find(known) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

const char* PointerResultText(PointerResult result) {
  switch (result) {
    case PointerResult::kApplied:
      return "applied";
    case PointerResult::kNotSupported:
      return "not supported";
    case PointerResult::kFailed:
      return "failed";
  }
  return "failed";
}

GSettingsPointerSettings::GSettingsPointerSettings(std::string tool) : tool_(std::move(tool)) {}

bool GSettingsPointerSettings::Run(const std::vector<std::string>& arguments) const {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(tool_.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  QuietActions quiet;
  pid_t child = 0;
  if (posix_spawnp(&child, tool_.c_str(), &quiet.actions, nullptr, argv.data(), environ) != 0) {
    return false;
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool GSettingsPointerSettings::Available() const { return Run({"list-keys", kGnomeMouseSchema}); }

PointerResult GSettingsPointerSettings::Set(const char* key, const std::string& value) const {
  return Run({"set", kGnomeMouseSchema, key, value}) ? PointerResult::kApplied
                                                     : PointerResult::kFailed;
}

double GSettingsPointerSettings::GnomeSpeed(int speed) {
  return std::clamp((speed - kMiddleSpeed) / 10.0, -1.0, 1.0);
}

PointerResult GSettingsPointerSettings::SetSpeed(int speed) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", GnomeSpeed(speed));
  return Set("speed", text);
}

PointerResult GSettingsPointerSettings::SetEnhancedPrecision(bool on) {
  return Set("accel-profile", on ? "'adaptive'" : "'flat'");
}

PointerResult GSettingsPointerSettings::SetWheelLines(int) { return PointerResult::kNotSupported; }

PointerResult GSettingsPointerSettings::SetDoubleClickTime(int milliseconds) {
  return Set("double-click", std::to_string(milliseconds));
}

std::unique_ptr<PointerSettings> MakePointerSettings() {
  const char* forced = std::getenv("CORVANE_POINTER_SETTINGS");
  if (forced != nullptr && std::strcmp(forced, "gsettings") == 0) {
    return std::make_unique<GSettingsPointerSettings>();
  }
  if (forced != nullptr && std::strcmp(forced, "none") == 0) {
    return std::make_unique<UnsupportedPointerSettings>();
  }
  if (NamesGnome(std::getenv("XDG_CURRENT_DESKTOP"))) {
    auto gnome = std::make_unique<GSettingsPointerSettings>();
    if (gnome->Available()) return gnome;
  }
  return std::make_unique<UnsupportedPointerSettings>();
}

}  // namespace corvane
