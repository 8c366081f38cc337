// DPI limits and the four DPI conversions of each sensor. The sensor code comes
// from the mouse's device information; unknown codes use the generic 50-step scale.
#pragma once

#include <cstdint>

namespace corvane {

struct SensorScale {
  int min_dpi = 50;
  int max_dpi = 26000;
  int slider_max = 520;  // the slider's lowest position is always 1
};

// Limits and slider range of a sensor code.
SensorScale ScaleForSensor(int sensor);

// Slider position for a DPI value.
int DpiToSliderPosition(int sensor, int dpi);
// DPI value for a slider position, clamped to the sensor's maximum.
int SliderPositionToDpi(int sensor, int position);
// The mouse's 16-bit stage code for a DPI value (callers clamp to the range first).
int DpiToDeviceCode(int sensor, int dpi);
// DPI value for a stage code read back from the mouse.
int DeviceCodeToDpi(int sensor, int code);

// A value typed into the stage list, cut to the sensor's step and range.
int NormaliseTypedDpi(int sensor, int typed);

// Clamps a stored stage value into the sensor's range.
int ClampDpi(int sensor, int dpi);

// A read-back value is stored only above this.
constexpr int kMinStoredReadbackDpi = 50;

// Rate class from the report-rate capability byte of the device information:
// 0x10 -> 5, 0x20 -> 6, 0x40 -> 7, anything else -> 4.
int RateClassFromCapability(uint8_t capability);

}  // namespace corvane
