// Upgrade collection of the simulated device. A transfer is start, data reports of
// one to three 20-byte blocks, end; any bad block spoils the whole transfer.
#include "sim/sim_upgrade.h"

#include "sim/sim_crc16.h"

namespace corvane {
namespace {

constexpr int kBlockSize = static_cast<int>(kUpgradeBlockSize);  // index, data, CRC
constexpr int kCoveredBytes = static_cast<int>(kUpgradeBlockCrcByte);  // CRC covers index and data
constexpr int kBlockData = static_cast<int>(kUpgradeBlockData);
constexpr int kMaxBlocksPerReport = static_cast<int>(kUpgradeBlocksPerReport);
// Far beyond any mouse firmware; keeps a runaway sender from exhausting memory.
constexpr size_t kMaxImageBytes = 16 * 1024 * 1024;

}  // namespace

SimReport SimUpgrade::HandleReport(const SimReport& report) {
  const uint8_t length = report[kUpgradeLengthByte];
  const uint8_t* payload = report.data() + kUpgradePayloadByte;
  bool taken = false;
  if (report[kReportIdByte] != kUpgradeReportId || report[kUpgradeCommandByte] != kUpgradeCommand) {
    taken = false;
  } else if (length == kUpgradeStartLength && payload[0] == kUpgradeStartCode &&
             payload[1] == kUpgradeFill) {
    status_ = SimUpgradeStatus{SimUpgradePhase::kReceiving, 0, 0, {}};
    receiving_.clear();
    taken = true;
  } else if (length == kUpgradeEndLength && payload[0] == kUpgradeEndCode &&
             payload[1] == kUpgradeFill) {
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
  ack[kReportIdByte] = kUpgradeReportId;
  ack[kUpgradeCommandByte] = kUpgradeCommand;
  ack[kUpgradeAckStatusByte] = taken ? kUpgradeAckTaken : kUpgradeAckRefused;
  ack[kUpgradeAckBlocksByte] = status_.blocks_received & 0xFF;
  ack[kUpgradeAckBlocksByte + 1] = (status_.blocks_received >> 8) & 0xFF;
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
    if (receiving_.size() + kUpgradeBlockData > kMaxImageBytes) {
      Fail("image larger than " + std::to_string(kMaxImageBytes) + " bytes");
      return false;
    }
    const uint8_t* data = block + kUpgradeBlockIndexBytes;
    receiving_.insert(receiving_.end(), data, data + kBlockData);
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
