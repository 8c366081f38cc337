// The reports the mouse sends unasked: the receiver's link change (0xC0) and the DPI
// button's stage change (0xC2). Byte 0 is the type; what follows depends on it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/device_values.h"
#include "protocol/command_report.h"
#include "protocol/dpi_selection.h"

namespace corvane {

// Buffers that receive a notification hold a whole report.
inline constexpr size_t kNotificationSize = kReportBufferSize;
inline constexpr size_t kNotificationTypeByte = kReplyTypeByte;
// Link change: byte 1 = 1 linked, else not; byte 2 the battery level (0 = no battery
// news), byte 3 the charging state.
inline constexpr size_t kLinkStateByte = 1;
inline constexpr size_t kLinkLevelByte = 2;
inline constexpr size_t kLinkChargingByte = 3;
inline constexpr uint8_t kLinked = 1;
// DPI stage change: byte 1 is the stage byte (dpi_selection.h).
inline constexpr size_t kDpiNotificationStageByte = 1;

// True when `length` (> 0) bytes of `report` are a notification.
bool IsNotification(const uint8_t* report, size_t length);

struct LinkChange {
  bool linked = false;
  bool has_battery = false;  // the level byte was not 0
  BatteryStatus battery;
};

// Reads a link notification. Returns false, leaving `change` untouched, for any other report.
bool ParseLinkNotification(const uint8_t* report, LinkChange& change);

// Reads a DPI stage notification (clamped). Returns false for any other report.
bool ParseDpiNotification(const uint8_t* report, DpiStageSelection& stages);

}  // namespace corvane
