#include "worker/device_worker.h"

#include "settings/device_state.h"

namespace corvane {

DeviceWorker::DeviceWorker(DeviceJobs& jobs, DeviceState& state) : jobs_(jobs), state_(state) {}

DeviceWorker::~DeviceWorker() { Stop(); }

void DeviceWorker::Post(WorkerTask task) {
  outcomes_.NotePosted();  // before the worker can take it
  queue_.Post(task);
  wake_.Raise();
}

void DeviceWorker::StartWithInitialTasks() {
  Post(WorkerTask::kStartup);
  Post(WorkerTask::kSoftwareCheck);
  Start();
}

void DeviceWorker::Step() {
  ++steps_;
  SetBusy(true);  // before the queue is looked at, so WaitIdle never sees a task in hand
  // Lowered before the queue is looked at, so a task posted from here on ends the
  // notification read below at once.
  wake_.Clear();
  if (!IsRunning()) wake_.Raise();  // Stop came before the Clear: keep the read short
  poll_waited_ = false;
  std::optional<WorkerTask> task = queue_.Take();
  if (task) {
    jobs_.TakeFailures();  // those left by the idle poll belong to no posted task
    jobs_.Run(*task);      // numbers without a job are dropped
    const std::vector<DeviceJobs::CommandFailure> failures = jobs_.TakeFailures();
    outcomes_.NoteFinished(failures.empty() ? std::nullopt : std::optional(failures.front()));
  } else if (state_.IdlePoll()) {
    RetryRefusedWhenDue();
  }
  // The idle notification read is not a job: whoever waits for the queue to drain must
  // not wait out the read's second as well.
  SetBusy(false);
  if (!task && state_.IdlePoll()) {
    auto started = std::chrono::steady_clock::now();
    jobs_.PollNotification(&wake_);
    poll_waited_ = std::chrono::steady_clock::now() - started >=
                   std::chrono::milliseconds(kDefaultIntervalMs);
  }
}

void DeviceWorker::RetryRefusedWhenDue() {
  // A few seconds keep a refusing receiver from being asked at every read.
  constexpr std::chrono::seconds kRetryInterval{3};
  const auto now = std::chrono::steady_clock::now();
  if (now - last_retry_ < kRetryInterval) return;
  const bool owed = jobs_.OutOfStep() && state_.Link();
  if (!owed && !jobs_.HasUnnamedDevices()) return;
  last_retry_ = now;
  jobs_.TakeFailures();
  // A device that answers at last is read back whole, which settles what was owed too.
  if (!jobs_.NameRefusingDevices() && owed) jobs_.RetryOwed();
  jobs_.TakeFailures();  // a retry belongs to no posted task
}

void DeviceWorker::SetBusy(bool busy) {
  {
    std::lock_guard lock(idle_mutex_);
    busy_ = busy;
  }
  if (!busy) idle_cv_.notify_all();
}

void DeviceWorker::Pause(std::chrono::milliseconds interval) {
  if (!queue_.Empty()) return;
  if (!state_.IdlePoll()) {
    queue_.WaitForTask();  // nothing to poll: nothing to do until a task arrives
    return;
  }
  // A notification read that waited was the pause; one that returned at once (a report,
  // or a failing device) still pauses, so the loop never spins.
  if (!poll_waited_) queue_.WaitForTask(interval);
}

void DeviceWorker::WakeForStop() {
  queue_.Interrupt();
  wake_.Raise();
}

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
