// The applications the link dialog offers: what runs now (the user's own processes) and
// what is installed (desktop entries). Names are given as links keep them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace corvane {

// Executable names of the processes of user `uid` under `proc_root`, sorted, once each.
// Left out: kernel threads, processes on a terminal (a shell's tools) and executables run
// from memory or deleted since.
std::vector<std::string> RunningApps(const std::filesystem::path& proc_root, unsigned uid);

// The application ids of the desktop entries in the `applications` folders of `data_dirs`
// (first folder wins for one file name): StartupWMClass when the entry names one, else
// the file name without ".desktop". Entries hidden from menus are left out. Sorted, once each.
std::vector<std::string> InstalledApps(const std::vector<std::filesystem::path>& data_dirs);

// $XDG_DATA_HOME (or ~/.local/share) followed by $XDG_DATA_DIRS (or /usr/local/share,
// /usr/share).
std::vector<std::filesystem::path> DesktopDataDirs();

}  // namespace corvane
