// ReadWake: ends another thread's blocking HID read early. The worker's idle notification
// read waits for a report or for this signal, whichever comes first, so a posted task is
// written at once instead of after the read's time-out. A back end that can watch the
// signal registers how to wake its own wait (e.g. notify its condition variable).
#pragma once

#include <atomic>
#include <functional>
#include <list>
#include <mutex>

namespace corvane {

class ReadWake {
 public:
  // Raises the signal and wakes every registered waiter. Never called with a back end's
  // lock held; a waker may take one.
  void Raise() {
    // The flag first: a waiter that checks it after this point does not block, and one
    // that blocked before is woken below.
    raised_.store(true);
    std::lock_guard lock(mutex_);
    for (const auto& wake : wakers_) wake();
  }
  // Lowers the signal (the reader does this before it looks for work again).
  void Clear() { raised_.store(false); }
  // True while raised. Lock-free, so waiters may check it under their own lock.
  bool Raised() const { return raised_.load(); }

  // Registers `wake` for as long as the object lives. Make it before taking the lock
  // that `wake` takes, and end it after releasing that lock.
  class Waiter {
   public:
    // `signal` may be null: then nothing is registered.
    Waiter(ReadWake* signal, std::function<void()> wake) : signal_(signal) {
      if (signal_ == nullptr) return;
      std::lock_guard lock(signal_->mutex_);
      entry_ = signal_->wakers_.insert(signal_->wakers_.end(), std::move(wake));
    }
    ~Waiter() {
      if (signal_ == nullptr) return;
      std::lock_guard lock(signal_->mutex_);
      signal_->wakers_.erase(entry_);
    }
    Waiter(const Waiter&) = delete;
    Waiter& operator=(const Waiter&) = delete;

   private:
    ReadWake* signal_;
    std::list<std::function<void()>>::iterator entry_;
  };

 private:
  std::atomic<bool> raised_{false};
  std::mutex mutex_;  // guards wakers_, and is held while they run
  std::list<std::function<void()>> wakers_;
};

}  // namespace corvane
