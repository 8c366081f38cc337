// libFuzzer target: arbitrary bytes as the command line's macro events file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/macro_events_file.h"
#include "fuzz_scratch.h"
#include "protocol/macro_packets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  corvane::MacroEventList events;
  const std::string error =
      corvane::cli::ParseMacroEvents(corvane::fuzz::AsText(data, size), "events", events);
  if (!error.empty() && error.rfind("events line ", 0) != 0) __builtin_trap();
  if (!error.empty() || !corvane::MacroFitsPackets(events.Items())) return 0;
  // What the upload would send for them.
  std::vector<corvane::CommandReport> packets;
  corvane::MacroPackets(corvane::MacroBlob(2, events.Items()), packets);
  return 0;
}
