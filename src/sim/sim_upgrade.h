// The firmware-upgrade collection of a simulated device: takes start, data and end
// reports, checks each block's index and CRC-16/MODBUS, and assembles the image.
// Not thread-safe; SimHub calls it under its lock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/firmware_transfer.h"
#include "sim/sim_firmware.h"

namespace corvane {


enum class SimUpgradePhase { kIdle, kReceiving, kComplete, kFailed };

struct SimUpgradeStatus {
  SimUpgradePhase phase = SimUpgradePhase::kIdle;
  int blocks_received = 0;  // blocks accepted in the current or last transfer
  int rejected_blocks = 0;  // blocks with a wrong CRC or out of sequence
  std::string error;        // why the last transfer failed; empty otherwise
};

class SimUpgrade {
 public:
  // `image` receives each completed image (padded to whole blocks with 0xFF by the
  // sender) and keeps the previous one when a transfer fails.
  explicit SimUpgrade(std::vector<uint8_t>& image) : image_(image) {}

  // Handles one 64-byte report as written (byte 0 is the upgrade report id). Returns the
  // acknowledgement input report: id, command, status (0 = taken), blocks so far (low, high).
  SimReport HandleReport(const SimReport& report);

  const SimUpgradeStatus& Status() const { return status_; }

 private:
  // Returns false (and records why) when a block of a data report is refused.
  bool TakeBlocks(const uint8_t* payload, int length);
  void Fail(const std::string& why);

  SimUpgradeStatus status_;
  std::vector<uint8_t> receiving_;
  std::vector<uint8_t>& image_;
};

}  // namespace corvane
