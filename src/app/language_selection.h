// Which language the program starts in: the stored LCID when config.xml lists it, the
// user's system language on first start, English otherwise. Also the fixed language list
// of the program settings page and the mapping of POSIX locales to Windows language ids.
#pragma once

#include <array>
#include <set>
#include <string_view>

#include "app/key_value_store.h"

namespace corvane {

// Language used when the stored or system language is not supported.
inline constexpr int kFallbackLanguage = 1033;

struct SelectableLanguage {
  std::string_view name;  // shown in the language list
  int language_id;
};

// The language list of the program settings page, in its order. Fixed: it does not
// depend on the languages config.xml lists.
inline constexpr std::array<SelectableLanguage, 6> kSelectableLanguages = {{
    {"简体中文", 2052},
    {"English", 1033},
    {"繁体中文", 1028},
    {"日本語にほんご", 1041},
    {"한국어", 1042},
    {"Українська Мова", 1058},
}};

// Windows language id of a POSIX locale name such as "ja_JP.UTF-8" or "uk"; 1033 for
// "C" and "POSIX"; 0 when the language is unknown or the name is empty.
int LocaleToLanguageId(std::string_view locale);

// The user's interface language from LC_ALL, else LC_MESSAGES, else LANG (the first one
// set and not empty), mapped by LocaleToLanguageId; 1033 when none is set.
int SystemLanguageId();

// Start-up selection. Reads LCID from `store`; when it is 0 takes `system_language`,
// storing it when `supported` holds it and 1033 otherwise; a language `supported` does
// not hold becomes 1033, stored. Returns the language id to use.
int SelectStartupLanguage(KeyValueStore& store, const std::set<int>& supported,
                          int system_language);

}  // namespace corvane
