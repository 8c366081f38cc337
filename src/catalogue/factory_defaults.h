// The factory values of a definition file that restoring defaults writes into a profile:
// the DPI stages with their colours, the report rate and the power options. Read on
// demand, separately from the definition itself.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string_view>

namespace corvane {

// Number of DPI stages a definition can give (dpi_1 .. dpi_6).
inline constexpr int kDefinitionDpiStages = 6;

struct DpiStageDefault {
  bool present = false;  // the dpi_n element exists
  int value = 0;         // DPI
  int color = 0;         // 24-bit, red in the low byte (see ParseDefinitionColor)
};

struct FactoryDefaults {
  bool has_dpi_info = false;  // `dpi_info` exists; default_dpi and dpi_count are read from it
  int default_dpi = 0;        // the active stage, 0-based (written to dpi_index)
  int dpi_count = 0;          // number of stages (written to dpi_count and dpi_flag)
  std::array<DpiStageDefault, kDefinitionDpiStages> stages{};
  // Each is set only when its element exists; a missing one leaves the profile's key as is.
  std::optional<int> report_rate;  // `report_rate`/`default_value`, a report-rate code
  std::optional<int> sleep_light;  // `value` of each power element
  std::optional<int> move_wakeup;
  std::optional<int> move_closelight;
};

// Colour text "#RRGGBB" to red + green * 256 + blue * 65536: the first character is dropped,
// then up to two hexadecimal digits each are taken for red, green and blue in that order
// (so "#FF" is red only and "#0000FF" is 16711680). Digits stop at the first non-hex one.
int ParseDefinitionColor(std::string_view text);

// Reads the factory values of a definition file: `dpi_info` with dpi_1 .. dpi_6, then
// report_rate, sleep_light, move_wakeup and move_closelight, searched forward in that order
// inside `mouse_info`. nullopt when the file is missing, malformed or not rooted at `mouse`.
std::optional<FactoryDefaults> LoadFactoryDefaults(const std::filesystem::path& file);

}  // namespace corvane
