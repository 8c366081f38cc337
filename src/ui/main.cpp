// Entry point of the window program: arguments, the application object and the main
// window's event loop. A second start hands over to the running copy and ends with 0.
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/device_main_dlg.h"
#include "ui/startup_benchmark.h"
#include "ui/startup_options.h"
#include "ui/termination_watcher.h"
#include "ui/window_program.h"
#include "usage_text.h"

int main(int argc, char** argv) {
  corvane::ui::MarkProcessStart();
  std::vector<std::string> args(argv + 1, argv + argc);
  if (std::find(args.begin(), args.end(), "--help") != args.end()) {
    std::fwrite(corvane::kCorvaneHelp.data(), 1, corvane::kCorvaneHelp.size(), stdout);
    return 0;
  }
  corvane::ui::StartupOptions options;
  std::string error;
  if (!corvane::ui::ParseStartupArguments(args, options, error)) {
    std::fprintf(stderr, "corvane: %s\n", error.c_str());
    return 2;
  }
  for (const std::string& ignored : options.ignored) {
    std::fprintf(stderr, "corvane: ignoring unknown option %s\n", ignored.c_str());
  }
  QApplication app(argc, argv);
  // Closing the last visible window must not end a program that lives in the tray.
  QApplication::setQuitOnLastWindowClosed(false);
  const std::string executable = QCoreApplication::applicationFilePath().toStdString();
  if (options.benchmark_startup) {
    return corvane::ui::RunStartupBenchmark(executable, args, corvane::ui::kBenchmarkRuns);
  }
  corvane::ui::WindowProgram program(executable);
  switch (program.Start(options, error)) {
    case corvane::ui::WindowProgram::StartResult::kAlreadyRunning:
      return 0;
    case corvane::ui::WindowProgram::StartResult::kFailed:
      std::fprintf(stderr, "corvane: %s\n", error.c_str());
      return 1;
    case corvane::ui::WindowProgram::StartResult::kStarted:
      break;
  }
  corvane::ui::TerminationWatcher termination;
  termination.Install();
  if (options.benchmark_child) corvane::ui::ReportFirstPaint(program.Window().GetSafeHwnd());
  if (options.benchmark_close) {
    corvane::ui::ScheduleCloseClick(
        [&program] { program.Window().GetControl(corvane::ui::kIdClose)->PerformClick(); },
        corvane::ui::kBenchmarkCloseDelayMs);
  }
  return QApplication::exec();
}
