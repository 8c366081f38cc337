#include "protocol/device_worker.h"

#include "settings/device_state.h"

namespace corvane {

DeviceWorker::DeviceWorker(DeviceJobs& jobs, DeviceState& state) : jobs_(jobs), state_(state) {}

DeviceWorker::~DeviceWorker() { Stop(); }

void DeviceWorker::Post(WorkerTask task) { queue_.Post(task); }

void DeviceWorker::StartWithInitialTasks() {
  Post(WorkerTask::kStartup);
  Post(WorkerTask::kSoftwareCheck);
  Start();
}

void DeviceWorker::Step() {
  ++steps_;
  {
    std::lock_guard lock(idle_mutex_);
    busy_ = true;
  }
  if (std::optional<WorkerTask> task = queue_.Take()) {
    jobs_.Run(*task);  // numbers without a job are dropped
  } else if (state_.IdlePoll()) {
    jobs_.PollNotification([this] { return !queue_.Empty() || !IsRunning(); });
  }
  {
    std::lock_guard lock(idle_mutex_);
    busy_ = false;
  }
  idle_cv_.notify_all();
}

void DeviceWorker::Pause(std::chrono::milliseconds interval) {
  if (!queue_.Empty()) return;
  // With nothing to poll there is nothing to do until a task arrives.
  auto wait = state_.IdlePoll() ? interval : std::chrono::milliseconds(kIdleWaitMs);
  queue_.WaitForTask(wait);
}

void DeviceWorker::WakeForStop() { queue_.Interrupt(); }

bool DeviceWorker::WaitIdle(std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  std::unique_lock lock(idle_mutex_);
  while (busy_ || !queue_.Empty()) {
    if (idle_cv_.wait_until(lock, deadline) == std::cv_status::timeout) {
      return !busy_ && queue_.Empty();
    }
  }
  return true;
}

}  // namespace corvane
