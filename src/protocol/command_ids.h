// The ids of the configuration collection's traffic: command ids (byte 1 of an output
// report, echoed in byte 0 of the reply), the types of the reports the mouse sends
// unasked (byte 0 of an input report) and the reply statuses (reply byte 1). One id
// space: byte 0 alone tells a notification from a reply.
#pragma once

#include <cstdint>

namespace corvane {

enum class CommandId : uint8_t {
  kReportRate = 0x02,
  kDpiStages = 0x03,
  kDpiColours = 0x04,
  kLighting = 0x05,
  kSensor = 0x06,
  kPower = 0x07,
  kMacro = 0x08,
  kButtons = 0x09,
  kLightReset = 0x0E,
  kRestoreDefaults = 0x0F,
  kDeviceInfo = 0x10,
  kReadAll = 0x11,
  kReadReportRate = 0x12,
  kReadDpiStages = 0x13,
  kReadDpiColours = 0x14,
  kReadLighting = 0x15,
  kReadSensor = 0x16,
  kReadPower = 0x17,
  kReadFirmwareVersion = 0x20,  // answered by the receiver only
  // Notifications: input reports the mouse sends on its own.
  kLinkNotification = 0xC0,      // the wireless link came up or went down
  kDpiStageNotification = 0xC2,  // the DPI button moved to another stage
};

constexpr uint8_t Byte(CommandId id) { return static_cast<uint8_t>(id); }

// True for the type byte of a report the mouse sent unasked.
constexpr bool IsNotificationType(uint8_t type) {
  return type == Byte(CommandId::kLinkNotification) ||
         type == Byte(CommandId::kDpiStageNotification);
}

// Each read-back is its write's id with this bit set.
inline constexpr uint8_t kReadBackBit = 0x10;
static_assert(Byte(CommandId::kReadReportRate) == (Byte(CommandId::kReportRate) | kReadBackBit));
static_assert(Byte(CommandId::kReadDpiStages) == (Byte(CommandId::kDpiStages) | kReadBackBit));
static_assert(Byte(CommandId::kReadDpiColours) == (Byte(CommandId::kDpiColours) | kReadBackBit));
static_assert(Byte(CommandId::kReadLighting) == (Byte(CommandId::kLighting) | kReadBackBit));
static_assert(Byte(CommandId::kReadSensor) == (Byte(CommandId::kSensor) | kReadBackBit));
static_assert(Byte(CommandId::kReadPower) == (Byte(CommandId::kPower) | kReadBackBit));
// A reply echoes its command id, so no command may share a notification's type.
static_assert(!IsNotificationType(Byte(CommandId::kReadFirmwareVersion)));

// Reply byte 1. Only kAccepted means the mouse took the command.
enum class ReplyStatus : uint8_t {
  kAccepted = 0x00,
  kUnknownCommand = 0x01,
  kBadChecksum = 0x02,
  kBadParameter = 0x03,  // wrong length byte or impossible value; nothing changed
  kUnreachable = 0x04,   // the receiver cannot reach the switched-off mouse
  kBusy = 0x05,          // the real reply follows
};

constexpr uint8_t Byte(ReplyStatus status) { return static_cast<uint8_t>(status); }

}  // namespace corvane
