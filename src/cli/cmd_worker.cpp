// Worker jobs from the command line: readback, and task N [N ...], run in order on the
// calling thread exactly as the worker would run them.
#include <cstdio>

#include "base/text.h"
#include "cli/cli_command.h"
#include "cli/cli_session.h"

namespace corvane::cli {
namespace {

int RunReadback(const CliOptions& options, const std::vector<std::string>& args) {
  if (!args.empty()) return CliFail("usage: readback");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  DeviceJobs& jobs = cli.Session().Jobs();
  if (!jobs.ReadBackSettings()) {
    CliFail("the mouse is not reachable; nothing was read");
    return kExitDeviceFailed;
  }
  return DeviceResult(jobs);
}

int RunTasks(const CliOptions& options, const std::vector<std::string>& args) {
  if (args.empty()) return CliFail("usage: task N [N ...]");
  std::vector<WorkerTask> tasks;
  for (const std::string& arg : args) {
    int number = 0;
    if (!ParseCliNumber(arg, number) || number <= 0) return CliFail("not a task number: " + arg);
    tasks.push_back(TaskFromNumber(number));
  }
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  DeviceJobs& jobs = cli.Session().Jobs();
  // Every task runs, as a queue of them would in the window; the failures are named after.
  for (WorkerTask task : tasks) {
    if (!jobs.Run(task)) std::fprintf(stderr, "corvane-cli: task %d has no job\n", TaskNumber(task));
  }
  return DeviceResult(jobs);
}

const CliRegistrar kReadback("readback", "readback", RunReadback);
const CliRegistrar kTask("task", "task N [N ...]", RunTasks);

}  // namespace
}  // namespace corvane::cli
