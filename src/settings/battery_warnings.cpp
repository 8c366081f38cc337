#include "settings/battery_warnings.h"

#include "app/key_value_store.h"

namespace corvane {
namespace {

constexpr int kMaxThresholdDigits = 2;

// A threshold as stored: 1 to 99 in decimal digits only, else nullopt.
std::optional<int> StoredThreshold(const KeyValueStore& values, std::string_view name) {
  const std::optional<std::string> text = values.ReadText(name);
  if (!text || text->empty() || text->size() > kMaxThresholdDigits) return std::nullopt;
  int value = 0;
  for (char c : *text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < 1) return std::nullopt;
  return value;
}

}  // namespace

BatteryWarningSettings ReadBatteryWarningSettings(const KeyValueStore& values) {
  BatteryWarningSettings settings;
  const std::optional<std::string> enabled = values.ReadText(kValueBatteryWarnings);
  settings.enabled = !(enabled && *enabled == "0");
  settings.low = StoredThreshold(values, kValueBatteryLowLevel).value_or(kDefaultBatteryLowLevel);
  settings.critical =
      StoredThreshold(values, kValueBatteryCriticalLevel).value_or(kDefaultBatteryCriticalLevel);
  return settings;
}

bool WriteBatteryWarningsEnabled(KeyValueStore& values, bool enabled) {
  return values.WriteNumber(kValueBatteryWarnings, enabled ? 1 : 0);
}

bool IsBatteryReading(BatteryStatus battery) {
  return battery.level >= 1 && battery.level <= kMaxBatteryLevel &&
         (battery.charging == 0 || battery.charging == kBatteryCharging);
}

std::optional<int> DischargingLevel(BatteryStatus battery) {
  if (!IsBatteryReading(battery) || battery.charging != 0) return std::nullopt;
  return battery.level;
}

std::optional<BatteryWarnings::Warning> BatteryWarnings::Update(
    BatteryStatus battery, bool wireless, const BatteryWarningSettings& settings) {
  if (!IsBatteryReading(battery)) return std::nullopt;
  const std::array<int, kThresholds> thresholds = {settings.low, settings.critical};
  for (int i = 0; i < kThresholds; ++i) {
    if (battery.level > thresholds[i]) passed_[i] = false;
  }
  const std::optional<int> level = wireless ? DischargingLevel(battery) : std::nullopt;
  low_ = level && *level <= settings.low;
  if (!level) return std::nullopt;
  std::optional<Warning> warning;
  for (int i = 0; i < kThresholds; ++i) {
    if (*level > thresholds[i] || passed_[i]) continue;
    passed_[i] = true;
    if (!warning || thresholds[i] < warning->threshold) {
      warning = Warning{thresholds[i], *level, thresholds[i] == settings.critical};
    }
  }
  if (!settings.enabled) return std::nullopt;
  return warning;
}

void BatteryWarnings::Reset() {
  passed_.fill(false);
  low_ = false;
}

std::string BatteryGaugeText(std::string_view level_text, int level,
                             std::string_view charging_text, bool charging) {
  std::string status(level_text);
  status += ": " + std::to_string(level) + "%";
  if (charging) {
    status += " (";
    status += charging_text;
    status += ")";
  }
  return status;
}

std::string BatteryLine(std::string_view model, std::string_view level_text, int level,
                        std::string_view charging_text, bool charging) {
  std::string line(model);
  line += " \u2014 ";
  return line + BatteryGaugeText(level_text, level, charging_text, charging);
}

}  // namespace corvane
