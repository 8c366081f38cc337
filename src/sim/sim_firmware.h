// The command side of the simulated firmware: takes one 64-byte command report as the
// device receives it (no report id) and builds the reply from, and applies writes to,
// a SimState. Not thread-safe; SimHub calls it under its lock.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sim/sim_identity.h"
#include "sim/sim_state.h"

namespace corvane {

inline constexpr int kSimReportSize = 64;
using SimReport = std::array<uint8_t, kSimReportSize>;

// Reply status bytes (reply byte 1). Only 0x00 means accepted.
inline constexpr uint8_t kSimStatusOk = 0x00;
inline constexpr uint8_t kSimStatusUnknownCommand = 0x01;
inline constexpr uint8_t kSimStatusBadChecksum = 0x02;
inline constexpr uint8_t kSimStatusBadParameter = 0x03;
inline constexpr uint8_t kSimStatusUnreachable = 0x04;
// Sent ahead of the real reply by the busy_status_replies fault.
inline constexpr uint8_t kSimStatusBusy = 0x05;

// Notification types (input report byte 0).
inline constexpr uint8_t kSimLinkNotification = 0xC0;
inline constexpr uint8_t kSimDpiNotification = 0xC2;

// Sum of command bytes 4..30 (request bytes 5..31 counted with the report id).
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
  uint8_t DeviceInfo(SimLink link, SimReport& reply) const;
  uint8_t ReadSettings(uint8_t command, SimReport& reply) const;
  uint8_t WriteDpiStages(const SimReport& command);
  uint8_t WriteLighting(const SimReport& command);
  uint8_t WriteMacroPacket(SimLink link, const SimReport& command);
  uint8_t WriteButtons(const SimReport& command);
  uint8_t Dispatch(SimLink link, const SimReport& command, SimReport& reply);

  SimState& state_;
  const SimIdentity& identity_;
  std::array<MacroAssembly, kSimLinkCount> assembly_;
};

}  // namespace corvane
