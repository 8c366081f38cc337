#include "worker/job_outcomes.h"

namespace corvane {

uint64_t JobOutcomes::NotePosted() {
  std::lock_guard lock(mutex_);
  return ++posted_;
}

void JobOutcomes::NoteFinished(std::optional<DeviceJobs::CommandFailure> failure) {
  Listener listener;
  {
    std::lock_guard lock(mutex_);
    ++finished_;
    if (failure) failures_[finished_] = *failure;
    while (!failures_.empty() && failures_.begin()->first + kKeptFailures < finished_) {
      failures_.erase(failures_.begin());
    }
    listener = listener_;
  }
  // Outside the lock: the listener may ask about outcomes.
  if (listener) listener();
}

uint64_t JobOutcomes::LastPosted() const {
  std::lock_guard lock(mutex_);
  return posted_;
}

bool JobOutcomes::Done(uint64_t ticket) const {
  std::lock_guard lock(mutex_);
  return finished_ >= ticket;
}

std::optional<DeviceJobs::CommandFailure> JobOutcomes::FirstFailure(uint64_t after,
                                                                    uint64_t last) const {
  std::lock_guard lock(mutex_);
  auto it = failures_.upper_bound(after);
  if (it == failures_.end() || it->first > last) return std::nullopt;
  return it->second;
}

void JobOutcomes::SetListener(Listener listener) {
  std::lock_guard lock(mutex_);
  listener_ = std::move(listener);
}

}  // namespace corvane
