// Worker jobs from the command line: readback, and task N [N ...], run in order on the
// calling thread exactly as the worker would run them.
#include <cstdio>

#include "base/text.h"
#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "store/settings_database.h"
#include "worker/update_jobs.h"

namespace corvane::cli {
namespace {

int RunReadback(const CliOptions& options, const std::vector<std::string>& args) {
  if (!args.empty()) return CliFail("usage: readback");
  CliDeviceSession cli;
  std::string error;
  if (!cli.Open(options, error)) return CliFail(error);
  DeviceJobs& jobs = cli.Session().Jobs();
  SettingsDatabase& store = cli.Session().Store();
  store.TakeError();
  if (!jobs.ReadBackSettings()) {
    CliFail("the mouse is not reachable; nothing was read");
    return kExitDeviceFailed;
  }
  // What the mouse missed in an earlier run was not read over; it goes to the mouse now.
  jobs.RetryOwed();
  if (const int code = DeviceResult(jobs); code != 0) return code;
  // What was read is worth nothing when the store did not keep it.
  return StoreResult(store);
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
  UpdateJobs& updates = cli.Session().Updates();
  updates.TakeFailure();
  // Every task runs, as a queue of them would in the window; the failures are named after.
  for (WorkerTask task : tasks) {
    if (!jobs.Run(task)) std::fprintf(stderr, "corvane-cli: task %d has no job\n", TaskNumber(task));
  }
  if (const int code = DeviceResult(jobs); code != 0) return code;
  return UpdateResult(updates);
}

const CliRegistrar kReadback("readback", "readback", RunReadback);
const CliRegistrar kTask("task", "task N [N ...]", RunTasks);

}  // namespace
}  // namespace corvane::cli
