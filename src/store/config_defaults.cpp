// The built-in configuration rows of a profile. The order is the order of config_id
// in every database made so far, and exported profiles follow it, so keep it.
#include "store/config_defaults.h"

#include "base/text.h"

namespace corvane {

const std::array<ConfigDefault, kConfigKeyCount>& DefaultConfigRows() {
  static constexpr std::array<ConfigDefault, kConfigKeyCount> kRows = {{
      {kConfigVersionKey, kConfigVersion},
      {kSleepLightKey, "1"},
      {kMoveWakeupKey, "1"},
      {kMoveCloseLightKey, "1"},
      {kReportRateKey, "2"},
      {kReportRateWirelessKey, "1"},
      {kReportCountKey, "4"},
      {kReportFlagKey, "127"},
      {kButtonRespondTimeKey, "8"},
      {kSensorFlagKey, "53"},
      {kLiftoffHeightKey, "1"},
      {kScrollFlagKey, "1"},
      {kESportsFlagKey, "0"},
      {kLeftButtonLockKey, "1"},
      {kDpiFlagKey, "6"},
      {kDpiIndexKey, "1"},
      {kDpiCountKey, "6"},
      {kDpiStageValueKeys[0], "800"},
      {kDpiStageValueKeys[1], "1600"},
      {kDpiStageValueKeys[2], "2400"},
      {kDpiStageValueKeys[3], "3200"},
      {kDpiStageValueKeys[4], "6400"},
      {kDpiStageValueKeys[5], "26000"},
      {kDpiStageValueKeys[6], "26000"},
      {kDpiStageValueKeys[7], "0"},
      {kDpiStageColourKeys[0], "255"},
      {kDpiStageColourKeys[1], "16711680"},
      {kDpiStageColourKeys[2], "65280"},
      {kDpiStageColourKeys[3], "65535"},
      {kDpiStageColourKeys[4], "16711935"},
      {kDpiStageColourKeys[5], "16776960"},
      {kDpiStageColourKeys[6], "16712191"},  // 0xFF01FF: one off the stage-5 colour, as shipped
      {kDpiStageColourKeys[7], "16777215"},
      {kDpiStageColourKeys[8], "2139135"},  // colour slot without a value key
      {kMouseSpeedKey, "10"},
      {kMouseSensitivityKey, "1"},
      {kWheelScrollFlagKey, "0"},
      {kWheelScrollLinesKey, "3"},
      {kDoubleClickTimeKey, "550"},
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
      {kSleepLightKey, 0, kMaxByte, {}},
      {kMoveWakeupKey, 0, 1, {}},
      {kMoveCloseLightKey, 0, 1, {}},
      {kReportRateKey, 0, 0, kReportRateCodes},
      {kReportRateWirelessKey, 0, 0, kReportRateCodes},
      {kReportCountKey, 0, kMaxByte, {}},
      {kReportFlagKey, 0, kMaxByte, {}},
      {kButtonRespondTimeKey, 0, 20, {}},
      {kSensorFlagKey, 0, kMaxByte, {}},
      {kLiftoffHeightKey, 1, 2, {}},
      {kScrollFlagKey, 0, kMaxByte, {}},
      {kESportsFlagKey, 0, kMaxByte, {}},
      {kLeftButtonLockKey, 0, kMaxByte, {}},
      {kDpiFlagKey, 0, 15, {}},  // four bits as the mouse reports them
      {kDpiIndexKey, 0, kMaxStages - 1, {}},
      {kDpiCountKey, 1, kMaxStages, {}},
      {kDpiStageValueKeys[0], kMinStageDpi, kMaxStageDpi, {}},
      {kDpiStageValueKeys[1], kMinStageDpi, kMaxStageDpi, {}},
      {kDpiStageValueKeys[2], kMinStageDpi, kMaxStageDpi, {}},
      {kDpiStageValueKeys[3], kMinStageDpi, kMaxStageDpi, {}},
      {kDpiStageValueKeys[4], kMinStageDpi, kMaxStageDpi, {}},
      {kDpiStageValueKeys[5], kMinStageDpi, kMaxStageDpi, {}},
      // Spare slots: created with 26000 and 0, never sent.
      {kDpiStageValueKeys[6], 0, kMaxStageDpi, {}},
      {kDpiStageValueKeys[7], 0, kMaxStageDpi, {}},
      {kMouseSpeedKey, 1, 20, {}},
      {kMouseSensitivityKey, 0, 1, {}},
      {kWheelScrollFlagKey, 0, 1, {}},
      {kWheelScrollLinesKey, 1, 20, {}},
      {kDoubleClickTimeKey, 100, 5000, {}},
  };
  for (const ConfigRange& range : kRanges) {
    if (range.key == key) return &range;
  }
  static const ConfigRange kColour = {"", 0, kMaxColour, {}};
  for (std::string_view colour_key : kDpiStageColourKeys) {
    if (colour_key == key) return &kColour;
  }
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
