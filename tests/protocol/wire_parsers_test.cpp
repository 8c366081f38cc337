// The report layout's checksum span and the parsers of what the mouse sends: device
// information, notifications, the lighting read-back and the DPI stage byte.
#include <gtest/gtest.h>

#include <array>

#include "protocol/command_report.h"
#include "protocol/device_info.h"
#include "protocol/light_payload.h"
#include "protocol/notifications.h"

namespace corvane {
namespace {

using Report = std::array<uint8_t, kReportBufferSize>;

TEST(WireLayoutTest, ChecksumCoversThePayloadBytesOnly) {
  Report report{};
  report[kReportCommandByte] = Byte(CommandId::kPower);
  report[kReportLengthByte] = 4;
  report[kReportPayloadByte] = 0xF0;
  report[kReportChecksumByte - 1] = 0x20;
  EXPECT_EQ(CommandChecksum(report.data()), 0x10);  // 0xF0 + 0x20, 8 bits
  // Header bytes and the checksum's own byte are outside the sum.
  report[kReportChecksumByte] = 0x77;
  report[kReportLengthByte] = 0x99;
  EXPECT_EQ(CommandChecksum(report.data()), 0x10);
}

TEST(WireParsersTest, LinkNotificationCarriesLinkAndBatteryNews) {
  const Report on{Byte(CommandId::kLinkNotification), kLinked, 40, 1};
  LinkChange change;
  ASSERT_TRUE(ParseLinkNotification(on.data(), change));
  EXPECT_TRUE(change.linked);
  EXPECT_TRUE(change.has_battery);
  EXPECT_EQ(change.battery, (BatteryStatus{40, 1}));

  const Report off{Byte(CommandId::kLinkNotification), 0, 0, 1};
  ASSERT_TRUE(ParseLinkNotification(off.data(), change));
  EXPECT_FALSE(change.linked);
  EXPECT_FALSE(change.has_battery);  // a level of 0 is no news, whatever byte 3 says

  // A DPI report is not a link report and leaves the last reading alone.
  change.linked = true;
  const Report dpi{Byte(CommandId::kDpiStageNotification), 0x21};
  EXPECT_FALSE(ParseLinkNotification(dpi.data(), change));
  EXPECT_TRUE(change.linked);
  EXPECT_TRUE(IsNotification(dpi.data(), 1));
  EXPECT_FALSE(IsNotification(dpi.data(), 0));
}

TEST(WireParsersTest, DpiStageByteIsClampedToTheStagesThereAre) {
  DpiStageSelection stages;
  const Report third_of_four{Byte(CommandId::kDpiStageNotification), 0x24};
  ASSERT_TRUE(ParseDpiNotification(third_of_four.data(), stages));
  EXPECT_EQ(stages.count, 4);
  EXPECT_EQ(stages.index, 2);
  // Four bits each: 15 stages and index 14 are beyond any mouse.
  const Report wild{Byte(CommandId::kDpiStageNotification), 0xEF};
  ASSERT_TRUE(ParseDpiNotification(wild.data(), stages));
  EXPECT_EQ(stages.count, kMaxDpiStages);
  EXPECT_EQ(stages.index, kMaxDpiStages - 1);
  const DpiStageSelection back = DpiSelectionFromByte(DpiSelectionByte(3, 5));
  EXPECT_EQ(back.count, 5);
  EXPECT_EQ(back.index, 3);
}

TEST(WireParsersTest, DevIdStopsAtNulAndKeepsHighBytesAsCharacters) {
  Report info{};
  info[kInfoDevIdByte] = 'M';
  info[kInfoDevIdByte + 1] = '7';
  info[kInfoDevIdByte + 3] = 'X';  // after the NUL: not part of the id
  EXPECT_EQ(DevIdFromDeviceInfo(info.data()), "M7");
  info[kInfoDevIdByte + 2] = 0xE9;
  EXPECT_EQ(DevIdFromDeviceInfo(info.data()), "M7\xC3\xA9X");
  info[kInfoChargingByte] = 1;
  info[kInfoLevelByte] = 55;
  EXPECT_EQ(BatteryFromDeviceInfo(info.data()), (BatteryStatus{55, 1}));
}

TEST(WireParsersTest, LightingReadbackSplitsTheLevelByte) {
  Report reply{};
  reply[kReplyDataByte] = kLightModeSteady;
  reply[kReplyDataByte + 1] = LightLevelByte(3, 9);
  const LightReading reading = ParseLightReadback(reply.data());
  EXPECT_EQ(reading.mode, kLightModeSteady);
  EXPECT_EQ(reading.brightness, 3);
  EXPECT_EQ(reading.speed, 9);
  const CommandReport reset = LightResetCommand();
  EXPECT_EQ(reset.length, kShortReportLength);
  EXPECT_EQ(reset.bytes[kReportCommandByte], Byte(CommandId::kLightReset));
  EXPECT_EQ(reset.bytes[kReportPayloadByte], kLightResetLighting);
}

}  // namespace
}  // namespace corvane
