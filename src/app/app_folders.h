// Where Corvane keeps things outside its code: the program folder (config.xml, device/,
// language/, skins/), the per-user data folder named after the caption, and the XDG base
// folders they hang from. Only path logic and folder creation; no file contents.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace corvane {

// Caption used when config.xml names none.
inline constexpr std::string_view kDefaultCaption = "Corvane";
// Name of the application file of the program folder.
inline constexpr std::string_view kConfigFileName = "config.xml";
// Appended to the caption to name the per-user data folder.
inline constexpr std::string_view kDataFolderSuffix = " Files";

// The running executable's folder (from /proc/self/exe); empty when it cannot be read.
std::filesystem::path ExecutableFolder();

// The program folder: `override_dir` when not empty; else the executable's folder when it
// holds config.xml; else <executable folder>/../share/corvane.
std::filesystem::path ResolveProgramFolder(const std::filesystem::path& override_dir = {});

// $XDG_DATA_HOME, or $HOME/.local/share when it is unset, empty or relative; empty when
// neither can be found.
std::filesystem::path DataHome();

// $XDG_CONFIG_HOME, or $HOME/.config under the same rules as DataHome().
std::filesystem::path ConfigHome();

// The caption made safe as one path component and INI section name: empty gives
// kDefaultCaption, '/' and control characters (NUL, line breaks) become '_', and "." or ".."
// become "_" so a caption can never leave its parent folder or split a section header.
std::string CaptionFolderName(std::string_view caption);

// <DataHome>/<caption> Files; empty when DataHome() is empty.
std::filesystem::path DataFolder(std::string_view caption);
// The "db" (settings databases) and "temp" (downloads) subfolders of DataFolder().
std::filesystem::path DatabaseFolder(std::string_view caption);
std::filesystem::path DownloadFolder(std::string_view caption);

// Creates `path` with every missing parent. True when it exists as a folder afterwards.
bool CreateFolderPath(const std::filesystem::path& path);

}  // namespace corvane
