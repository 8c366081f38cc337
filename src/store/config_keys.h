// Names of the configuration keys that come in families: the DPI stage count, current
// stage and flag, and one value and one colour key per stage. Every reader and writer
// of these keys spells them through here.
#pragma once

#include <string>

namespace corvane {

inline constexpr const char* kDpiCountKey = "dpi_count";
inline constexpr const char* kDpiIndexKey = "dpi_index";
inline constexpr const char* kDpiFlagKey = "dpi_flag";

// "dpi_group<stage>_value": the DPI of stage `stage` (0..5).
inline std::string DpiStageValueKey(int stage) {
  return "dpi_group" + std::to_string(stage) + "_value";
}

// "dpi_group<stage>_rgb": the colour of stage `stage` (0..5), red in the low byte.
inline std::string DpiStageColourKey(int stage) {
  return "dpi_group" + std::to_string(stage) + "_rgb";
}

}  // namespace corvane
