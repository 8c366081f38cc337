// corvane-cli entry point: global options, then one command from the table.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"
#include "cli/cli_command.h"
#include "usage_text.h"

namespace corvane::cli {

std::map<std::string, CliCommand>& CliCommands() {
  static std::map<std::string, CliCommand> commands;
  return commands;
}

int CliFail(const std::string& message) {
  std::fprintf(stderr, "corvane-cli: %s\n", message.c_str());
  return 1;
}

namespace {
bool run_failed = false;
}  // namespace

void MarkRunFailed() { run_failed = true; }

bool ParseCliNumber(const std::string& text, int& value) { return ParseExactDecimal(text, value); }

namespace {

void PrintUsage(std::FILE* out) {
  std::fwrite(kCorvaneCliHelp.data(), 1, kCorvaneCliHelp.size(), out);
}

// Takes "--name=value" or "--name value"; returns false when the value is missing.
bool TakeValue(const std::vector<std::string>& argv, size_t& i, const std::string& name,
               std::string& out) {
  const std::string& arg = argv[i];
  if (arg.size() > name.size() && arg.compare(0, name.size() + 1, name + "=") == 0) {
    out = arg.substr(name.size() + 1);
    return true;
  }
  if (i + 1 >= argv.size()) return false;
  out = argv[++i];
  return true;
}

}  // namespace

int Main(int argc, char** argv) {
  CliOptions options;
  if (const char* sim = std::getenv("CORVANE_SIMULATE"); sim != nullptr && *sim != '\0') {
    options.simulate = (std::strcmp(sim, "1") == 0) ? "both" : sim;
  }
  if (const char* cap = std::getenv("CORVANE_HID_CAPTURE"); cap != nullptr) options.capture = cap;

  std::vector<std::string> args(argv + 1, argv + argc);
  size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) != 0) break;
    if (arg == "--simulate") {
      options.simulate = "both";
    } else if (arg.rfind("--simulate=", 0) == 0) {
      options.simulate = arg.substr(11);
      if (options.simulate != "wired" && options.simulate != "wireless" &&
          options.simulate != "both") {
        return CliFail("--simulate takes wired, wireless or both");
      }
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg.rfind("--sim-model", 0) == 0) {
      if (!TakeValue(args, i, "--sim-model", options.sim_model)) return CliFail("--sim-model needs TYPE");
    } else if (arg.rfind("--sim-state", 0) == 0) {
      if (!TakeValue(args, i, "--sim-state", options.sim_state)) return CliFail("--sim-state needs FILE");
    } else if (arg.rfind("--sim-fault", 0) == 0) {
      std::string fault;
      if (!TakeValue(args, i, "--sim-fault", fault))
        return CliFail("--sim-fault needs DEVICE:KNOB=VALUE");
      options.sim_faults.push_back(fault);
    } else if (arg.rfind("--capture", 0) == 0) {
      if (!TakeValue(args, i, "--capture", options.capture)) return CliFail("--capture needs FILE");
    } else if (arg.rfind("--program-dir", 0) == 0) {
      if (!TakeValue(args, i, "--program-dir", options.program_dir)) return CliFail("--program-dir needs DIR");
    } else if (arg == "--help") {
      PrintUsage(stdout);
      return 0;
    } else {
      return CliFail("unknown option " + arg);
    }
  }
  if (i >= args.size()) {
    PrintUsage(stderr);
    return 2;
  }
  // A two-word command ("profile export") wins over its first word alone.
  const std::string name = args[i];
  auto it = CliCommands().end();
  if (i + 1 < args.size()) it = CliCommands().find(name + " " + args[i + 1]);
  if (it != CliCommands().end()) {
    ++i;
  } else {
    it = CliCommands().find(name);
  }
  if (it == CliCommands().end()) return CliFail("unknown command " + name);
  // --json may also follow the command ("devices --json").
  std::vector<std::string> rest;
  for (size_t j = i + 1; j < args.size(); ++j) {
    if (args[j] == "--json") {
      options.json = true;
    } else {
      rest.push_back(args[j]);
    }
  }
  const int code = it->second.handler(options, rest);
  return (code == 0 && run_failed) ? 1 : code;
}

}  // namespace corvane::cli

int main(int argc, char** argv) { return corvane::cli::Main(argc, argv); }
