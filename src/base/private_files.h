// Per-user data (settings, macros, which are keystroke sequences, and downloads) is kept
// private: folders this program creates are 0700 and its files 0600, whatever the umask.
// Folders and files that already exist keep the mode they have.
#pragma once

#include <filesystem>

namespace corvane {

inline constexpr unsigned kPrivateFolderMode = 0700;
inline constexpr unsigned kPrivateFileMode = 0600;

// Creates `path` and every missing parent with kPrivateFolderMode. Returns whether `path`
// is a folder afterwards.
bool CreatePrivateFolders(const std::filesystem::path& path);

// Creates `path` as an empty file with kPrivateFileMode when it does not exist. Returns
// false when it could not be created (an existing file counts as success).
bool CreatePrivateFile(const std::filesystem::path& path);

}  // namespace corvane
