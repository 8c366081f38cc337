// Parsing of the notifications.
#include "protocol/notifications.h"

namespace corvane {

bool IsNotification(const uint8_t* report, size_t length) {
  return length > kNotificationTypeByte && IsNotificationType(report[kNotificationTypeByte]);
}

bool ParseLinkNotification(const uint8_t* report, LinkChange& change) {
  if (report[kNotificationTypeByte] != Byte(CommandId::kLinkNotification)) return false;
  change.linked = report[kLinkStateByte] == kLinked;
  change.has_battery = report[kLinkLevelByte] != 0;
  change.battery = BatteryStatus{report[kLinkLevelByte], report[kLinkChargingByte]};
  return true;
}

bool ParseDpiNotification(const uint8_t* report, DpiStageSelection& stages) {
  if (report[kNotificationTypeByte] != Byte(CommandId::kDpiStageNotification)) return false;
  stages = DpiSelectionFromByte(report[kDpiNotificationStageByte]);
  return true;
}

}  // namespace corvane
