// Ends the event loop in order on SIGTERM, SIGINT or SIGHUP, so that a session logout or
// a kill still stops the worker, closes the devices and saves the simulator's state.
#pragma once

#include <memory>

class QSocketNotifier;

namespace corvane::ui {

class TerminationWatcher {
 public:
  TerminationWatcher();
  ~TerminationWatcher();
  TerminationWatcher(const TerminationWatcher&) = delete;
  TerminationWatcher& operator=(const TerminationWatcher&) = delete;

  // Installs the handlers. Returns false when the signal pipe cannot be made.
  bool Install();

 private:
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace corvane::ui
