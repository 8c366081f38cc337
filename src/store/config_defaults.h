// The configuration keys every profile carries, in row order, with their built-in
// defaults, and the device-specific values a caller lays over them for new profiles.
#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>

#include "store/config_keys.h"

namespace corvane {

// One configuration row a new profile receives.
struct ConfigDefault {
  std::string_view key;
  std::string_view value;  // decimal text, except for "version"
};

inline constexpr size_t kConfigKeyCount = 39;
inline constexpr std::string_view kConfigVersion = "1.0.1";

// The rows of a new profile, in insertion order.
const std::array<ConfigDefault, kConfigKeyCount>& DefaultConfigRows();

// Returns whether `key` names one of the configuration rows (exact, case-sensitive).
bool IsConfigKey(std::string_view key);

// Returns whether `value` is acceptable for `key`: decimal text as IntToDecimal writes
// it ("-5", "0", "16711680"), or any text for "version".
bool IsValidConfigValue(std::string_view key, std::string_view value);

// Returns "" when `value` is one the pages could store for `key`, else a short text naming
// the limit it breaks ("dpi_count must be between 1 and 6", "report_rate must be one of
// 1, 2, 4, 8, 16, 32, 64", "sensor_flag must be a decimal number"). The mouse receives
// most of these as one byte, so a value outside its range would be cut, not refused.
std::string ConfigValueProblem(std::string_view key, std::string_view value);

// Values from the device definition (DPI stages, report rate, power options), key name
// to decimal text, written over the built-in defaults of each new profile.
using DeviceConfigDefaults = std::map<std::string, std::string, std::less<>>;

}  // namespace corvane
