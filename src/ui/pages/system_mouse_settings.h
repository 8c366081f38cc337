// The desktop's own mouse settings: GNOME Settings' mouse panel or KDE System Settings'
// mouse module, whichever this desktop has, started without waiting for it.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace corvane::ui {

struct MouseSettingsCommand {
  std::string program;
  std::vector<std::string> arguments;
};

// The commands to try, in order, for the desktop named by XDG_CURRENT_DESKTOP
// (`desktop`, e.g. "KDE" or "ubuntu:GNOME"): its own panel first, then the others. Only
// programs `exists` finds are listed.
std::vector<MouseSettingsCommand> MouseSettingsCommands(
    const std::string& desktop, const std::function<bool(const std::string&)>& exists);

// Starts the first command that starts. False when none was found or none started.
bool OpenSystemMouseSettings();

}  // namespace corvane::ui
