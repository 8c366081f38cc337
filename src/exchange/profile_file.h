// Profile files: one profile's button assignments, light parameters, DPI stages and
// performance options as XML, written from and read into the settings store. Choosing
// the path belongs to the caller (file dialog or command line).
#pragma once

#include <filesystem>

#include "exchange/exchange_result.h"

namespace corvane {

class SettingsDatabase;
class TaskPoster;

// Writes `profile` to `path` (exactly that path, no extension added); the light section
// only when `has_lighting`. Returns kOk, kNoSuchProfile or kNotWritable.
ExchangeResult ExportProfile(SettingsDatabase& db, int profile, bool has_lighting,
                             const std::filesystem::path& path);

// Reads `path` into `profile`: renames it after the file name, replaces its assignments,
// overwrites existing light rows, DPI stages and options, then posts the profile upload.
// A file that cannot be read or is not a profile file changes nothing. Returns kOk (with
// profile_name), kNoSuchProfile, kUnreadable, kTooLarge, kIllFormed or kWrongRoot.
ExchangeResult ImportProfile(SettingsDatabase& db, int profile, bool has_lighting,
                             const std::filesystem::path& path, TaskPoster& poster);

// The profile name an imported file gives: the file name without folder and without its
// last four characters ("My Setup.xml" -> "My Setup"); "" for four characters or fewer.
std::string ProfileNameFromPath(const std::filesystem::path& path);

}  // namespace corvane
