// Self-pipe: the signal handler only writes a byte; the GUI thread quits the loop.
#include "ui/termination_watcher.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>

namespace corvane::ui {
namespace {

int g_pipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] ssize_t written = write(g_pipe[1], &byte, 1);
}

}  // namespace

TerminationWatcher::TerminationWatcher() = default;

TerminationWatcher::~TerminationWatcher() {
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) std::signal(sig, SIG_DFL);
  notifier_.reset();
  for (int& fd : g_pipe) {
    if (fd >= 0) close(fd);
    fd = -1;
  }
}

bool TerminationWatcher::Install() {
  if (g_pipe[0] >= 0) return true;
  if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  notifier_ = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [] {
    char buffer[16];
    while (read(g_pipe[0], buffer, sizeof buffer) > 0) {
    }
    QCoreApplication::exit(0);
  });
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
  return true;
}

}  // namespace corvane::ui
