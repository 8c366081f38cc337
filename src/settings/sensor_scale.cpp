// The slider and typed-value rules of each sensor. The slider positions are not the
// device codes (sensor_codes.cpp), though several sensors share their formulas.
#include "settings/sensor_scale.h"

#include <algorithm>

namespace corvane {

int DpiToSliderPosition(int sensor, int v) {
  switch (sensor) {
    case 17:
      if (v <= 10000) return v / 50;
      if (v <= 12000) return (v - 10000) / 100 + 200;
      return (v - 13000) / 1000 + 221;
    case 4:
    case 16:
    case 18:
    case 53: return v / 100;
    case 5: return v <= 6400 ? v / 50 : (v - 6400) / 100 + 128;
    case 37: return v <= 5000 ? v / 100 : (v - 5000) / 500 + 50;
    case 38: return v <= 5000 ? v / 100 - 1 : (v - 5000) / 500 + 50;
    case 25: return v <= 16000 ? v / 100 : (v - 16000) / 1000 + 160;
    default: return v / 50;
  }
}

int SliderPositionToDpi(int sensor, int p) {
  int v;
  switch (sensor) {
    case 17: v = p <= 200 ? p * 50 : (p <= 220 ? (p - 100) * 100 : (p - 208) * 1000); break;
    case 4:
    case 16:
    case 18:
    case 53: v = p * 100; break;
    case 5: v = p <= 128 ? p * 50 : (p - 64) * 100; break;
    case 25: v = p * 100 < 16000 ? p * 100 + 100 : (p - 143) * 1000; break;
    case 37: v = p * 100 <= 5000 ? p * 100 : (p - 40) * 500; break;
    case 38: v = p * 100 < 5000 ? p * 100 + 100 : (p - 39) * 500; break;
    default: v = p * 50; break;
  }
  return std::min(v, ScaleForSensor(sensor).max_dpi);
}

int NormaliseTypedDpi(int sensor, int t) {
  auto cut = [](int value, int step) { return value / step * step; };
  switch (sensor) {
    case 4: return std::clamp(cut(t, 100), 100, 8000);
    case 16:
    case 18: return std::clamp(cut(t, 100), 100, 4800);
    case 53: return std::clamp(cut(t, 100), 100, 16000);
    case 25: return std::clamp(cut(t, 100), 100, 30000);
    case 38: return std::clamp(cut(t, 100), 200, 10000);
    case 37:
      if (t < 100) return 100;
      if (t <= 5000) return cut(t, 100);
      return std::min(cut(t, 1000), 10000);
    case 5:
    case 17: return std::clamp(cut(t, 50), 50, 12000);
    default: return std::clamp(cut(t, 50), 50, 26000);
  }
}

}  // namespace corvane
