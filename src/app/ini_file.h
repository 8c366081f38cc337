// Reader of the language files: INI text stored as UTF-16LE with a byte-order mark or as
// UTF-8, read the way the program has always read them (names compared without case,
// values trimmed, one pair of surrounding quotes removed, first key wins, long values cut).
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// Texts are returned in a 260-unit buffer with its terminator: at most 259 UTF-16 units.
inline constexpr std::size_t kMaxIniValueUnits = 259;

class IniFile {
 public:
  // Decodes `bytes` (UTF-16LE or UTF-16BE with a byte-order mark, else UTF-8 with or
  // without one) and indexes every section. Never fails; malformed text becomes U+FFFD.
  static IniFile Parse(std::string_view bytes);

  // Reads and parses a file; nullopt when it cannot be read.
  static std::optional<IniFile> Load(const std::filesystem::path& path);

  // The value of `key` in `section`, cut to kMaxIniValueUnits UTF-16 units (never inside a
  // surrogate pair); nullopt when the section or key is missing.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // Number of keys in `section` (0 when it is missing).
  std::size_t KeyCount(std::string_view section) const;

 private:
  // Section name (lower case) -> key (lower case) -> value as written.
  std::map<std::string, std::map<std::string, std::string>> sections_;
};

}  // namespace corvane
