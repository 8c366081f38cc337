// The debounce and target rules of profile switching by focus.
#include "focus/switch_rules.h"

namespace corvane {

void SwitchRules::Focus(const std::string& app, Clock::time_point now) {
  pending_app_ = app;
  deadline_ = now + kDebounce;
}

std::optional<SwitchRules::Clock::time_point> SwitchRules::Deadline() const { return deadline_; }

int SwitchRules::TargetFor(const std::string& app) const {
  auto it = links_.find(app);
  return it != links_.end() ? it->second : default_;
}

int SwitchRules::Settle(Clock::time_point now, int active) {
  if (!deadline_ || now < *deadline_) return 0;
  deadline_.reset();
  const int target = TargetFor(pending_app_);
  return target > 0 && target != active ? target : 0;
}

}  // namespace corvane
