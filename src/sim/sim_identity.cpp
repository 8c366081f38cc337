// Parsing and naming of the simulator's connection modes.
#include "sim/sim_identity.h"

namespace corvane {

bool ParseSimMode(std::string_view text, SimMode& mode) {
  if (text.empty() || text == "both") {
    mode = SimMode::kBoth;
  } else if (text == "wired") {
    mode = SimMode::kWired;
  } else if (text == "wireless") {
    mode = SimMode::kWireless;
  } else {
    return false;
  }
  return true;
}

const char* SimModeName(SimMode mode) {
  switch (mode) {
    case SimMode::kWired:
      return "wired";
    case SimMode::kWireless:
      return "wireless";
    case SimMode::kBoth:
      return "both";
  }
  return "both";
}

bool SimModeHasLink(SimMode mode, SimLink link) {
  if (mode == SimMode::kBoth) return true;
  return (mode == SimMode::kWired) == (link == SimLink::kWired);
}

}  // namespace corvane
