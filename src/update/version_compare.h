// Ordering of the dotted version texts the update server answers with.
// Parts are compared as numbers, so 1.0.10 is newer than 1.0.2.
#pragma once

#include <string_view>

namespace corvane {

// Compares the versions `a` (ours) and `b` (offered), split at every ".":
// 2 when the part counts differ, -1 when a is newer, 1 when b is newer, 0 when equal.
// Each part is read as a decimal number up to its first non-digit (empty or text → 0).
// A result of 1 or more means the offered version should be proposed.
int compare(std::string_view a, std::string_view b);

// True when `text` is digits and points with at least one digit, optionally followed by a
// line break ("1.0.2\r\n"). Anything else (an error page, a word) is not a version and must
// not be compared, since a differently shaped text compares as newer.
bool IsVersionText(std::string_view text);

}  // namespace corvane
