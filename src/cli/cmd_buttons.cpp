// Button assignments of the active profile: buttons, button N FAMILY VALUE [VALUE2],
// button N reset, buttons reset. Rows are written as the buttons page writes them and the
// button job then runs, so the mouse (and any macro just assigned) is updated at once.
#include <algorithm>
#include <cstdio>

#include "app/text_ids.h"
#include "base/text.h"
#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "cli/json_writer.h"
#include "exchange/import_rules.h"
#include "settings/button_assignment.h"
#include "protocol/button_table_encoding.h"
#include "protocol/key_codes.h"
#include "store/settings_database.h"

namespace corvane::cli {
namespace {

constexpr int kLastVirtualKey = 255;
// Bits of the keyboard family's modifier mask.
constexpr int kCtrlBit = 1;
constexpr int kShiftBit = 2;
constexpr int kAltBit = 4;
constexpr int kWinBit = 8;

// Returns the keyboard panel's text for a usage and modifier mask, naming the key by the
// first virtual-key code that maps to the usage; empty when neither is known.
std::string KeyboardText(int usage, int mask) {
  std::string name;
  for (int vk = 1; vk <= kLastVirtualKey && usage > 0 && name.empty(); ++vk) {
    if (VkToHidUsage(vk) == usage) name = VkKeyName(vk);
  }
  KeyboardModifiers mods;
  mods.ctrl = mask & kCtrlBit;
  mods.shift = mask & kShiftBit;
  mods.alt = mask & kAltBit;
  mods.win = mask & kWinBit;
  if (name.empty() && KeyboardModifierMask(mods) == 0) return "";
  return KeyboardDescription(name, mods);
}

// The buttons page over an open session, loaded with the active profile.
struct ButtonsPage {
  explicit ButtonsPage(CliDeviceSession& cli)
      : page(cli.Session().Store(), tasks, cli.Session().State(),
             [&cli](int id) { return cli.Session().Texts().Text(id); }) {
    page.Load(cli.ActiveProfile(), cli.Session().Model().Definition().buttons);
  }
  CollectedTasks tasks;
  ButtonAssignment page;
};

int RunButtons(const CliOptions& options, const std::vector<std::string>& args) {
  if (!args.empty()) return CliFail("usage: buttons");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  const std::vector<KeyAssignRecord> rows = cli.Session().Store().GetKeyAssigns(cli.ActiveProfile());
  if (options.json) {
    JsonWriter json;
    json.BeginArray();
    for (const KeyAssignRecord& row : rows) {
      json.BeginObject().IntMember("key_code", row.key_code).IntMember("macro_type", row.macro_type)
          .IntMember("macro_value", row.macro_value).IntMember("macro_value2", row.macro_value2)
          .StringMember("macro_desc", row.macro_desc).EndObject();
    }
    json.EndArray();
    std::printf("%s\n", json.Text().c_str());
  } else {
    for (const KeyAssignRecord& row : rows) {
      std::printf("%d %d %d %d %s\n", row.key_code, row.macro_type, row.macro_value,
                  row.macro_value2, row.macro_desc.c_str());
    }
  }
  return 0;
}

// Returns the one-line message for a refused assignment; empty when it was saved.
std::string AssignError(AssignResult result, int button) {
  switch (result) {
    case AssignResult::kSaved: return "";
    case AssignResult::kPrimaryButton: return "button 0 is the primary button and keeps its function";
    case AssignResult::kInvalidButton: return "no button " + IntToDecimal(button);
    case AssignResult::kNothingToSave: return "nothing to assign";
    case AssignResult::kStoreFailed: return "could not store the assignment";
    case AssignResult::kMacroTooLong: return "";  // worded by the caller from the language file
  }
  return "could not assign";
}

// The model's button indexes, from its definition.
std::vector<int> ModelButtons(CliDeviceSession& cli) {
  std::vector<int> indexes;
  for (const ButtonDefinition& button : cli.Session().Model().Definition().buttons) {
    indexes.push_back(button.key_value);
  }
  return indexes;
}

// Runs the jobs a reset posted; a store that refused the reset fails the command first.
int FinishReset(CliDeviceSession& cli, ButtonsPage& buttons) {
  if (const int code = StoreResult(cli.Session().Store()); code != 0) return code;
  return buttons.tasks.RunAll(cli.Session().Jobs());
}

int RunButtonReset(CliDeviceSession& cli, int button) {
  ButtonsPage buttons(cli);
  cli.Session().Store().TakeError();
  buttons.page.SelectButton(button);
  buttons.page.ResetButton();
  return FinishReset(cli, buttons);
}

int RunButton(const CliOptions& options, const std::vector<std::string>& args) {
  const char* usage = "usage: button N FAMILY VALUE [VALUE2] | button N reset";
  int button = 0;
  if (args.size() < 2 || args.size() > 4 || !ParseCliNumber(args[0], button)) return CliFail(usage);
  if (!IsValidButtonIndex(button)) {
    return CliFail("no button " + args[0] + " (buttons are 0 to " + IntToDecimal(kMaxButtonIndex) + ")");
  }
  const bool reset = args.size() == 2 && args[1] == "reset";
  int family = 0, value = 0, value2 = 0;
  if (!reset) {
    if (args.size() < 3 || !ParseCliNumber(args[1], family) || !ParseCliNumber(args[2], value) ||
        (args.size() == 4 && !ParseCliNumber(args[3], value2))) {
      return CliFail(usage);
    }
    if (family < kFirstFamily || family > kLastFamily) {
      return CliFail("function family " + args[1] + " is not between 1 and 9");
    }
  }
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  // A button the mouse does not have would be stored and never reach it.
  const std::vector<int> model_buttons = ModelButtons(cli);
  if (std::find(model_buttons.begin(), model_buttons.end(), button) == model_buttons.end()) {
    return CliFail("no button " + args[0] + " on this mouse (" +
                   IntToDecimal(static_cast<int>(model_buttons.size())) + " buttons)");
  }
  if (reset) return RunButtonReset(cli, button);
  SettingsDatabase& store = cli.Session().Store();
  if (family == kFamilyMacro && !store.GetMacro(value)) return StoreFail(store, "no macro " + args[2]);
  KeyAssignRecord row;
  row.macro_type = family;
  row.macro_value = value;
  row.macro_value2 = value2;
  if (button != 0) {
    if (const std::string problem = FunctionProblem(row, store.GetMacros()); !problem.empty()) {
      return CliFail(problem);
    }
  }
  ButtonsPage buttons(cli);
  store.TakeError();
  buttons.page.SelectButton(button);
  const AssignResult result = buttons.page.Assign(
      family, value, value2, family == kFamilyKeyboard ? KeyboardText(value, value2) : "");
  if (result == AssignResult::kMacroTooLong) {
    return CliFail(cli.Session().Texts().Text(kTextMacroTooLong));
  }
  // A refused store still sends the table, as the page does; the failure is reported.
  const int sent = buttons.tasks.RunAll(cli.Session().Jobs());
  if (result == AssignResult::kStoreFailed) return StoreFail(store, AssignError(result, button));
  const std::string message = AssignError(result, button);
  return message.empty() ? sent : CliFail(message);
}

int RunButtonsReset(const CliOptions& options, const std::vector<std::string>& args) {
  if (!args.empty()) return CliFail("usage: buttons reset");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  ButtonsPage buttons(cli);
  cli.Session().Store().TakeError();
  buttons.page.ResetAllButtons();
  return FinishReset(cli, buttons);
}

const CliRegistrar kButtons("buttons", "buttons", RunButtons);
const CliRegistrar kButton("button", "button N FAMILY VALUE [VALUE2] | button N reset", RunButton);
const CliRegistrar kButtonsReset("buttons reset", "buttons reset", RunButtonsReset);

}  // namespace
}  // namespace corvane::cli
