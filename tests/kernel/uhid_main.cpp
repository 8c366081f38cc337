// corvane-uhid: the simulated mouse and receiver as kernel HID devices, for the test VM.
//   serve --socket PATH [--program-dir DIR] [--sim-model TYPE] [--sim-state FILE]
//       runs the firmware model and takes one command per connection on PATH
//   ctl PATH WORD...      sends one command and prints the reply (exit 0 on "ok")
//   rate sim|hidraw SECONDS [--program-dir DIR]
//       commands per second through SendCommand over the chosen back end
// Control commands: create|destroy wired|receiver|both, dpi, mouse on|off,
// battery A B, state, stats, upgrade wired|receiver FILE, quit.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "kernel/uhid_control.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: corvane-uhid serve --socket PATH [--program-dir DIR] [--sim-model TYPE]"
               " [--sim-state FILE]\n"
               "       corvane-uhid ctl PATH WORD...\n"
               "       corvane-uhid rate sim|hidraw SECONDS [--program-dir DIR]\n");
  return 2;
}

// Takes "--name VALUE" pairs after the positional arguments.
bool TakeOptions(const std::vector<std::string>& args, size_t from,
                 corvane::uhid::ServeOptions& options) {
  for (size_t i = from; i < args.size(); i += 2) {
    if (i + 1 >= args.size()) return false;
    if (args[i] == "--socket") {
      options.socket_path = args[i + 1];
    } else if (args[i] == "--program-dir") {
      options.program_dir = args[i + 1];
    } else if (args[i] == "--sim-model") {
      options.sim_model = args[i + 1];
    } else if (args[i] == "--sim-state") {
      options.sim_state = args[i + 1];
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  corvane::uhid::ServeOptions options;
  options.program_dir = CORVANE_DATA_DIR;
  if (args[0] == "serve") {
    if (!TakeOptions(args, 1, options) || options.socket_path.empty()) return Usage();
    return corvane::uhid::Serve(options);
  }
  if (args[0] == "ctl" && args.size() >= 3) {
    std::string line;
    for (size_t i = 2; i < args.size(); ++i) line += (i > 2 ? " " : "") + args[i];
    return corvane::uhid::SendControl(args[1], line);
  }
  if (args[0] == "rate" && args.size() >= 3) {
    if (!TakeOptions(args, 3, options)) return Usage();
    return corvane::uhid::MeasureRate(options, args[1], std::atoi(args[2].c_str()));
  }
  return Usage();
}
