// The command table of corvane-cli. Each cmd_<concern>.cpp registers its commands
// with a static CliRegistrar; main.cpp parses the global options and dispatches.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace corvane::cli {

struct CliOptions {
  std::string simulate;       // "", "wired", "wireless" or "both"
  std::string sim_model;      // device type name given with --sim-model
  std::string sim_state;      // --sim-state FILE
  std::vector<std::string> sim_faults;  // --sim-fault DEVICE:KNOB=VALUE, repeatable
  std::string capture;        // --capture FILE
  std::string program_dir;    // folder holding config.xml
  bool json = false;
};

// A command returns the process exit code; it prints its own one-line error.
using CliHandler = std::function<int(const CliOptions&, const std::vector<std::string>& args)>;

struct CliCommand {
  std::string usage;  // e.g. "profile activate ID | rename ID NAME"
  CliHandler handler;
};

std::map<std::string, CliCommand>& CliCommands();

// A name may be one word ("profiles") or two ("profile export"); the two-word form is
// tried first, and its handler receives only the arguments after both words.
struct CliRegistrar {
  CliRegistrar(const std::string& name, std::string usage, CliHandler handler) {
    CliCommands()[name] = CliCommand{std::move(usage), std::move(handler)};
  }
};

// Exit code of a run whose command the mouse refused or did not answer (see --help).
inline constexpr int kExitDeviceFailed = 3;

// Prints "corvane-cli: <message>" on stderr and returns 1.
int CliFail(const std::string& message);

// Makes the process exit non-zero even when the command itself returned 0 (a failure found
// while closing the session, such as the simulator's state file not being saved).
void MarkRunFailed();

// Reads a decimal argument. False when `text` is not exactly a decimal number.
bool ParseCliNumber(const std::string& text, int& value);

}  // namespace corvane::cli
