// How page logic reaches localized text without knowing the language files: a lookup
// from a language text id to UTF-8 text, supplied by the application or by tests.
#pragma once

#include <functional>
#include <string>

namespace corvane {

// Returns the current language's text for `id`; empty when the id is unknown.
using TextLookup = std::function<std::string(int id)>;

}  // namespace corvane
