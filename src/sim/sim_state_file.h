// The --sim-state file: every field of SimState as one `key=value` line, so a
// simulated mouse keeps its settings from one run to the next. Format: docs/simulator.md.
#pragma once

#include <string>

#include "sim/sim_state.h"

namespace corvane {

class SimStateFile {
 public:
  // The whole state as file text, one key per line in a fixed order.
  static std::string Format(const SimState& state);
  // Parses file text over the defaults of SimState. Returns false with a one-line
  // `error` ("line 3: unknown key 'x'") on the first bad line; `state` is then untouched.
  static bool Parse(const std::string& text, SimState& state, std::string& error);

  // Reads `path` (symbolic links followed); a missing file leaves `state` as it is and
  // succeeds. Returns false with `error` when the file is not a regular file, cannot be read
  // or does not parse.
  static bool Load(const std::string& path, SimState& state, std::string& error);
  // Writes `path` through a temporary file and a rename; a symbolic link is followed and its
  // target replaced, anything but a regular file or a new name is refused. Returns false
  // with `error`.
  static bool Save(const std::string& path, const SimState& state, std::string& error);
};

}  // namespace corvane
