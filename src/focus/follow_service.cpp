// The follow thread: waits for the debounce deadline of the newest focus, then switches.
#include "focus/follow_service.h"

namespace corvane {
namespace {

std::vector<std::string> Names(const AppLinks& links) {
  std::vector<std::string> names;
  for (const auto& [name, profile] : links) names.push_back(name);
  return names;
}

}  // namespace

FollowService::FollowService(Hooks hooks, SourceFactory sources)
    : hooks_(std::move(hooks)), factory_(std::move(sources)) {}

FollowService::~FollowService() { Stop(); }

void FollowService::Update(AppLinks links, int default_profile) {
  const bool follow = !links.empty();
  {
    std::lock_guard lock(mutex_);
    rules_.SetDefault(default_profile);
    if (source_) source_->SetLinkedNames(Names(links));
    rules_.SetLinks(links);
    if (follow == (source_ != nullptr)) return;
  }
  if (follow) {
    StartFollowing(links);
  } else {
    Stop();
  }
}

void FollowService::StartFollowing(const AppLinks& links) {
  std::unique_ptr<FocusSource> chosen;
  for (std::unique_ptr<FocusSource>& candidate : factory_()) {
    candidate->SetLinkedNames(Names(links));
    {
      std::lock_guard lock(mutex_);
      stop_ = false;
      has_focus_ = false;
    }
    if (candidate->Start(*this)) {
      chosen = std::move(candidate);
      break;
    }
  }
  if (!chosen) return;
  std::lock_guard lock(mutex_);
  source_ = std::move(chosen);
  wakeups_ = 0;
  thread_ = std::thread([this] { Run(); });
}

void FollowService::RetryLater() {
  std::lock_guard lock(mutex_);
  if (!rules_.Deadline()) rules_.Refused(SwitchRules::Clock::now());
  wake_.notify_all();
}

void FollowService::SetDefault(int profile) {
  std::lock_guard lock(mutex_);
  rules_.SetDefault(profile);
}

void FollowService::Stop() {
  std::unique_ptr<FocusSource> source;
  {
    std::lock_guard lock(mutex_);
    source = std::move(source_);
    stop_ = true;
  }
  // The source may be reporting right now; it is stopped without holding the lock.
  if (source) source->Stop();
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

bool FollowService::Push(const std::string& app) {
  FocusSource* source = nullptr;
  {
    std::lock_guard lock(mutex_);
    source = source_.get();
  }
  // Push and Stop both run on the front end's thread, so the source outlives this call.
  return source != nullptr && source->Push(app);
}

bool FollowService::Running() const {
  std::lock_guard lock(mutex_);
  return source_ != nullptr;
}

std::string FollowService::SourceName() const {
  std::lock_guard lock(mutex_);
  return source_ ? source_->Name() : std::string();
}

long FollowService::Wakeups() const {
  std::lock_guard lock(mutex_);
  return wakeups_ + (source_ ? source_->Wakeups() : 0);
}

void FollowService::OnFocus(const std::string& app) {
  std::lock_guard lock(mutex_);
  // Repeated reports of one application (a title change, a rescan) are not a new focus.
  if (has_focus_ && app == last_focus_) return;
  has_focus_ = true;
  last_focus_ = app;
  rules_.Focus(app, SwitchRules::Clock::now());
  wake_.notify_all();
}

void FollowService::Run() {
  std::unique_lock lock(mutex_);
  while (!stop_) {
    if (const auto deadline = rules_.Deadline()) {
      wake_.wait_until(lock, *deadline);
    } else {
      wake_.wait(lock);
    }
    ++wakeups_;
    if (stop_) break;
    const auto due = rules_.Deadline();
    if (!due || SwitchRules::Clock::now() < *due) continue;
    lock.unlock();
    const int active = hooks_.active_profile();
    lock.lock();
    const auto now = SwitchRules::Clock::now();
    const int target = rules_.Settle(now, active);
    if (target == 0) continue;
    lock.unlock();
    const SwitchOutcome outcome = hooks_.switch_to(target);
    lock.lock();
    if (outcome == SwitchOutcome::kRefused && !rules_.Deadline()) rules_.Refused(now);
  }
}

}  // namespace corvane
