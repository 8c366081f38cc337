// The worker thread: takes one task number at a time from the queue and runs its job;
// with an empty queue it waits for a notification while device entries exist, and
// otherwise sleeps until a task arrives. A posted task ends either wait at once.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "device/read_wake.h"
#include "settings/task_poster.h"
#include "worker/device_jobs.h"
#include "worker/job_outcomes.h"
#include "worker/task_queue.h"
#include "worker/thread_basic.h"

namespace corvane {

class DeviceState;

class DeviceWorker : public CThreadBasic, public TaskPoster {
 public:
  DeviceWorker(DeviceJobs& jobs, DeviceState& state);
  ~DeviceWorker() override;

  // Appends a task; the worker wakes at once if it sleeps or waits for a notification.
  void Post(WorkerTask task) override;
  // Queues the start-up and software-check tasks and starts the thread (window start-up).
  void StartWithInitialTasks();
  // Waits until the queue is empty and no job runs (the idle notification read does not
  // count). Returns false on time-out.
  bool WaitIdle(std::chrono::milliseconds timeout);

  const TaskQueue& Queue() const { return queue_; }
  // Which posted tasks have run and whether the mouse took them.
  JobOutcomes& Outcomes() { return outcomes_; }
  // Loop turns so far; lets tests see that an idle worker sleeps instead of spinning.
  long long StepCount() const { return steps_.load(); }

 protected:
  void Step() override;
  void Pause(std::chrono::milliseconds interval) override;
  void WakeForStop() override;

 private:
  void SetBusy(bool busy);
  // Between notification reads, every few seconds: what the mouse refused goes again, and
  // a device that would not say which mouse it is when plugged in is asked again.
  void RetryRefusedWhenDue();

  DeviceJobs& jobs_;
  DeviceState& state_;
  TaskQueue queue_;
  JobOutcomes outcomes_;
  // Raised by Post and Stop; ends the idle notification read.
  ReadWake wake_;
  // Whether the last step was an idle poll that itself waited at least one pause; the
  // worker thread's own.
  bool poll_waited_ = false;
  // When a refusing device was last asked again; the worker thread's own.
  std::chrono::steady_clock::time_point last_retry_{};
  std::mutex idle_mutex_;
  std::condition_variable idle_cv_;
  bool busy_ = false;
  std::atomic<long long> steps_{0};
};

}  // namespace corvane
