// Button assignments of the active profile: buttons, button N FAMILY VALUE [VALUE2],
// button N reset, buttons reset. Rows are written as the buttons page writes them and the
// button job then runs, so the mouse (and any macro just assigned) is updated at once.
#include <algorithm>
#include <cstdio>

#include "base/text.h"
#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "cli/json_writer.h"
#include "settings/button_assignment.h"
#include "settings/button_table_encoding.h"
#include "settings/key_codes.h"
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
  }
  return "could not assign";
}

int RunButtonReset(CliDeviceSession& cli, int button) {
  ButtonsPage buttons(cli);
  buttons.page.SelectButton(button);
  buttons.page.ResetButton();
  return buttons.tasks.RunAll(cli.Session().Jobs());
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
  if (reset) return RunButtonReset(cli, button);
  if (family == kFamilyMacro && !cli.Session().Store().GetMacro(value)) {
    return CliFail("no macro " + args[2]);
  }
  ButtonsPage buttons(cli);
  buttons.page.SelectButton(button);
  const AssignResult result = buttons.page.Assign(
      family, value, value2, family == kFamilyKeyboard ? KeyboardText(value, value2) : "");
  // A refused store still sends the table, as the page does; the failure is reported.
  const int sent = buttons.tasks.RunAll(cli.Session().Jobs());
  const std::string message = AssignError(result, button);
  return message.empty() ? sent : CliFail(message);
}

int RunButtonsReset(const CliOptions& options, const std::vector<std::string>& args) {
  if (!args.empty()) return CliFail("usage: buttons reset");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  ButtonsPage buttons(cli);
  buttons.page.ResetAllButtons();
  return buttons.tasks.RunAll(cli.Session().Jobs());
}

const CliRegistrar kButtons("buttons", "buttons", RunButtons);
const CliRegistrar kButton("button", "button N FAMILY VALUE [VALUE2] | button N reset", RunButton);
const CliRegistrar kButtonsReset("buttons reset", "buttons reset", RunButtonsReset);

}  // namespace
}  // namespace corvane::cli
