// Names of every per-profile configuration key (the rows of t_configdata). Each name is
// spelled here once; the store's defaults, the pages, the jobs, the profile files and the
// command line take it from here. The DPI stage keys come in families, one value and one
// colour key per stage, named by DpiStageValueKey and DpiStageColourKey.
#pragma once

#include <string>

namespace corvane {

// Format version of a profile's settings; written once, never read.
inline constexpr const char* kConfigVersionKey = "version";

// Power options: light sleep delay, wake on movement, lights off while moving.
inline constexpr const char* kSleepLightKey = "sleep_light";
inline constexpr const char* kMoveWakeupKey = "move_wakeup";
inline constexpr const char* kMoveCloseLightKey = "move_closelight";
// Report-rate code; the wireless key is always written with it and never sent.
inline constexpr const char* kReportRateKey = "report_rate";
inline constexpr const char* kReportRateWirelessKey = "report_rate_wireless";
inline constexpr const char* kReportCountKey = "report_count";  // stored only
inline constexpr const char* kReportFlagKey = "report_flag";    // stored only
// Button response time, sent with the power options.
inline constexpr const char* kButtonRespondTimeKey = "button_respondtime";
// Sensor switches (bits 4, 8 and 16) and lift-off distance (1 or 2).
inline constexpr const char* kSensorFlagKey = "sensor_flag";
inline constexpr const char* kLiftoffHeightKey = "liftoff_height";
// Stored only; the first two travel in profile files.
inline constexpr const char* kScrollFlagKey = "scroll_flag";
inline constexpr const char* kESportsFlagKey = "e-sports_flag";
inline constexpr const char* kLeftButtonLockKey = "leftbtn_lock";

// DPI stages: the count as the mouse last reported it, the active stage (0-based) and the
// number of stages in use.
inline constexpr const char* kDpiFlagKey = "dpi_flag";
inline constexpr const char* kDpiIndexKey = "dpi_index";
inline constexpr const char* kDpiCountKey = "dpi_count";

// The desktop's pointer settings kept with the profile.
inline constexpr const char* kMouseSpeedKey = "mouse_speed";
inline constexpr const char* kMouseSensitivityKey = "mouse_sensitivity";
inline constexpr const char* kWheelScrollFlagKey = "wheel_scrollflag";
inline constexpr const char* kWheelScrollLinesKey = "wheel_scrolllines";
inline constexpr const char* kDoubleClickTimeKey = "doubleclick_time";

// Stage slots a profile stores: 0..5 are the stages sent to the mouse, value slots 6 and 7
// are spare, and colour slot 8 has no value key.
inline constexpr int kDpiValueSlots = 8;
inline constexpr int kDpiColourSlots = 9;
inline constexpr const char* kDpiStageValueKeys[kDpiValueSlots] = {
    "dpi_group0_value", "dpi_group1_value", "dpi_group2_value", "dpi_group3_value",
    "dpi_group4_value", "dpi_group5_value", "dpi_group6_value", "dpi_group7_value"};
inline constexpr const char* kDpiStageColourKeys[kDpiColourSlots] = {
    "dpi_group0_rgb", "dpi_group1_rgb", "dpi_group2_rgb", "dpi_group3_rgb", "dpi_group4_rgb",
    "dpi_group5_rgb", "dpi_group6_rgb", "dpi_group7_rgb", "dpi_group8_rgb"};

// The DPI of stage `stage` ("dpi_group<stage>_value"); "", a key no profile has, for a
// slot outside 0..7.
inline std::string DpiStageValueKey(int stage) {
  return stage >= 0 && stage < kDpiValueSlots ? kDpiStageValueKeys[stage] : "";
}

// The colour of stage `stage` ("dpi_group<stage>_rgb"), red in the low byte; "", a key no
// profile has, for a slot outside 0..8.
inline std::string DpiStageColourKey(int stage) {
  return stage >= 0 && stage < kDpiColourSlots ? kDpiStageColourKeys[stage] : "";
}

}  // namespace corvane
