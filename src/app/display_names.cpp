// Display rules for generated profile and macro names; see display_names.h.
#include "app/display_names.h"

#include <cstddef>

namespace corvane {

namespace {

constexpr std::string_view kProfilePrefixes[] = {"Profile", "配置"};
constexpr std::string_view kListMacroPrefixes[] = {"Custom", "自定义"};
constexpr std::string_view kListCopySuffixes[] = {"Copy", "复制"};
// The buttons page recognises a few more words, and only these: any other word is part
// of a name the user chose and is shown as typed.
constexpr std::string_view kAssignmentMacroPrefixes[] = {"自定义", "自定義", "カスタム",
                                                         "Пользоват", "Custom"};
constexpr std::string_view kAssignmentCopySuffixes[] = {"复制", "複製", "Копировать", "Copy"};

template <size_t N>
std::string_view MatchingPrefix(std::string_view name, const std::string_view (&prefixes)[N]) {
  for (std::string_view prefix : prefixes) {
    if (name.substr(0, prefix.size()) == prefix) return prefix;
  }
  return {};
}

template <size_t N>
std::string_view MatchingSuffix(std::string_view name, const std::string_view (&suffixes)[N]) {
  for (std::string_view suffix : suffixes) {
    if (name.size() >= suffix.size() && name.substr(name.size() - suffix.size()) == suffix) {
      return suffix;
    }
  }
  return {};
}

std::string ApplyMacroRules(std::string_view name, std::string_view custom_word,
                            std::string_view copy_word, std::string_view prefix,
                            std::string_view (*suffix_of)(std::string_view)) {
  std::string shown(name);
  if (!prefix.empty()) shown = std::string(custom_word) + std::string(name.substr(prefix.size()));
  const std::string_view suffix = suffix_of(shown);
  if (!suffix.empty()) {
    shown = shown.substr(0, shown.find(suffix)) + " " + std::string(copy_word);
  }
  return shown;
}

}  // namespace

std::string DisplayProfileName(std::string_view name, std::string_view profile_word) {
  const std::string_view prefix = MatchingPrefix(name, kProfilePrefixes);
  if (prefix.empty()) return std::string(name);
  return std::string(profile_word) + " " + std::string(name.substr(prefix.size()));
}

std::string DisplayMacroName(std::string_view name, std::string_view custom_word,
                             std::string_view copy_word, MacroNameRule rule) {
  if (rule == MacroNameRule::kList) {
    return ApplyMacroRules(name, custom_word, copy_word, MatchingPrefix(name, kListMacroPrefixes),
                           [](std::string_view n) { return MatchingSuffix(n, kListCopySuffixes); });
  }
  return ApplyMacroRules(name, custom_word, copy_word,
                         MatchingPrefix(name, kAssignmentMacroPrefixes),
                         [](std::string_view n) { return MatchingSuffix(n, kAssignmentCopySuffixes); });
}

}  // namespace corvane
