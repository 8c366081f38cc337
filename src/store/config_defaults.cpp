// The built-in configuration rows of a profile. The order is the order of config_id
// in every database made so far, and exported profiles follow it, so keep it.
#include "store/config_defaults.h"

#include "base/text.h"

namespace corvane {

const std::array<ConfigDefault, kConfigKeyCount>& DefaultConfigRows() {
  static constexpr std::array<ConfigDefault, kConfigKeyCount> kRows = {{
      {kConfigVersionKey, kConfigVersion},
      {"sleep_light", "1"},
      {"move_wakeup", "1"},
      {"move_closelight", "1"},
      {"report_rate", "2"},
      {"report_rate_wireless", "1"},
      {"report_count", "4"},
      {"report_flag", "127"},
      {"button_respondtime", "8"},
      {"sensor_flag", "53"},
      {"liftoff_height", "1"},
      {"scroll_flag", "1"},
      {"e-sports_flag", "0"},
      {"leftbtn_lock", "1"},
      {"dpi_flag", "6"},
      {"dpi_index", "1"},
      {"dpi_count", "6"},
      {"dpi_group0_value", "800"},
      {"dpi_group1_value", "1600"},
      {"dpi_group2_value", "2400"},
      {"dpi_group3_value", "3200"},
      {"dpi_group4_value", "6400"},
      {"dpi_group5_value", "26000"},
      {"dpi_group6_value", "26000"},
      {"dpi_group7_value", "0"},
      {"dpi_group0_rgb", "255"},
      {"dpi_group1_rgb", "16711680"},
      {"dpi_group2_rgb", "65280"},
      {"dpi_group3_rgb", "65535"},
      {"dpi_group4_rgb", "16711935"},
      {"dpi_group5_rgb", "16776960"},
      {"dpi_group6_rgb", "16712191"},  // 0xFF01FF: one off the stage-5 colour, as shipped
      {"dpi_group7_rgb", "16777215"},
      {"dpi_group8_rgb", "2139135"},  // colour slot without a value key
      {"mouse_speed", "10"},
      {"mouse_sensitivity", "1"},
      {"wheel_scrollflag", "0"},
      {"wheel_scrolllines", "3"},
      {"doubleclick_time", "550"},
  }};
  return kRows;
}

bool IsConfigKey(std::string_view key) {
  for (const ConfigDefault& row : DefaultConfigRows()) {
    if (row.key == key) return true;
  }
  return false;
}

bool IsValidConfigValue(std::string_view key, std::string_view value) {
  if (key == kConfigVersionKey) return true;
  if (value.empty() || value.size() > 11) return false;
  // Round-tripping rejects "+5", " 5", "05", "5x" and anything beyond the int range.
  return IntToDecimal(DecimalToInt(value)) == value;
}

namespace {

// A key's accepted values: a closed range, or the listed values when `allowed` is set.
struct ConfigRange {
  std::string_view key;
  int min;
  int max;
  std::initializer_list<int> allowed;
};

constexpr int kMaxByte = 255;
constexpr int kMaxColour = 0xFFFFFF;
// Widest DPI any catalogued sensor reaches; the DPI job clamps to the mouse's own range.
constexpr int kMinStageDpi = 50;
constexpr int kMaxStageDpi = 30000;
constexpr int kMaxStages = 6;

const std::initializer_list<int> kReportRateCodes = {1, 2, 4, 8, 16, 32, 64};

const ConfigRange* RangeOf(std::string_view key) {
  static const ConfigRange kRanges[] = {
      {"sleep_light", 0, kMaxByte, {}},
      {"move_wakeup", 0, 1, {}},
      {"move_closelight", 0, 1, {}},
      {"report_rate", 0, 0, kReportRateCodes},
      {"report_rate_wireless", 0, 0, kReportRateCodes},
      {"report_count", 0, kMaxByte, {}},
      {"report_flag", 0, kMaxByte, {}},
      {"button_respondtime", 0, 20, {}},
      {"sensor_flag", 0, kMaxByte, {}},
      {"liftoff_height", 1, 2, {}},
      {"scroll_flag", 0, kMaxByte, {}},
      {"e-sports_flag", 0, kMaxByte, {}},
      {"leftbtn_lock", 0, kMaxByte, {}},
      {"dpi_flag", 0, 15, {}},  // four bits as the mouse reports them
      {"dpi_index", 0, kMaxStages - 1, {}},
      {"dpi_count", 1, kMaxStages, {}},
      {"dpi_group0_value", kMinStageDpi, kMaxStageDpi, {}},
      {"dpi_group1_value", kMinStageDpi, kMaxStageDpi, {}},
      {"dpi_group2_value", kMinStageDpi, kMaxStageDpi, {}},
      {"dpi_group3_value", kMinStageDpi, kMaxStageDpi, {}},
      {"dpi_group4_value", kMinStageDpi, kMaxStageDpi, {}},
      {"dpi_group5_value", kMinStageDpi, kMaxStageDpi, {}},
      // Spare slots: created with 26000 and 0, never sent.
      {"dpi_group6_value", 0, kMaxStageDpi, {}},
      {"dpi_group7_value", 0, kMaxStageDpi, {}},
      {"mouse_speed", 1, 20, {}},
      {"mouse_sensitivity", 0, 1, {}},
      {"wheel_scrollflag", 0, 1, {}},
      {"wheel_scrolllines", 1, 20, {}},
      {"doubleclick_time", 100, 5000, {}},
  };
  for (const ConfigRange& range : kRanges) {
    if (range.key == key) return &range;
  }
  // Every colour key, dpi_group0_rgb .. dpi_group8_rgb.
  static const ConfigRange kColour = {"", 0, kMaxColour, {}};
  if (key.size() > 4 && key.substr(0, 9) == "dpi_group" && key.substr(key.size() - 4) == "_rgb")
    return &kColour;
  return nullptr;
}

std::string AllowedList(std::initializer_list<int> allowed) {
  std::string text;
  for (int value : allowed) text += (text.empty() ? "" : ", ") + IntToDecimal(value);
  return text;
}

}  // namespace

std::string ConfigValueProblem(std::string_view key, std::string_view value) {
  const std::string name(key);
  if (key == kConfigVersionKey) return "";
  if (!IsValidConfigValue(key, value)) return name + " must be a decimal number";
  const ConfigRange* range = RangeOf(key);
  if (range == nullptr) return "";
  const int number = DecimalToInt(value);
  if (range->allowed.size() > 0) {
    for (int allowed : range->allowed) {
      if (allowed == number) return "";
    }
    return name + " must be one of " + AllowedList(range->allowed);
  }
  if (number < range->min || number > range->max) {
    return name + " must be between " + IntToDecimal(range->min) + " and " +
           IntToDecimal(range->max);
  }
  return "";
}

}  // namespace corvane
