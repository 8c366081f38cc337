// Lighting command per mode.
#include <gtest/gtest.h>

#include <vector>

#include "protocol/light_payload.h"

namespace corvane {
namespace {

LightRecord Row(int mode, int brightness = 2, int speed = 3) {
  LightRecord row;
  row.mode = mode;
  row.brightness = brightness;
  row.speed = speed;
  row.color_value1 = 0x332211;  // red 0x11, green 0x22, blue 0x33
  row.color_value2 = 255;
  row.color_value3 = 65280;
  row.color_value4 = 16711680;
  row.color_value5 = 16776960;
  row.color_value6 = 65535;
  row.color_value7 = 16777215;
  return row;
}

// Bytes 4 onward up to the length byte's reach, plus one zero after.
std::vector<int> Payload(const CommandReport& r) {
  std::vector<int> out;
  for (int i = 4; i <= 5 + r.bytes[4]; ++i) out.push_back(r.bytes[i]);
  return out;
}

TEST(LightPayloadTest, HeaderAndLength) {
  const CommandReport r = LightingCommand(Row(0));
  EXPECT_EQ(r.length, 65);
  EXPECT_EQ(r.bytes[0], 0x00);
  EXPECT_EQ(r.bytes[1], 0x05);
  EXPECT_EQ(r.bytes[2], 0x00);
  EXPECT_EQ(r.bytes[3], 0x01);
}

TEST(LightPayloadTest, EveryMode) {
  EXPECT_EQ(Payload(LightingCommand(Row(0, 4, 2))), (std::vector<int>{2, 0, 0x42, 0}));
  EXPECT_EQ(Payload(LightingCommand(Row(4))), (std::vector<int>{2, 4, 0x23, 0}));
  EXPECT_EQ(Payload(LightingCommand(Row(5))), (std::vector<int>{2, 5, 0x23, 0}));
  EXPECT_EQ(Payload(LightingCommand(Row(1))), (std::vector<int>{3, 1, 0x23, 0, 0}));
  EXPECT_EQ(Payload(LightingCommand(Row(3))),
            (std::vector<int>{5, 3, 0x23, 0x11, 0x22, 0x33, 0}));
  EXPECT_EQ(Payload(LightingCommand(Row(2))),
            (std::vector<int>{24, 2, 0x23, 7, 0x11, 0x22, 0x33, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0,
                              255, 255, 255, 255, 0, 255, 255, 255, 0}));
  const CommandReport other = LightingCommand(Row(6));
  EXPECT_EQ(other.bytes[4], 0);
  for (int i = 5; i < 65; ++i) EXPECT_EQ(other.bytes[i], 0);
}

TEST(LightPayloadTest, LevelByteKeepsFourBitsEach) {
  EXPECT_EQ(LightLevelByte(2, 5), 0x25);
  EXPECT_EQ(LightLevelByte(4, 0), 0x40);
  EXPECT_EQ(LightLevelByte(0x1F, 0x13), 0xF3);
}

}  // namespace
}  // namespace corvane
