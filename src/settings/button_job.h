// What the button job (worker task 6) sends, built from the store: the marked
// button's macro packets, then the button command. The worker only sends these.
#pragma once

#include <vector>

#include "settings/command_report.h"
#include "store/settings_database.h"

namespace corvane {

struct ButtonJob {
  std::vector<CommandReport> macro_packets;  // in sending order; may be empty
  CommandReport buttons;                     // the button table command
  int skipped_macros = 0;  // macros left unsent because they need too many packets
};

// Builds the job for `profile`; `marked_button` is the button whose macro to upload,
// or -1. A macro too long for the packet count is not sent (never cut short).
ButtonJob BuildButtonJob(const SettingsDatabase& db, int profile, int marked_button);

}  // namespace corvane
