// Localized texts: every user-visible sentence is looked up by number in the language
// file of the current language id (<program folder>/language/<id>.lan, section "LAN").
// Holds the current language id and a cache of the parsed file; safe to use from any thread.
#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "app/ini_file.h"

namespace corvane {

// The section of the language files that holds the texts.
inline constexpr std::string_view kLanguageSection = "LAN";
// Folder of the language files inside the program folder, and their extension.
inline constexpr std::string_view kLanguageFolder = "language";
inline constexpr std::string_view kLanguageFileExtension = ".lan";

class LanguageText {
 public:
  // Texts of the files under `program_folder`; no language chosen yet (id 0).
  explicit LanguageText(std::filesystem::path program_folder);

  // Makes `language_id` current; the next lookup reads its file.
  void SetLanguageId(int language_id);
  // The current language id (0 = none chosen).
  int LanguageId() const;

  // The text `id` of `section` in the current language file; "" when the file, the section
  // or the id is missing. At most 259 UTF-16 units long.
  std::string Text(int id, std::string_view section = kLanguageSection) const;

  // <program folder>/language/<language_id>.lan
  std::filesystem::path LanguageFilePath(int language_id) const;

 private:
  std::filesystem::path program_folder_;
  mutable std::mutex mutex_;
  int language_id_ = 0;
  // Parsed file of `cached_id_`; nullopt when it could not be read.
  mutable int cached_id_ = -1;
  mutable std::optional<IniFile> cached_file_;
};

}  // namespace corvane
