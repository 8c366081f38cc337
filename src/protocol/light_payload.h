// What the mouse receives for a lighting mode: the lighting command built from the
// profile's row of that mode. Pure function; the worker sends it with length 65.
#pragma once

#include <cstdint>

#include "settings/command_report.h"
#include "store/store_records.h"

namespace corvane {

inline constexpr uint8_t kLightingCommand = 0x05;
inline constexpr uint8_t kLightResetCommand = 0x0E;
inline constexpr uint8_t kLightReadCommand = 0x15;

// Returns the level byte: brightness in the high and speed in the low four bits.
uint8_t LightLevelByte(int brightness, int speed);

// Returns the lighting command for `row`; a mode without a payload gets length byte 0.
CommandReport LightingCommand(const LightRecord& row);

}  // namespace corvane
