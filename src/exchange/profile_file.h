// Profile files: one profile's button assignments, light parameters, DPI stages and
// performance options as XML, written from and read into the settings store. Choosing
// the path belongs to the caller (file dialog or command line).
#pragma once

#include <filesystem>
#include <vector>

#include "exchange/exchange_result.h"
#include "settings/settings_texts.h"

namespace corvane {

class SettingsDatabase;
class TaskPoster;

// Writes `profile` to `path` (exactly that path, no extension added); the light section
// only when `has_lighting`. The file's name is the profile's title as the window shows it
// in the language of `texts`. Returns kOk, kNoSuchProfile or kNotWritable.
ExchangeResult ExportProfile(SettingsDatabase& db, int profile, bool has_lighting,
                             const std::filesystem::path& path, const TextLookup& texts);

// The model a profile file is read for.
struct ProfileImportTarget {
  bool has_lighting = false;
  std::vector<int> buttons;  // the model's button indexes; rows for others are refused
  // The mouse's sensor code: stage values are fitted to it as typed ones are, so the store,
  // the window and the mouse agree. Negative: unknown, values are kept as written.
  int sensor = -1;
};

// Reads `path` into `profile`: renames it after the file name, replaces its assignments,
// overwrites existing light rows, DPI stages and options, then posts the profile upload.
// Every value is checked first against the pages' rules; a file breaking one is refused
// whole (kBadValue, naming the element). The changes are one transaction: a refusal by
// the store, or a crash, leaves the profile as it was. Returns kOk (with profile_name),
// kNoSuchProfile, kBadValue, kStoreFailed, kUnreadable, kTooLarge, kIllFormed or kWrongRoot.
ExchangeResult ImportProfile(SettingsDatabase& db, int profile, const ProfileImportTarget& target,
                             const std::filesystem::path& path, TaskPoster& poster);
// The same for a model with every button of the 21-entry table.
ExchangeResult ImportProfile(SettingsDatabase& db, int profile, bool has_lighting,
                             const std::filesystem::path& path, TaskPoster& poster);

// The profile name an imported file gives: the file name without folder and without its
// last four characters ("My Setup.xml" -> "My Setup"); "" for four characters or fewer.
std::string ProfileNameFromPath(const std::filesystem::path& path);

}  // namespace corvane
