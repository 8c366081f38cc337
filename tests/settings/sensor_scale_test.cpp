#include "settings/sensor_scale.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(SensorScaleTest, ConversionsUseEachSensorsBreakpoints) {
  EXPECT_EQ(DpiToSliderPosition(17, 10000), 200);
  EXPECT_EQ(DpiToSliderPosition(17, 12000), 220);
  EXPECT_EQ(DpiToSliderPosition(17, 24000), 232);
  EXPECT_EQ(SliderPositionToDpi(17, 232), 24000);
  EXPECT_EQ(SliderPositionToDpi(17, 210), 11000);
  EXPECT_EQ(SliderPositionToDpi(5, 184), 12000);
  EXPECT_EQ(SliderPositionToDpi(4, 200), 8000);  // clamped to the maximum
  EXPECT_EQ(DpiToDeviceCode(17, 13000), 221);
  EXPECT_EQ(DpiToDeviceCode(99, 800), 15);        // generic codes are one below v/50
  EXPECT_EQ(DeviceCodeToDpi(99, 15), 800);
  EXPECT_EQ(DeviceCodeToDpi(25, 160), 16000);
  EXPECT_EQ(DpiToDeviceCode(38, 400), 3);
}

TEST(SensorScaleTest, ScalesWithoutExactInversesKeepTheirFormulas) {
  // Sensor 25: slider position 10 maps to 1100, not 1000.
  EXPECT_EQ(SliderPositionToDpi(25, 10), 1100);
  EXPECT_EQ(DpiToSliderPosition(25, 1100), 11);
  // Sensor 38: 400 DPI is code 3, which reads back as 300.
  EXPECT_EQ(DeviceCodeToDpi(38, DpiToDeviceCode(38, 400)), 300);
}

TEST(SensorScaleTest, TypedValuesAreCutToStepAndRange) {
  EXPECT_EQ(NormaliseTypedDpi(17, 12345), 12000);
  EXPECT_EQ(NormaliseTypedDpi(99, 12345), 12300);
  EXPECT_EQ(NormaliseTypedDpi(37, 7777), 7000);
  EXPECT_EQ(NormaliseTypedDpi(37, 4999), 4900);
  EXPECT_EQ(NormaliseTypedDpi(37, 12000), 10000);
  EXPECT_EQ(NormaliseTypedDpi(38, 150), 200);
  EXPECT_EQ(NormaliseTypedDpi(4, 0), 100);     // text that is not a number
  EXPECT_EQ(NormaliseTypedDpi(16, 9999), 4800);
}

TEST(SensorScaleTest, RateClassFollowsCapabilityByte) {
  EXPECT_EQ(RateClassFromCapability(0x10), 5);
  EXPECT_EQ(RateClassFromCapability(0x40), 7);
  EXPECT_EQ(RateClassFromCapability(0x41), 4);
}

}  // namespace
}  // namespace corvane
