#include "settings/sensor_scale.h"
#include "protocol/device_info.h"

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

TEST(SensorScaleTest, EverySensorsSliderSpansExactlyItsLimits) {
  // 99 stands for every code without a scale of its own.
  for (int sensor : {4, 5, 16, 17, 18, 25, 37, 38, 53, 99}) {
    SCOPED_TRACE(testing::Message() << "sensor " << sensor);
    const SensorScale scale = ScaleForSensor(sensor);
    EXPECT_LT(scale.min_dpi, scale.max_dpi);
    // The slider's last position shows the maximum, the maximum puts it at its end, and
    // its first position (always 1) shows a value within the range.
    EXPECT_EQ(SliderPositionToDpi(sensor, scale.slider_max), scale.max_dpi);
    EXPECT_GE(DpiToSliderPosition(sensor, scale.max_dpi), scale.slider_max);
    EXPECT_GE(SliderPositionToDpi(sensor, 1), scale.min_dpi);
    EXPECT_LE(DpiToSliderPosition(sensor, scale.min_dpi), 1);
    int previous = 0;
    for (int p = 1; p <= scale.slider_max; ++p) {
      const int dpi = SliderPositionToDpi(sensor, p);
      EXPECT_GE(dpi, previous) << "position " << p;
      EXPECT_LE(dpi, scale.max_dpi) << "position " << p;
      previous = dpi;
    }
    // Stored values are held to the range, and the limits fit the mouse's 16-bit codes.
    EXPECT_EQ(ClampDpi(sensor, 0), scale.min_dpi);
    EXPECT_EQ(ClampDpi(sensor, 1000000), scale.max_dpi);
    EXPECT_GE(DpiToDeviceCode(sensor, scale.min_dpi), 0);
    EXPECT_LE(DpiToDeviceCode(sensor, scale.max_dpi), 0xFFFF);
    // Typed values never leave the range either.
    EXPECT_GE(NormaliseTypedDpi(sensor, 1), scale.min_dpi);
    EXPECT_LE(NormaliseTypedDpi(sensor, 1000000), scale.max_dpi);
    if (sensor != 38) {  // 38's codes are one step off by design (see above)
      EXPECT_EQ(DeviceCodeToDpi(sensor, DpiToDeviceCode(sensor, scale.max_dpi)), scale.max_dpi);
    }
  }
  // Codes 16 and 18 name the same sensor.
  EXPECT_EQ(ScaleForSensor(16).max_dpi, ScaleForSensor(18).max_dpi);
  EXPECT_EQ(ScaleForSensor(16).slider_max, ScaleForSensor(18).slider_max);
}

TEST(SensorScaleTest, RateClassFollowsCapabilityByte) {
  EXPECT_EQ(RateClassFromCapability(0x10), 5);
  EXPECT_EQ(RateClassFromCapability(0x40), 7);
  EXPECT_EQ(RateClassFromCapability(0x41), 4);
}

}  // namespace
}  // namespace corvane
