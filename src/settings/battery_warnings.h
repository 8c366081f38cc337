// When a wireless mouse's battery is worth a desktop notification: two thresholds from
// the per-user settings, one warning per downward crossing, none while charging, and a
// threshold counts again only once the level has been above it. Also the texts the
// notification and the tray tooltip show. No notification is sent from here.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "base/device_values.h"

namespace corvane {

class KeyValueStore;

// Per-user values (the caption's key/value store).
inline constexpr std::string_view kValueBatteryWarnings = "battery_warnings";
inline constexpr std::string_view kValueBatteryLowLevel = "battery_low_level";
inline constexpr std::string_view kValueBatteryCriticalLevel = "battery_critical_level";
inline constexpr int kDefaultBatteryLowLevel = 15;
inline constexpr int kDefaultBatteryCriticalLevel = 5;
inline constexpr int kMaxBatteryLevel = 100;
// The charging value the gauge shows as charging; 0 means running on the battery.
inline constexpr int kBatteryCharging = 1;

struct BatteryWarningSettings {
  bool enabled = true;
  int low = kDefaultBatteryLowLevel;
  int critical = kDefaultBatteryCriticalLevel;
};

// The stored settings: warnings are on unless `battery_warnings` is 0; a threshold that is
// missing, not a number or outside 1..99 is its default. Never creates the key.
BatteryWarningSettings ReadBatteryWarningSettings(const KeyValueStore& values);
// Stores the on/off box. Returns whether it was stored.
bool WriteBatteryWarningsEnabled(KeyValueStore& values, bool enabled);

// A battery report as the gauge receives it, read as a level the mouse runs on: nothing
// while charging, for a level outside 1..100 (a link report without battery, a mouse that
// is off), and for a charging value other than 0 and 1 (the full placeholder shown until
// the mouse answers a read-back).
std::optional<int> DischargingLevel(BatteryStatus battery);
// Whether a report is a real reading at all (charging or not): level 1..100, charging 0 or 1.
bool IsBatteryReading(BatteryStatus battery);

class BatteryWarnings {
 public:
  struct Warning {
    int threshold = 0;  // the lowest threshold crossed
    int level = 0;
    bool critical = false;  // the critical threshold was crossed
  };

  // One battery report of the selected mouse. `wireless`: it runs through the receiver (a
  // cabled mouse charges). Returns the warning to give, if any: at most one per report,
  // for the lowest threshold it crossed; every crossed threshold then waits until the
  // level has been above it again. While warnings are off, crossings are still taken
  // note of, so switching them on later does not warn about an old crossing.
  std::optional<Warning> Update(BatteryStatus battery, bool wireless,
                                const BatteryWarningSettings& settings);
  // Another mouse (or none) is selected: every threshold may warn again.
  void Reset();
  // True when the last reading running on the battery was at or below the low threshold.
  bool Low() const { return low_; }

 private:
  static constexpr int kThresholds = 2;
  // Per threshold (low, critical): true once its crossing was taken note of.
  std::array<bool, kThresholds> passed_{};
  bool low_ = false;
};

// "<Battery level>: <level>%", with " (<Charging>)" while charging: what the window's
// battery gauge is read as.
std::string BatteryGaugeText(std::string_view level_text, int level,
                             std::string_view charging_text, bool charging);

// "<model> — " and the status above: the notification's body and the tray tooltip's
// second line.
std::string BatteryLine(std::string_view model, std::string_view level_text, int level,
                        std::string_view charging_text, bool charging);

}  // namespace corvane
