// Parsing of the macro events file; kept apart from the command so it can be fuzzed.
#include "cli/macro_events_file.h"

#include <fstream>
#include <map>
#include <sstream>
#include <utility>
#include <vector>

#include "base/text.h"
#include "settings/macro_event_list.h"
#include "protocol/macro_packets.h"

namespace corvane::cli {
namespace {

// Checks one event of an events file. Returns the problem, empty when the event is valid.
std::string EventProblem(int type, int value) {
  switch (type) {
    case kEventDelay:
      if (value < kMinEditDelay || value > kMaxEditDelay) {
        return "a delay must be " + IntToDecimal(kMinEditDelay) + " to " +
               IntToDecimal(kMaxEditDelay) + " ms";
      }
      return "";
    case kEventKeyDown:
    case kEventKeyUp:
      return EventText(type, value).empty() || value <= 0 ? "unknown virtual-key code" : "";
    case kEventMouseDown:
    case kEventMouseUp:
      return MouseButtonName(value).empty() ? "unknown mouse button bit" : "";
    default:
      return "unknown event type (1 delay, 2/3 key down/up, 4/5 mouse button down/up)";
  }
}

}  // namespace

std::string ParseMacroEvents(std::string_view text, const std::string& name,
                             MacroEventList& events) {
  std::istringstream file{std::string(text)};
  std::map<std::pair<int, int>, std::vector<int>> open_presses;  // (down type, value) -> stamps
  int next_stamp = 0;
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream fields(line);
    std::string type_text, value_text, extra;
    if (!(fields >> type_text)) continue;  // blank line
    int type = 0, value = 0;
    if (!(fields >> value_text) || (fields >> extra) || !ParseExactDecimal(type_text, type) ||
        !ParseExactDecimal(value_text, value)) {
      return name + " line " + IntToDecimal(number) + ": expected TYPE VALUE";
    }
    const std::string problem = EventProblem(type, value);
    if (!problem.empty()) return name + " line " + IntToDecimal(number) + ": " + problem;
    int stamp = next_stamp;
    const bool release = type == kEventKeyUp || type == kEventMouseUp;
    std::vector<int>& open = open_presses[{release ? type - 1 : type, value}];
    if (release && !open.empty()) {
      stamp = open.back();
      open.pop_back();
    } else {
      ++next_stamp;
      if (type == kEventKeyDown || type == kEventMouseDown) open.push_back(stamp);
    }
    events.Append(type, value, EventText(type, value), stamp);
  }
  return "";
}

std::string ReadMacroEventsFile(const std::string& path, MacroEventList& events) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return "cannot read " + path;
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) return "cannot read " + path;
  return ParseMacroEvents(text.str(), path, events);
}

}  // namespace corvane::cli
