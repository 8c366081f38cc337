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

}  // namespace corvane
