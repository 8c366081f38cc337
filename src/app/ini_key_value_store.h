// The per-user key kept as an INI file, <config home>/<caption>/registry.ini: one
// "name=value" line per value under a section named after the caption. Every write
// replaces the file through a temporary file and a rename, so readers never see half of it.
#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "app/key_value_store.h"

namespace corvane {

// File name of the key inside the caption's configuration folder.
inline constexpr std::string_view kKeyFileName = "registry.ini";

class IniKeyValueStore : public KeyValueStore {
 public:
  // A store kept in `file`; `section` names the section written at the top of new files.
  IniKeyValueStore(std::filesystem::path file, std::string section);

  // The store of `caption` under ConfigHome(); its path is empty (every read fails, every
  // write is refused) when no configuration folder can be found.
  static IniKeyValueStore ForCaption(std::string_view caption);

  // The file that holds the values.
  const std::filesystem::path& FilePath() const { return file_; }

  KeyState Probe() const override;
  bool CreateKey() override;
  std::optional<std::string> ReadText(std::string_view name) const override;
  bool WriteText(std::string_view name, std::string_view text) override;

  IniKeyValueStore(IniKeyValueStore&& other) noexcept;

 private:
  // The whole file; nullopt when it cannot be read.
  std::optional<std::string> ReadFile() const;
  // Replaces the file with `contents` by way of a temporary file. True on success.
  bool ReplaceFile(const std::string& contents) const;

  std::filesystem::path file_;
  std::string section_;
  // Serialises read-modify-write cycles of this process (GUI and worker thread).
  mutable std::mutex mutex_;
};

}  // namespace corvane
