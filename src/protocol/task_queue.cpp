#include "protocol/task_queue.h"

namespace corvane {

void TaskQueue::Post(WorkerTask task) {
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(task);
  }
  posted_.notify_all();
}

std::optional<WorkerTask> TaskQueue::Take() {
  std::lock_guard lock(mutex_);
  if (tasks_.empty()) return std::nullopt;
  WorkerTask task = tasks_.front();
  tasks_.pop_front();
  return task;
}

bool TaskQueue::WaitForTask(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  posted_.wait_for(lock, timeout, [this] { return !tasks_.empty() || interrupted_; });
  interrupted_ = false;
  return !tasks_.empty();
}

void TaskQueue::Interrupt() {
  {
    std::lock_guard lock(mutex_);
    interrupted_ = true;
  }
  posted_.notify_all();
}

bool TaskQueue::Empty() const {
  std::lock_guard lock(mutex_);
  return tasks_.empty();
}

size_t TaskQueue::Size() const {
  std::lock_guard lock(mutex_);
  return tasks_.size();
}

}  // namespace corvane
