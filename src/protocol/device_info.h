// The device information (command 0x10) and the mouse's firmware version (command 0x20,
// through the receiver): the request and where each fact sits in the reply. Reply
// offsets count from the reply's byte 0, as the reply buffer holds it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/device_values.h"
#include "protocol/command_report.h"

namespace corvane {

inline constexpr size_t kDeviceInfoSize = kReportBufferSize;  // buffers holding the reply
inline constexpr size_t kInfoDevIdByte = kReplyDataByte;      // four bytes of firmware id
inline constexpr size_t kDevIdLength = 4;
inline constexpr size_t kInfoSensorByte = 10;
inline constexpr size_t kInfoRateByte = 11;
inline constexpr size_t kInfoChargingByte = 12;  // battery "a": 1 = charging
inline constexpr size_t kInfoLevelByte = 13;     // battery "b": level in percent
inline constexpr size_t kInfoReachableByte = 14;  // 0: the receiver cannot reach the mouse
static_assert(kInfoDevIdByte + kDevIdLength <= kInfoSensorByte);
static_assert(kInfoReachableByte < kReplyChecksumByte);

// The firmware version reply: high byte, then low byte.
inline constexpr size_t kFirmwareVersionHighByte = kReplyDataByte;
inline constexpr size_t kFirmwareVersionLowByte = kReplyDataByte + 1;

// The battery a device information reply carries.
inline BatteryStatus BatteryFromDeviceInfo(const uint8_t* info) {
  return BatteryStatus{info[kInfoLevelByte], info[kInfoChargingByte]};
}

// The firmware id of a device information reply: its bytes up to the first NUL, each
// byte one character (bytes above 0x7F become their two-byte UTF-8 form).
std::string DevIdFromDeviceInfo(const uint8_t* info);

// Rate class from the report-rate capability byte of the device information:
// 0x10 -> 5, 0x20 -> 6, 0x40 -> 7, anything else -> 4.
int RateClassFromCapability(uint8_t capability);

}  // namespace corvane
