// CThreadBasic: one thread that runs a step over and over with a short pause,
// until asked to stop. The device worker derives from it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace corvane {

class CThreadBasic {
 public:
  static constexpr int kDefaultIntervalMs = 2;
  static constexpr int kStopWaitMs = 1000;

  CThreadBasic() = default;
  virtual ~CThreadBasic();
  CThreadBasic(const CThreadBasic&) = delete;
  CThreadBasic& operator=(const CThreadBasic&) = delete;

  // Starts the thread unless it runs already. With `looping` the step runs until
  // Stop(); otherwise once. Returns false when the thread was already running.
  bool Start(bool looping = true, int interval_ms = kDefaultIntervalMs);

  // Clears the running flag and waits at most kStopWaitMs for the loop to end.
  // Returns true when the thread has left its loop within that time; a step still
  // running after that is waited for by the destructor.
  bool Stop();

  bool IsRunning() const { return running_.load(); }
  // The kernel's id of the thread (as in /proc/self/task/<id>); 0 before it has started.
  long ThreadId() const { return thread_id_.load(); }
  std::chrono::steady_clock::time_point StartTick() const { return start_tick_; }

 protected:
  // One turn of the loop.
  virtual void Step() = 0;
  // Pauses between steps; a derived class may wake early (e.g. when a task arrives).
  virtual void Pause(std::chrono::milliseconds interval);
  // Called by Stop() after clearing the running flag, to wake a blocked step.
  virtual void WakeForStop() {}

 private:
  void Body();

  std::thread thread_;
  std::atomic<bool> running_{false};
  std::atomic<long> thread_id_{0};
  bool looping_ = true;
  int interval_ms_ = kDefaultIntervalMs;
  std::chrono::steady_clock::time_point start_tick_;
  std::mutex stopped_mutex_;
  std::condition_variable stopped_cv_;
  bool stopped_ = true;
};

}  // namespace corvane
