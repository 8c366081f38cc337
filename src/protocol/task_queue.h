// The worker's queue of task numbers: appended on the interface thread, taken
// one at a time by the worker. First in, first out; duplicates allowed.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "base/worker_task.h"

namespace corvane {

class TaskQueue {
 public:
  // Appends a task number and wakes a waiting worker.
  void Post(WorkerTask task);

  // Removes and returns the first task number; nullopt when the queue is empty.
  std::optional<WorkerTask> Take();

  // Blocks until a task is queued, `Interrupt` is called, or `timeout` passes.
  // Returns true when the queue is non-empty on return.
  bool WaitForTask(std::chrono::milliseconds timeout);

  // Wakes a WaitForTask caller without queuing anything (used when stopping).
  void Interrupt();

  bool Empty() const;
  size_t Size() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<WorkerTask> tasks_;
  bool interrupted_ = false;
};

}  // namespace corvane
