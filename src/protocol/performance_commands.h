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

#include "settings/command_report.h"

namespace corvane {


// Reads one configuration key of the active profile as an integer (0 when the
// key is missing or not a number).
using ConfigReader = std::function<int(const std::string& key)>;

// A key and the decimal text to store under it.
using ConfigWrite = std::pair<std::string, std::string>;

inline constexpr uint8_t kCmdReportRate = 0x02;
inline constexpr uint8_t kCmdDpiStages = 0x03;
inline constexpr uint8_t kCmdDpiColours = 0x04;
inline constexpr uint8_t kCmdSensor = 0x06;
inline constexpr uint8_t kCmdPower = 0x07;
inline constexpr uint8_t kCmdRestoreDefaults = 0x0F;
inline constexpr uint8_t kCmdReadAll = 0x11;
inline constexpr uint8_t kCmdReadReportRate = 0x12;
inline constexpr uint8_t kCmdReadDpiStages = 0x13;
inline constexpr uint8_t kCmdReadDpiColours = 0x14;
inline constexpr uint8_t kCmdReadSensor = 0x16;
inline constexpr uint8_t kCmdReadPower = 0x17;
inline constexpr uint8_t kCmdReadFirmwareVersion = 0x20;

inline constexpr int kDpiStagesSent = 6;

// A header-only command: id in byte 1, bytes 2 and 3 = 0x00 0x01, length byte 4.
CommandReport MakeCommand(uint8_t command, uint8_t length_byte, size_t report_length);

// A read request carries only the command id.
CommandReport MakeReadRequest(uint8_t command);

CommandReport BuildReportRateCommand(const ConfigReader& config);
// Stage values are clamped to the sensor's range, then converted to its codes.
CommandReport BuildDpiStagesCommand(const ConfigReader& config, int sensor);
CommandReport BuildDpiColoursCommand(const ConfigReader& config);
CommandReport BuildSensorCommand(const ConfigReader& config);
CommandReport BuildPowerCommand(const ConfigReader& config);
CommandReport BuildRestoreDefaultsCommand();

// Keys to store from a read-back reply (reply[0] is the first data byte).
// Returns nothing for commands without stored values or replies too short.
std::vector<ConfigWrite> ParsePerformanceReadback(uint8_t command, const uint8_t* reply,
                                                  size_t length, int sensor);

}  // namespace corvane
