// Sensor scales and the stage codes the mice take for DPI values. Several conversions are
// deliberately not exact inverses of each other (sensors 25 and 38): the mice expect
// exactly these formulas.
#include "protocol/sensor_codes.h"

#include <algorithm>

namespace corvane {

SensorScale ScaleForSensor(int sensor) {
  switch (sensor) {
    case 4: return {100, 8000, 80};
    case 5: return {50, 12000, 184};
    case 16:
    case 18: return {100, 4800, 48};
    case 17: return {50, 24000, 232};
    case 25: return {100, 30000, 174};
    case 37: return {100, 10000, 60};
    case 38: return {200, 10000, 59};
    case 53: return {100, 16000, 160};
    default: return {};
  }
}

int DpiToDeviceCode(int sensor, int v) {
  switch (sensor) {
    case 17:
      if (v >= 13000) return (v - 13000) / 1000 + 221;
      if (v <= 10000) return v / 50;
      return (v - 10000) / 100 + 200;
    case 5: return v <= 6400 ? v / 50 : (v - 6400) / 100 + 128;
    case 37: return v <= 5000 ? v / 100 : (v - 5000) / 500 + 50;
    case 38: return v <= 5000 ? v / 100 - 1 : (v - 5000) / 500 + 50;
    case 25: return v <= 16000 ? v / 100 : (v - 16000) / 1000 + 160;
    case 4:
    case 16:
    case 18:
    case 53: return v / 100;
    default: return v / 50 - 1;
  }
}

int DeviceCodeToDpi(int sensor, int c) {
  switch (sensor) {
    case 17: return c < 200 ? c * 50 : (c <= 220 ? (c - 100) * 100 : (c - 208) * 1000);
    case 5: return c <= 128 ? c * 50 : (c - 64) * 100;
    case 37: return c < 50 ? c * 100 : (c - 40) * 500;
    case 38: return c < 50 ? c * 100 : (c - 39) * 500;
    case 25: return c < 160 ? c * 100 : (c - 144) * 1000;
    case 4:
    case 16:
    case 18:
    case 53: return c * 100;
    default: return c * 50 + 50;
  }
}

int ClampDpi(int sensor, int dpi) {
  SensorScale scale = ScaleForSensor(sensor);
  return std::clamp(dpi, scale.min_dpi, scale.max_dpi);
}

}  // namespace corvane
