// Folder resolution for the program and per-user data; see app_folders.h.
#include "app/app_folders.h"

#include <cstdlib>
#include <system_error>

#include "base/private_files.h"
#include "base/text.h"

namespace corvane {

namespace {

// Program data installed beside the executable's bin/ folder.
constexpr std::string_view kInstalledDataFolder = "../share/corvane";

// An XDG base variable when it holds an absolute path, else $HOME/<fallback>.
std::filesystem::path XdgFolder(const char* variable, std::string_view fallback) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') return std::filesystem::path(value);
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return {};
  return std::filesystem::path(home) / fallback;
}

}  // namespace

std::filesystem::path ExecutableFolder() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return exe.parent_path();
}

std::filesystem::path ResolveProgramFolder(const std::filesystem::path& override_dir) {
  if (!override_dir.empty()) return override_dir;
  const std::filesystem::path exe_folder = ExecutableFolder();
  std::error_code ec;
  if (std::filesystem::is_regular_file(exe_folder / kConfigFileName, ec)) return exe_folder;
  return (exe_folder / kInstalledDataFolder).lexically_normal();
}

std::filesystem::path DataHome() { return XdgFolder("XDG_DATA_HOME", ".local/share"); }

std::filesystem::path ConfigHome() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }

std::string CaptionFolderName(std::string_view caption) {
  if (caption.empty()) return std::string(kDefaultCaption);
  if (caption == "." || caption == "..") return "_";
  std::string name = ReplaceControlCharacters(caption, '_');
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return name;
}

std::filesystem::path DataFolder(std::string_view caption) {
  const std::filesystem::path home = DataHome();
  if (home.empty()) return {};
  return home / (CaptionFolderName(caption) + std::string(kDataFolderSuffix));
}

std::filesystem::path DatabaseFolder(std::string_view caption) {
  const std::filesystem::path folder = DataFolder(caption);
  return folder.empty() ? folder : folder / "db";
}

std::filesystem::path DownloadFolder(std::string_view caption) {
  const std::filesystem::path folder = DataFolder(caption);
  return folder.empty() ? folder : folder / "temp";
}

bool CreateFolderPath(const std::filesystem::path& path) { return CreatePrivateFolders(path); }

}  // namespace corvane
