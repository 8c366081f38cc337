// The rules an imported or typed value must keep: those of the buttons page (which buttons
// may be given which function, with which codes) and of the macro page (play settings and
// event kinds). Shared by the file imports and the command line, so a file cannot store
// what the pages would refuse.
#pragma once

#include <string>
#include <vector>

#include "store/store_records.h"

namespace corvane {

// Returns "" when `button` may be given a function on a mouse with `buttons` (the model's
// button indexes), else why not: "key_code 0 is the primary button and keeps its
// function" or "key_code 12 is not a button of this mouse".
std::string ButtonProblem(int button, const std::vector<int>& buttons);

// Returns "" when the row's function family and codes are ones the buttons page offers,
// else a text naming the value and its limit ("macro_type 12 is not between 1 and 9",
// "macro_value 99 of family 1 must be between 1 and 10", "macro 55 does not exist").
// `macros` are the store's macros (family 4 must name one of them).
std::string FunctionProblem(const KeyAssignRecord& row, const std::vector<MacroRecord>& macros);

// Returns "" when the macro's play and delay settings are ones the macro page stores,
// else a text naming the limit ("play_times -3 must be between 0 and 999").
std::string MacroSettingsProblem(const MacroRecord& macro);

// Returns "" when the event's kind, code or delay are ones the macro page records.
std::string MacroEventProblem(const MacroEventRecord& event);

}  // namespace corvane
