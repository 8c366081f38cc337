// The command side of the simulated firmware: takes one 64-byte command report as the
// device receives it (no report id) and builds the reply from, and applies writes to,
// a SimState. Not thread-safe; SimHub calls it under its lock.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "protocol/command_report.h"
#include "sim/sim_identity.h"
#include "sim/sim_state.h"

namespace corvane {

inline constexpr int kSimReportSize = kInputReportSize;
using SimReport = std::array<uint8_t, kSimReportSize>;

// Sum of command bytes 4..30 (request bytes 5..31 counted with the report id). Counted here
// on its own rather than with the tool's CommandChecksum, so a fault in either shows.
uint8_t SimCommandChecksum(const SimReport& command);

class SimFirmware {
 public:
  SimFirmware(SimState& state, const SimIdentity& identity);

  // Handles one command that arrived on `link`'s configuration collection and
  // returns the reply (byte 0 echoes the command id, byte 1 is the status).
  SimReport HandleCommand(SimLink link, const SimReport& command);

  // Moves to the next DPI stage as the mouse's button does. Returns the 0xC2
  // notification announcing it.
  SimReport PressDpiButton();

  // The 0xC0 link notification for the current power and battery state.
  SimReport LinkNotification() const;

 private:
  struct MacroAssembly {
    int expected_packet = 0;
    int packet_count = 0;
    std::vector<uint8_t> blob;
  };

  // Each returns the reply status; `reply` carries read data from byte 4.
  ReplyStatus DeviceInfo(SimLink link, SimReport& reply) const;
  ReplyStatus ReadSettings(CommandId command, SimReport& reply) const;
  ReplyStatus WriteDpiStages(const SimReport& command);
  ReplyStatus WriteLighting(const SimReport& command);
  ReplyStatus WriteMacroPacket(SimLink link, const SimReport& command);
  ReplyStatus WriteButtons(const SimReport& command);
  ReplyStatus Dispatch(SimLink link, const SimReport& command, SimReport& reply);

  SimState& state_;
  const SimIdentity& identity_;
  std::array<MacroAssembly, kSimLinkCount> assembly_;
};

}  // namespace corvane
