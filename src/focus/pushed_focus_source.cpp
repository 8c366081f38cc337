// Focus reports pushed by a desktop script, with the process fallback before the first.
#include "focus/pushed_focus_source.h"

#include "focus/app_links.h"

namespace corvane {

PushedFocusSource::PushedFocusSource(std::unique_ptr<FocusSource> fallback)
    : fallback_(std::move(fallback)) {}

PushedFocusSource::~PushedFocusSource() { Stop(); }

std::string PushedFocusSource::Name() const {
  std::lock_guard lock(mutex_);
  if (pushed_ || !fallback_) return "desktop script";
  return fallback_->Name();
}

bool PushedFocusSource::Start(FocusSink& sink) {
  std::lock_guard lock(mutex_);
  sink_ = &sink;
  if (fallback_ && !pushed_) fallback_->Start(sink);
  return true;
}

void PushedFocusSource::Stop() {
  std::lock_guard lock(mutex_);
  sink_ = nullptr;
  if (fallback_) fallback_->Stop();
}

void PushedFocusSource::SetLinkedNames(const std::vector<std::string>& names) {
  std::lock_guard lock(mutex_);
  if (fallback_) fallback_->SetLinkedNames(names);
}

bool PushedFocusSource::Push(const std::string& app) {
  std::lock_guard lock(mutex_);
  if (sink_ == nullptr) return false;
  if (!pushed_ && fallback_) fallback_->Stop();  // the script knows better from now on
  pushed_ = true;
  sink_->OnFocus(NormalizeAppName(app));
  return true;
}

long PushedFocusSource::Wakeups() const {
  std::lock_guard lock(mutex_);
  return fallback_ && !pushed_ ? fallback_->Wakeups() : 0;
}

}  // namespace corvane
