// The worker thread: takes one task number at a time from the queue and runs its job;
// with an empty queue it polls the mouse for notifications while device entries exist,
// and otherwise sleeps until a task arrives.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "protocol/device_jobs.h"
#include "protocol/task_queue.h"
#include "protocol/thread_basic.h"
#include "settings/task_poster.h"

namespace corvane {

class DeviceState;

class DeviceWorker : public CThreadBasic, public TaskPoster {
 public:
  // How long one idle wait lasts at most before the running flag is looked at again.
  static constexpr int kIdleWaitMs = 1000;

  DeviceWorker(DeviceJobs& jobs, DeviceState& state);
  ~DeviceWorker() override;

  // Appends a task; the worker wakes if it sleeps or polls.
  void Post(WorkerTask task) override;
  // Queues the start-up and software-check tasks and starts the thread (window start-up).
  void StartWithInitialTasks();
  // Waits until the queue is empty and no job runs. Returns false on time-out.
  bool WaitIdle(std::chrono::milliseconds timeout);

  const TaskQueue& Queue() const { return queue_; }
  // Loop turns so far; lets tests see that an idle worker sleeps instead of spinning.
  long long StepCount() const { return steps_.load(); }

 protected:
  void Step() override;
  void Pause(std::chrono::milliseconds interval) override;
  void WakeForStop() override;

 private:
  DeviceJobs& jobs_;
  DeviceState& state_;
  TaskQueue queue_;
  std::mutex idle_mutex_;
  std::condition_variable idle_cv_;
  bool busy_ = false;
  std::atomic<long long> steps_{0};
};

}  // namespace corvane
