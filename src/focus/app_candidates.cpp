// Running and installed applications for the link dialog.
#include "focus/app_candidates.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>

#include "focus/app_links.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDesktopSuffix = ".desktop";

std::vector<std::string> Sorted(const std::set<std::string>& names) {
  return std::vector<std::string>(names.begin(), names.end());
}

// The id of one desktop entry file; empty when it is hidden or not an application.
std::string DesktopEntryId(const fs::path& file) {
  std::ifstream in(file);
  std::string line, wm_class;
  bool in_entry = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      in_entry = line == "[Desktop Entry]";
      continue;
    }
    if (!in_entry) continue;
    if (line == "NoDisplay=true" || line == "Hidden=true") return {};
    if (line.rfind("Type=", 0) == 0 && line != "Type=Application") return {};
    if (line.rfind("StartupWMClass=", 0) == 0) wm_class = line.substr(15);
  }
  std::string id = file.filename().string();
  id.resize(id.size() - kDesktopSuffix.size());
  return NormalizeAppName(wm_class.empty() ? id : wm_class);
}

// Whether the process runs on a terminal (a shell's tools: grep, timeout...), from the
// tty field of /proc/PID/stat, which follows the name in parentheses. Unreadable: no.
bool OnTerminal(const fs::path& process) {
  std::ifstream in(process / "stat");
  std::string stat;
  std::getline(in, stat);
  const size_t name_end = stat.rfind(')');
  if (name_end == std::string::npos) return false;
  std::istringstream fields(stat.substr(name_end + 1));
  std::string state;
  long parent = 0, group = 0, session = 0, tty = 0;
  return static_cast<bool>(fields >> state >> parent >> group >> session >> tty) && tty != 0;
}

// An executable that is no file a person started: code run from memory, or a program
// replaced on disk since it started (a package update shows it again at its next start).
bool IsAnonymousExecutable(const std::string& path) {
  return path.rfind("/memfd:", 0) == 0 || path.find(" (deleted)") != std::string::npos;
}

}  // namespace

std::vector<std::string> RunningApps(const fs::path& proc_root, unsigned uid) {
  std::set<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(proc_root, error)) {
    const std::string pid = entry.path().filename().string();
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    struct stat info {};
    if (stat(entry.path().c_str(), &info) != 0 || info.st_uid != uid) continue;
    std::error_code link_error;
    const fs::path exe = fs::read_symlink(entry.path() / "exe", link_error);
    if (link_error) continue;  // kernel threads have none
    if (IsAnonymousExecutable(exe.string()) || OnTerminal(entry.path())) continue;
    std::string name = NormalizeAppName(exe.filename().string());
    if (const size_t space = name.find(' '); space != std::string::npos) name.resize(space);
    if (!name.empty()) names.insert(name);
  }
  return Sorted(names);
}

std::vector<std::string> InstalledApps(const std::vector<fs::path>& data_dirs) {
  std::set<std::string> seen_files, ids;
  for (const fs::path& dir : data_dirs) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir / "applications", error)) {
      const std::string file = entry.path().filename().string();
      if (file.size() <= kDesktopSuffix.size() ||
          file.compare(file.size() - kDesktopSuffix.size(), kDesktopSuffix.size(),
                       kDesktopSuffix) != 0 ||
          !seen_files.insert(file).second) {
        continue;
      }
      std::string id = DesktopEntryId(entry.path());
      if (!id.empty()) ids.insert(std::move(id));
    }
  }
  return Sorted(ids);
}

std::vector<fs::path> DesktopDataDirs() {
  std::vector<fs::path> dirs;
  const char* data_home = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  if (data_home != nullptr && *data_home != '\0') {
    dirs.emplace_back(data_home);
  } else if (home != nullptr && *home != '\0') {
    dirs.push_back(fs::path(home) / ".local" / "share");
  }
  const char* data_dirs = std::getenv("XDG_DATA_DIRS");
  std::string list = data_dirs != nullptr && *data_dirs != '\0' ? data_dirs
                                                                 : "/usr/local/share:/usr/share";
  size_t start = 0;
  while (start <= list.size()) {
    const size_t end = std::min(list.find(':', start), list.size());
    if (end > start) dirs.emplace_back(list.substr(start, end - start));
    start = end + 1;
  }
  return dirs;
}

}  // namespace corvane
