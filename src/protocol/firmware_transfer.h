// The firmware-upgrade collection's reports: a start report, data reports of up to three
// CRC-protected 16-byte blocks, an end report, and the acknowledgement the device answers
// each with. The transfer that sends them is device/upgrade_transfer.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace corvane {

inline constexpr size_t kUpgradeReportSize = 64;
inline constexpr uint8_t kUpgradeReportId = 0x05;
inline constexpr uint16_t kUpgradeUsagePage = 0xFFEF;
inline constexpr uint16_t kUpgradeUsage = 0x0000;
// Report layout: id, command, payload length, a zero, then the payload.
inline constexpr size_t kUpgradeCommandByte = 1;
inline constexpr size_t kUpgradeLengthByte = 2;
inline constexpr size_t kUpgradePayloadByte = 4;
inline constexpr uint8_t kUpgradeCommand = 0x02;
// Start and end: a two-byte payload of a code and the fill byte.
inline constexpr uint8_t kUpgradeStartLength = 0x02;
inline constexpr uint8_t kUpgradeStartCode = 0x01;
inline constexpr uint8_t kUpgradeEndLength = 0x06;
inline constexpr uint8_t kUpgradeEndCode = 0x02;
inline constexpr uint8_t kUpgradeFill = 0xFF;
// A block: index (16-bit little-endian), data, CRC-16/MODBUS of index and data (little-endian).
inline constexpr size_t kUpgradeBlockData = 16;
inline constexpr size_t kUpgradeBlockIndexBytes = 2;
inline constexpr size_t kUpgradeBlockCrcByte = kUpgradeBlockIndexBytes + kUpgradeBlockData;
inline constexpr size_t kUpgradeBlockSize = kUpgradeBlockCrcByte + 2;
inline constexpr size_t kUpgradeBlocksPerReport = 3;
inline constexpr size_t kUpgradeBytesPerReport = kUpgradeBlockData * kUpgradeBlocksPerReport;
// Block indexes are 16 bits wide; a longer image would wrap them.
inline constexpr size_t kMaxUpgradeImageBytes = 0x10000 * kUpgradeBlockData;
// The acknowledgement (input report): id, command, status, blocks so far (16-bit little-endian).
inline constexpr size_t kUpgradeAckStatusByte = 2;
inline constexpr size_t kUpgradeAckBlocksByte = 3;
inline constexpr uint8_t kUpgradeAckTaken = 0x00;
inline constexpr uint8_t kUpgradeAckRefused = 0x01;

static_assert(kUpgradeBlockSize == 20);
static_assert(kUpgradePayloadByte + kUpgradeBlocksPerReport * kUpgradeBlockSize <= kUpgradeReportSize);

using UpgradeReport = std::array<uint8_t, kUpgradeReportSize>;

// CRC-16/MODBUS (reflected 0xA001, initial 0xFFFF, no final XOR) of `length` bytes.
uint16_t UpgradeCrc16(const uint8_t* data, size_t length);

// The start and end reports, and a data report carrying `data` (1..48 bytes) as
// blocks numbered from `first_block`, the last padded with 0xFF.
UpgradeReport BuildUpgradeStartReport();
UpgradeReport BuildUpgradeEndReport();
UpgradeReport BuildUpgradeDataReport(uint16_t first_block, const uint8_t* data, size_t length);

}  // namespace corvane
