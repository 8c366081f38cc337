// Start-up language choice and locale mapping; see language_selection.h.
#include "app/language_selection.h"

#include <cstdlib>
#include <string>

#include "base/text.h"

namespace corvane {

namespace {

struct LocaleLanguage {
  std::string_view locale;  // "ll" or "ll_TT", lower case
  int language_id;
};

// Territory-specific ids first; a bare language name gives the language's usual default.
constexpr LocaleLanguage kLocaleLanguages[] = {
    {"zh_cn", 2052}, {"zh_sg", 4100}, {"zh_tw", 1028}, {"zh_hk", 3076}, {"zh_mo", 5124},
    {"zh", 2052},    {"en_us", 1033}, {"en_gb", 2057}, {"en_au", 3081}, {"en_ca", 4105},
    {"en_nz", 5129}, {"en_ie", 6153}, {"en_za", 7177}, {"en_in", 16393}, {"en", 1033},
    {"ja", 1041},    {"ko", 1042},    {"uk", 1058},    {"de_at", 3079}, {"de_ch", 2055},
    {"de", 1031},    {"fr_ca", 3084}, {"fr_be", 2060}, {"fr_ch", 4108}, {"fr", 1036},
    {"es_mx", 2058}, {"es", 3082},    {"pt_pt", 2070}, {"pt", 1046},    {"it", 1040},
    {"ru", 1049},    {"pl", 1045},    {"nl", 1043},    {"sv", 1053},    {"tr", 1055},
    {"cs", 1029},    {"da", 1030},    {"fi", 1035},    {"el", 1032},    {"hu", 1038},
    {"nb", 1044},    {"ro", 1048},    {"th", 1054},    {"vi", 1066},    {"id", 1057},
    {"he", 1037},    {"ar", 1025},
};

int Lookup(std::string_view key) {
  for (const LocaleLanguage& entry : kLocaleLanguages) {
    if (entry.locale == key) return entry.language_id;
  }
  return 0;
}

}  // namespace

int LocaleToLanguageId(std::string_view locale) {
  // language[_territory][.codeset][@modifier]
  const size_t cut = locale.find_first_of(".@");
  if (cut != std::string_view::npos) locale = locale.substr(0, cut);
  if (locale == "C" || locale == "POSIX") return kFallbackLanguage;
  std::string name = AsciiLower(locale);
  for (char& c : name) {
    if (c == '-') c = '_';
  }
  if (name.empty()) return 0;
  if (const int id = Lookup(name); id != 0) return id;
  const size_t underscore = name.find('_');
  return underscore == std::string::npos ? 0 : Lookup(name.substr(0, underscore));
}

int SystemLanguageId() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] != '\0') return LocaleToLanguageId(value);
  }
  return kFallbackLanguage;
}

int SelectStartupLanguage(KeyValueStore& store, const std::set<int>& supported,
                          int system_language) {
  int language = store.ReadLcid();
  if (language == 0) {
    language = system_language;
    store.WriteLcid(supported.count(language) != 0 ? language : kFallbackLanguage);
  }
  if (supported.count(language) == 0) {
    language = kFallbackLanguage;
    store.WriteLcid(language);
  }
  return language;
}

}  // namespace corvane
