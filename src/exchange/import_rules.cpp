// Limits of the buttons and macro pages, checked before anything from outside is stored.
#include "exchange/import_rules.h"

#include <algorithm>

#include "base/text.h"
#include "protocol/button_table_encoding.h"
#include "protocol/macro_packets.h"

namespace corvane {
namespace {

constexpr int kPrimaryButton = 0;
constexpr int kMaxByte = 255;
constexpr int kMaxKeyboardUsage = 255;
constexpr int kMinRapidFire = 5;
constexpr int kMaxPlayType = 3;
constexpr int kMaxPlayTimes = 999;
constexpr int kMaxDelayType = 2;
constexpr int kMaxFixedDelay = 10000;

// The codes each family's list (or panel) can store, as [min, max] of macro_value.
struct FamilyCodes {
  int family;
  int min;
  int max;
};
constexpr FamilyCodes kFamilyCodes[] = {
    {kFamilyMouse, 1, 10},  // 9 and 10 come only from files, but are encoded
    {kFamilyKeyboard, 0, kMaxKeyboardUsage},
    {kFamilyMultimedia, 1, 8},
    {kFamilyDpi, 1, 3},
    {kFamilySpecial, 1, 2},
    {kFamilyRapidFire, kMinRapidFire, kMaxByte},
    {kFamilySystem, 1, 11},
    {kFamilyDisabled, 1, 1},
};

// "" when `value` is within [min, max], else "<what> <value><context> must be between ...".
std::string Between(const std::string& what, int value, int min, int max,
                    const std::string& context = "") {
  if (value >= min && value <= max) return "";
  return what + " " + IntToDecimal(value) + context + " must be between " + IntToDecimal(min) +
         " and " + IntToDecimal(max);
}

}  // namespace

std::string ButtonProblem(int button, const std::vector<int>& buttons) {
  if (button == kPrimaryButton) {
    return "key_code 0 is the primary button and keeps its function";
  }
  if (!IsValidButtonIndex(button) ||
      std::find(buttons.begin(), buttons.end(), button) == buttons.end()) {
    return "key_code " + IntToDecimal(button) + " is not a button of this mouse";
  }
  return "";
}

std::string FunctionProblem(const KeyAssignRecord& row, const std::vector<MacroRecord>& macros) {
  const int family = row.macro_type;
  if (family < kFirstFamily || family > kLastFamily) {
    return Between("macro_type", family, kFirstFamily, kLastFamily);
  }
  const std::string of_family = " of family " + IntToDecimal(family);
  if (family == kFamilyMacro) {
    const bool known = std::any_of(macros.begin(), macros.end(), [&row](const MacroRecord& m) {
      return m.macro_id == row.macro_value;
    });
    if (!known) return "macro " + IntToDecimal(row.macro_value) + " does not exist";
  }
  for (const FamilyCodes& codes : kFamilyCodes) {
    if (codes.family != family) continue;
    std::string problem = Between("macro_value", row.macro_value, codes.min, codes.max, of_family);
    if (!problem.empty()) return problem;
  }
  // The keyboard modifiers and the rapid-fire count are sent as one byte; the other
  // families send nothing of the second code.
  if (family == kFamilyKeyboard || family == kFamilyRapidFire) {
    return Between("macro_value2", row.macro_value2, 0, kMaxByte, of_family);
  }
  return "";
}

std::string MacroSettingsProblem(const MacroRecord& macro) {
  std::string problem = Between("macro_type", macro.play_type, 0, kMaxPlayType);
  if (problem.empty()) problem = Between("play_times", macro.play_times, 0, kMaxPlayTimes);
  if (problem.empty()) problem = Between("delay_type", macro.delay_type, 0, kMaxDelayType);
  if (problem.empty()) problem = Between("delay_time", macro.delay_time, 0, kMaxFixedDelay);
  return problem;
}

std::string MacroEventProblem(const MacroEventRecord& event) {
  std::string problem = Between("type", event.type, kEventDelay, kEventMouseUp);
  if (problem.empty() && event.type != kEventDelay) {
    problem = Between("value", event.value, 0, kMaxByte);
  }
  // The timestamp only tells the events of one key press apart; any number will do.
  if (problem.empty()) problem = Between("value", event.value, 0, kMaxRecordDelay);
  if (problem.empty() && event.record_index < 0) {
    problem = "index " + IntToDecimal(event.record_index) + " must not be negative";
  }
  return problem;
}

}  // namespace corvane
