// Display names of macros: names the system made ("Custom 3", "... Copy") are shown
// in the current language while the stored name stays as it is.
#pragma once

#include "app/text_ids.h"

#include <string>
#include <string_view>

#include "settings/settings_texts.h"

namespace corvane {


// Returns the name as the macro list and the macro combo box show it.
std::string MacroListDisplayName(std::string_view name, const TextLookup& texts);

// Returns the name as a macro assignment's description on the buttons page shows it
// (the same rule with the wider set of prefixes and suffixes).
std::string MacroAssignDisplayName(std::string_view name, const TextLookup& texts);

}  // namespace corvane
