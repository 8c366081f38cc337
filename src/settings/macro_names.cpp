// Display-name replacement of system-made macro prefixes and copy suffixes.
#include "settings/macro_names.h"

#include <initializer_list>

namespace corvane {
namespace {

std::string Localize(std::string_view name, const TextLookup& texts,
                     std::initializer_list<std::string_view> prefixes,
                     std::initializer_list<std::string_view> suffixes) {
  std::string shown(name);
  for (std::string_view prefix : prefixes) {
    if (shown.starts_with(prefix)) {
      shown = texts(kTextMacroPrefix) + shown.substr(prefix.size());
      break;
    }
  }
  for (std::string_view suffix : suffixes) {
    if (shown.size() > suffix.size() && shown.ends_with(suffix)) {
      std::string before = shown.substr(0, shown.size() - suffix.size());
      while (!before.empty() && before.back() == ' ') before.pop_back();
      shown = before + " " + texts(kTextCopySuffix);
      break;
    }
  }
  return shown;
}

}  // namespace

std::string MacroListDisplayName(std::string_view name, const TextLookup& texts) {
  return Localize(name, texts, {"Custom", "\xE8\x87\xAA\xE5\xAE\x9A\xE4\xB9\x89"},
                  {"Copy", "\xE5\xA4\x8D\xE5\x88\xB6"});
}

std::string MacroAssignDisplayName(std::string_view name, const TextLookup& texts) {
  return Localize(name, texts,
                  {"\xE8\x87\xAA\xE5\xAE\x9A\xE4\xB9\x89", "\xE8\x87\xAA\xE5\xAE\x9A\xE7\xBE\xA9",
                   "\xE3\x82\xAB\xE3\x82\xB9\xE3\x82\xBF\xE3\x83\xA0",
                   "\xD0\x9F\xD0\xBE\xD0\xBB\xD1\x8C\xD0\xB7\xD0\xBE\xD0\xB2\xD0\xB0\xD1\x82",
                   "Custom"},
                  {"\xE5\xA4\x8D\xE5\x88\xB6", "\xE8\xA4\x87\xE8\xA3\xBD",
                   "\xD0\x9A\xD0\xBE\xD0\xBF\xD0\xB8\xD1\x80\xD0\xBE\xD0\xB2\xD0\xB0\xD1\x82\xD1\x8C",
                   "Copy"});
}

}  // namespace corvane
