// The events file of `macro events ID FILE`: one `TYPE VALUE` line per event (1 delay in
// ms, 2/3 key down/up with a virtual-key code, 4/5 mouse button down/up with a button bit).
#pragma once

#include <string>
#include <string_view>

#include "settings/macro_event_list.h"

namespace corvane::cli {

// Appends the events of `text` to `events`, with texts made as the macro page makes them;
// a press and its release share a timestamp, as the page's inserts do, so editing one edits
// both. Returns "<name> line N: <problem>" for the first bad line, empty on success.
std::string ParseMacroEvents(std::string_view text, const std::string& name,
                             MacroEventList& events);

// Reads the file at `path` and parses it as above. Returns the error, empty on success.
std::string ReadMacroEventsFile(const std::string& path, MacroEventList& events);

}  // namespace corvane::cli
