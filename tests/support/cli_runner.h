// Runs corvane-cli as a child process with the test's private home, for end-to-end
// tests that prove a change through the capture file and across process restarts.
#pragma once

#include <string>
#include <vector>

#include "base/worker_task.h"

namespace corvane::test {

struct CliResult {
  int exit_code = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs `program` with `args`; HOME and the XDG folders are those of the current
// process (a TempHome sets them). Returns exit code and both outputs.
CliResult RunProgram(const std::string& program, const std::vector<std::string>& args);

// A task as `corvane-cli task` takes it.
inline std::string TaskArg(WorkerTask task) { return std::to_string(TaskNumber(task)); }

}  // namespace corvane::test
