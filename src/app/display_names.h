// Names the program made itself (default profile names, default macro names, names of
// copies) are stored in the language of the moment; these rules show them in the current
// language without changing what is stored.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// A profile name beginning with "Profile" or "配置" shown as `profile_word` (text 61), a
// space and the rest of the name; any other name unchanged.
std::string DisplayProfileName(std::string_view name, std::string_view profile_word);

// Which prefixes and suffixes are recognised: kList for the macro list and its combo box
// ("Custom"/"自定义", "Copy"/"复制"); kAssignment for macro descriptions on the buttons page,
// which also knows "自定義", "カスタム", "Пользоват" and "複製", "Копировать".
enum class MacroNameRule { kList, kAssignment };

// A macro name with a known default prefix replaced by `custom_word` (text 351, "%s%s"),
// then, when it ends with a known copy word, the part before that word's first occurrence,
// a space and `copy_word` (text 31, "%s %s").
std::string DisplayMacroName(std::string_view name, std::string_view custom_word,
                             std::string_view copy_word, MacroNameRule rule = MacroNameRule::kList);

}  // namespace corvane
