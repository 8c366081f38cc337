// Upgrade collection of the simulated device. A transfer is start, data reports of
// one to three 20-byte blocks, end; any bad block spoils the whole transfer.
#include "sim/sim_upgrade.h"

#include "sim/sim_crc16.h"

namespace corvane {
namespace {

constexpr int kBlockSize = 20;     // index (2), data (16), CRC (2)
constexpr int kCoveredBytes = 18;  // CRC covers index and data
constexpr int kMaxBlocksPerReport = 3;
constexpr int kPayloadStart = 4;
constexpr uint8_t kUpgradeCommand = 0x02;
constexpr uint8_t kStartLength = 0x02;
constexpr uint8_t kEndLength = 0x06;
constexpr uint8_t kAckOk = 0x00;
constexpr uint8_t kAckRefused = 0x01;
// Far beyond any mouse firmware; keeps a runaway sender from exhausting memory.
constexpr size_t kMaxImageBytes = 16 * 1024 * 1024;

}  // namespace

SimReport SimUpgrade::HandleReport(const SimReport& report) {
  const uint8_t length = report[2];
  const uint8_t* payload = report.data() + kPayloadStart;
  bool taken = false;
  if (report[0] != kSimUpgradeReportId || report[1] != kUpgradeCommand) {
    taken = false;
  } else if (length == kStartLength && payload[0] == 0x01 && payload[1] == 0xFF) {
    status_ = SimUpgradeStatus{SimUpgradePhase::kReceiving, 0, 0, {}};
    receiving_.clear();
    taken = true;
  } else if (length == kEndLength && payload[0] == 0x02 && payload[1] == 0xFF) {
    if (status_.phase == SimUpgradePhase::kReceiving) {
      if (receiving_.empty()) {
        Fail("transfer ended without data");
      } else {
        image_ = std::move(receiving_);
        status_.phase = SimUpgradePhase::kComplete;
        taken = true;
      }
    }
    receiving_.clear();
  } else if (status_.phase == SimUpgradePhase::kReceiving) {
    taken = TakeBlocks(payload, length);
  }
  SimReport ack;
  ack.fill(0);
  ack[0] = kSimUpgradeReportId;
  ack[1] = kUpgradeCommand;
  ack[2] = taken ? kAckOk : kAckRefused;
  ack[3] = status_.blocks_received & 0xFF;
  ack[4] = (status_.blocks_received >> 8) & 0xFF;
  return ack;
}

bool SimUpgrade::TakeBlocks(const uint8_t* payload, int length) {
  if (length == 0 || length % kBlockSize != 0 || length / kBlockSize > kMaxBlocksPerReport) {
    Fail("data report with length " + std::to_string(length));
    return false;
  }
  for (int b = 0; b < length / kBlockSize; ++b) {
    const uint8_t* block = payload + b * kBlockSize;
    const int index = block[0] | (block[1] << 8);
    const uint16_t crc =
        static_cast<uint16_t>(block[kCoveredBytes] | (block[kCoveredBytes + 1] << 8));
    if (SimCrc16Modbus(block, kCoveredBytes) != crc) {
      ++status_.rejected_blocks;
      Fail("CRC mismatch in block " + std::to_string(index));
      return false;
    }
    // The index field is 16 bits wide and wraps on very large images.
    if (index != (status_.blocks_received & 0xFFFF)) {
      ++status_.rejected_blocks;
      Fail("block " + std::to_string(index) + " arrived, expected " +
           std::to_string(status_.blocks_received));
      return false;
    }
    if (receiving_.size() + kSimUpgradeBlockData > kMaxImageBytes) {
      Fail("image larger than " + std::to_string(kMaxImageBytes) + " bytes");
      return false;
    }
    receiving_.insert(receiving_.end(), block + 2, block + 2 + kSimUpgradeBlockData);
    ++status_.blocks_received;
  }
  return true;
}

void SimUpgrade::Fail(const std::string& why) {
  status_.phase = SimUpgradePhase::kFailed;
  status_.error = why;
  receiving_.clear();
}

}  // namespace corvane
