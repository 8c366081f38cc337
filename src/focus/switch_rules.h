// When the focused application makes another profile active: a focus must last the
// debounce time before it counts; a linked application brings its profile, any other
// brings back the default (the profile chosen by hand). Pure: time is passed in, the
// caller waits and switches.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "focus/app_links.h"

namespace corvane {

class SwitchRules {
 public:
  using Clock = std::chrono::steady_clock;
  // A focus shorter than this switches nothing (alt-tab passing over a window).
  static constexpr std::chrono::milliseconds kDebounce{300};
  // How long a switch refused for an unsaved edit or a recording waits before it is
  // tried again.
  static constexpr std::chrono::milliseconds kBlockedRetry{500};

  void SetLinks(AppLinks links) { links_ = std::move(links); }
  const AppLinks& Links() const { return links_; }
  // The profile to return to when no linked application has the focus (0: none known).
  void SetDefault(int profile) { default_ = profile; }
  int Default() const { return default_; }

  // The focus moved to `app` (normalized name; empty when unknown) at `now`.
  void Focus(const std::string& app, Clock::time_point now);
  // When the pending focus should be settled; nullopt when nothing is pending.
  std::optional<Clock::time_point> Deadline() const;
  // Settles the pending focus if its deadline has passed: returns the profile to make
  // active, or 0 when nothing is to change (`active` already, no default, not due yet).
  int Settle(Clock::time_point now, int active);
  // The switch Settle asked for could not be made now: settle again after kBlockedRetry.
  void Refused(Clock::time_point now) { deadline_ = now + kBlockedRetry; }
  // The profile `app` should bring; 0 when none.
  int TargetFor(const std::string& app) const;

 private:
  AppLinks links_;
  int default_ = 0;
  std::string pending_app_;
  std::optional<Clock::time_point> deadline_;
};

}  // namespace corvane
