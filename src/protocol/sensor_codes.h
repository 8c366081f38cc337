// DPI limits of each sensor and the mouse's 16-bit stage codes for DPI values. The sensor
// code comes from the mouse's device information; unknown codes use the generic 50-step scale.
#pragma once

namespace corvane {

struct SensorScale {
  int min_dpi = 50;
  int max_dpi = 26000;
  int slider_max = 520;  // the slider's lowest position is always 1
};

// Limits and slider range of a sensor code.
SensorScale ScaleForSensor(int sensor);

// The mouse's 16-bit stage code for a DPI value (callers clamp to the range first).
int DpiToDeviceCode(int sensor, int dpi);
// DPI value for a stage code read back from the mouse.
int DeviceCodeToDpi(int sensor, int code);

// Clamps a stored stage value into the sensor's range.
int ClampDpi(int sensor, int dpi);

// A read-back value is stored only above this.
constexpr int kMinStoredReadbackDpi = 50;

}  // namespace corvane
