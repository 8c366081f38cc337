// The application section of config.xml, read at start-up: the caption that names the
// per-user folders and key, and the set of languages that have a language file.
// The device list of the same file is the catalogue's (src/catalogue).
#pragma once

#include <filesystem>
#include <set>
#include <string>

namespace corvane {

struct ApplicationConfig {
  // True when config.xml was read, well formed and rooted at `config`.
  bool loaded = false;
  // The `caption` of `software`; kDefaultCaption when there is none (may be empty when
  // the attribute is empty).
  std::string caption;
  // `default_lan` of `language.info`; the start-up language selection replaces it.
  int default_language = 0;
  // The `value` of every `lan`, as numbers (0 for non-numeric text).
  std::set<int> languages;
};

// Reads <program_folder>/config.xml. Children of `config` are searched forward, so
// `software` is found only after `language.info`. Never fails: a missing or malformed file
// gives loaded = false, no languages and the default caption.
ApplicationConfig ReadApplicationConfig(const std::filesystem::path& program_folder);

}  // namespace corvane
