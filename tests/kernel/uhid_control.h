// The control side of corvane-uhid: the daemon that owns the firmware model and the
// kernel devices, its one-line command protocol over a Unix socket, and the
// command-rate measurement run beside it.
#pragma once

#include <string>

namespace corvane::uhid {

struct ServeOptions {
  std::string socket_path;
  std::string program_dir;  // folder holding config.xml
  std::string sim_model;    // empty: the first model with a wired and a wireless mode
  std::string sim_state;    // --sim-state FILE: other ids, battery...; empty for none
};

// Runs until "quit". Prints "corvane-uhid: ready" on stdout once the socket listens.
// Returns the process exit code.
int Serve(const ServeOptions& options);

// Sends `line` to the daemon at `socket_path` and prints the reply. Returns 0 when the
// reply starts with "ok", 1 otherwise.
int SendControl(const std::string& socket_path, const std::string& line);

// Sends read commands (0x12) through the DeviceManager for `seconds` over the simulator
// ("sim") or over hidraw ("hidraw") and prints "rate BACKEND commands=N seconds=S
// per_s=X failures=F". Returns 0 when at least one command went through.
int MeasureRate(const ServeOptions& options, const std::string& backend, int seconds);

}  // namespace corvane::uhid
