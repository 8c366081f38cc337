// Display names of system-made macro names, in the current language. The rule itself
// lives with the other display-name rules in app/display_names.
#include "settings/macro_names.h"

#include "app/display_names.h"

namespace corvane {

std::string MacroListDisplayName(std::string_view name, const TextLookup& texts) {
  return DisplayMacroName(name, texts(kTextMacroNameBase), texts(kTextCopy), MacroNameRule::kList);
}

std::string MacroAssignDisplayName(std::string_view name, const TextLookup& texts) {
  return DisplayMacroName(name, texts(kTextMacroNameBase), texts(kTextCopy),
                          MacroNameRule::kAssignment);
}

}  // namespace corvane
