// What the mouse receives for a lighting mode: the lighting command built from the
// profile's row of that mode (the worker sends it with length 65), the light reset, and
// the lighting read-back. Pure functions.
#pragma once

#include <cstdint>

#include "protocol/command_report.h"
#include "store/store_records.h"

namespace corvane {

// Payload: mode, level byte, then what the mode needs. Breathing carries a colour count
// and seven colours, steady light one colour; colours go red byte first.
inline constexpr int kLightModeBreathing = 2;
inline constexpr int kLightModeSteady = 3;
inline constexpr uint8_t kBreathingColourCount = 7;
inline constexpr int kLightColourBytes = 3;
inline constexpr uint8_t kLightLevelOnlyLength = 2;
inline constexpr uint8_t kLightFlowingLength = 3;
inline constexpr uint8_t kLightBreathingLength = 3 + kBreathingColourCount * kLightColourBytes;
inline constexpr uint8_t kLightSteadyLength = 2 + kLightColourBytes;
static_assert(kLightBreathingLength == 24 && kLightBreathingLength <= kReportPayloadMax);
// The level byte: brightness in the high, speed in the low four bits.
inline constexpr int kLightNibble = 0x0F;
inline constexpr int kLightBrightnessShift = 4;
// The light reset (command 0x0E): length 1, payload "lighting".
inline constexpr uint8_t kLightResetLength = 1;
inline constexpr uint8_t kLightResetLighting = 0x01;

// What the lighting read-back (command 0x15) says: the active mode and its level.
struct LightReading {
  int mode = 0;
  int brightness = 0;
  int speed = 0;
};

// Returns the level byte: brightness in the high and speed in the low four bits.
uint8_t LightLevelByte(int brightness, int speed);

// Returns the lighting command for `row`; a mode without a payload gets length byte 0.
CommandReport LightingCommand(const LightRecord& row);

// Returns the 33-byte light reset: the mouse's lighting goes back to its factory effect.
CommandReport LightResetCommand();

// Reads a lighting read-back reply (the whole reply, data from kReplyDataByte).
LightReading ParseLightReadback(const uint8_t* reply);

}  // namespace corvane
