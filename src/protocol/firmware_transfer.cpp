// The upgrade collection's report building.
#include "protocol/firmware_transfer.h"

#include <algorithm>

namespace corvane {
namespace {

UpgradeReport BlankReport(uint8_t payload_length) {
  UpgradeReport report;
  report.fill(kUpgradeFill);
  report[0] = kUpgradeReportId;
  report[kUpgradeCommandByte] = kUpgradeCommand;
  report[kUpgradeLengthByte] = payload_length;
  report[kUpgradeLengthByte + 1] = 0x00;
  return report;
}

UpgradeReport CodeReport(uint8_t length, uint8_t code) {
  UpgradeReport report = BlankReport(length);
  report[kUpgradePayloadByte] = code;
  report[kUpgradePayloadByte + 1] = kUpgradeFill;
  return report;
}

}  // namespace

uint16_t UpgradeCrc16(const uint8_t* data, size_t length) {
  uint16_t crc = 0xFFFF;
  for (size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  return crc;
}

UpgradeReport BuildUpgradeStartReport() { return CodeReport(kUpgradeStartLength, kUpgradeStartCode); }

UpgradeReport BuildUpgradeEndReport() { return CodeReport(kUpgradeEndLength, kUpgradeEndCode); }

UpgradeReport BuildUpgradeDataReport(uint16_t first_block, const uint8_t* data, size_t length) {
  length = std::min(length, kUpgradeBytesPerReport);
  const size_t blocks = (length + kUpgradeBlockData - 1) / kUpgradeBlockData;
  UpgradeReport report = BlankReport(static_cast<uint8_t>(blocks * kUpgradeBlockSize));
  for (size_t b = 0; b < blocks; ++b) {
    uint8_t* block = report.data() + kUpgradePayloadByte + b * kUpgradeBlockSize;
    const auto index = static_cast<uint16_t>(first_block + b);
    block[0] = static_cast<uint8_t>(index & 0xFF);
    block[1] = static_cast<uint8_t>(index >> 8);
    uint8_t* block_data = block + kUpgradeBlockIndexBytes;
    const size_t offset = b * kUpgradeBlockData;
    const size_t take = std::min(kUpgradeBlockData, length - offset);
    std::fill(block_data, block_data + kUpgradeBlockData, kUpgradeFill);
    std::copy(data + offset, data + offset + take, block_data);
    const uint16_t crc = UpgradeCrc16(block, kUpgradeBlockCrcByte);
    block[kUpgradeBlockCrcByte] = static_cast<uint8_t>(crc & 0xFF);
    block[kUpgradeBlockCrcByte + 1] = static_cast<uint8_t>(crc >> 8);
  }
  return report;
}

}  // namespace corvane
