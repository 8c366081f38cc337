// Which posted worker tasks have run and how the mouse took their commands, so that a
// front end answering a caller (a D-Bus method) can reply once the task it posted is done.
// Tasks run in the order they were posted: the n-th post is the n-th task to finish.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>

#include "worker/device_jobs.h"

namespace corvane {

class JobOutcomes {
 public:
  // Told on the worker thread each time a task has finished.
  using Listener = std::function<void()>;

  // Called as a task is posted, before it is queued. Returns its ticket (1, 2, ...).
  uint64_t NotePosted();
  // Called on the worker thread when the oldest unfinished task has run; `failure` is the
  // first command of it that the mouse refused or did not answer.
  void NoteFinished(std::optional<DeviceJobs::CommandFailure> failure);

  // The ticket of the last task posted so far (0: none).
  uint64_t LastPosted() const;
  // Whether every task up to and including `ticket` has run.
  bool Done(uint64_t ticket) const;
  // The first failure among the tasks after `after` up to and including `last`; failures
  // of tasks more than kKeptFailures tickets old are forgotten.
  std::optional<DeviceJobs::CommandFailure> FirstFailure(uint64_t after, uint64_t last) const;

  void SetListener(Listener listener);

  static constexpr uint64_t kKeptFailures = 256;

 private:
  mutable std::mutex mutex_;
  uint64_t posted_ = 0;
  uint64_t finished_ = 0;
  std::map<uint64_t, DeviceJobs::CommandFailure> failures_;
  Listener listener_;
};

}  // namespace corvane
