// The DPI slider and typed values of each sensor. Limits and the stage codes the mouse
// takes are the wire's (protocol/sensor_codes.h).
#pragma once

#include "protocol/sensor_codes.h"

namespace corvane {

// Slider position for a DPI value.
int DpiToSliderPosition(int sensor, int dpi);
// DPI value for a slider position, clamped to the sensor's maximum.
int SliderPositionToDpi(int sensor, int position);

// A value typed into the stage list, cut to the sensor's step and range.
int NormaliseTypedDpi(int sensor, int typed);

}  // namespace corvane
