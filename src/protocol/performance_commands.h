// Payloads of the performance commands (DPI stages and colours, report rate,
// lift-off and sensor, power and response time, restore defaults) and the
// parsing of their read-back replies into configuration keys.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "protocol/command_report.h"

namespace corvane {


// Reads one configuration key of the active profile as an integer (0 when the
// key is missing or not a number).
using ConfigReader = std::function<int(const std::string& key)>;

// A key and the decimal text to store under it.
using ConfigWrite = std::pair<std::string, std::string>;

inline constexpr int kDpiStagesSent = 6;

// Length bytes (byte 4) of the performance writes. 37 is what the mice expect for the
// DPI stages, not the number of payload bytes.
inline constexpr uint8_t kReportRateLength = 1;
inline constexpr uint8_t kDpiStagesLength = 37;
inline constexpr uint8_t kDpiColoursLength = 18;
inline constexpr uint8_t kSensorLength = 5;
inline constexpr uint8_t kPowerLength = 4;
inline constexpr uint8_t kRestoreDefaultsLength = 1;
inline constexpr uint8_t kRestoreEverything = 0xFF;  // the restore's payload: every setting
// DPI stages payload: the stage byte, then per stage its code (low, high) twice.
inline constexpr int kDpiStageCodesByte = 1;
inline constexpr int kDpiStageCodeBytes = 4;
// DPI colours payload: per stage red, green, blue.
inline constexpr int kColourBytes = 3;
// The stored sensor_flag's bits, each sent as a byte of its own (payload bytes 1 and 2).
inline constexpr int kSensorFlag8Bit = 0x08;
inline constexpr int kSensorFlag4Bit = 0x04;
static_assert(kDpiStageCodesByte + kDpiStagesSent * kDpiStageCodeBytes <= kReportPayloadMax);

// A header-only command: id in byte 1, sequence kSinglePacketSequence, length byte 4.
CommandReport MakeCommand(CommandId command, uint8_t length_byte, size_t report_length);

// A read request carries only the command id.
CommandReport MakeReadRequest(CommandId command);

CommandReport BuildReportRateCommand(const ConfigReader& config);
// Stage values are clamped to the sensor's range, then converted to its codes.
CommandReport BuildDpiStagesCommand(const ConfigReader& config, int sensor);
CommandReport BuildDpiColoursCommand(const ConfigReader& config);
CommandReport BuildSensorCommand(const ConfigReader& config);
CommandReport BuildPowerCommand(const ConfigReader& config);
CommandReport BuildRestoreDefaultsCommand();

// Keys to store from a read-back reply (the whole reply, data from kReplyDataByte).
// Returns nothing for commands without stored values or replies too short.
std::vector<ConfigWrite> ParsePerformanceReadback(CommandId command, const uint8_t* reply,
                                                  size_t length, int sensor);

}  // namespace corvane
