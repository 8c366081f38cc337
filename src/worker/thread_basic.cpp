#include "worker/thread_basic.h"

#include <unistd.h>

namespace corvane {

CThreadBasic::~CThreadBasic() {
  // Derived classes must call Stop() in their own destructor, while their state
  // still exists; this only makes sure no thread outlives the object.
  running_ = false;
  if (thread_.joinable()) thread_.join();
}

bool CThreadBasic::Start(bool looping, int interval_ms) {
  if (running_.load()) return false;
  if (thread_.joinable()) thread_.join();  // a previous run that was stopped
  looping_ = looping;
  interval_ms_ = interval_ms;
  start_tick_ = std::chrono::steady_clock::now();
  {
    std::lock_guard lock(stopped_mutex_);
    stopped_ = false;
  }
  running_ = true;
  thread_ = std::thread([this] { Body(); });
  return true;
}

bool CThreadBasic::Stop() {
  if (!thread_.joinable()) return true;
  running_ = false;
  WakeForStop();
  std::unique_lock lock(stopped_mutex_);
  bool stopped = stopped_cv_.wait_for(lock, std::chrono::milliseconds(kStopWaitMs),
                                      [this] { return stopped_; });
  lock.unlock();
  if (stopped) thread_.join();
  return stopped;
}

void CThreadBasic::Pause(std::chrono::milliseconds interval) {
  std::this_thread::sleep_for(interval);
}

void CThreadBasic::Body() {
  thread_id_ = static_cast<long>(gettid());
  if (looping_) {
    while (running_.load()) {
      Step();
      if (running_.load()) Pause(std::chrono::milliseconds(interval_ms_));
    }
  } else {
    Step();
    running_ = false;
  }
  {
    std::lock_guard lock(stopped_mutex_);
    stopped_ = true;
  }
  stopped_cv_.notify_all();
}

}  // namespace corvane
