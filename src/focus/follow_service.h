// Makes the mouse follow the focused application: runs one focus source and a waiting
// thread that applies the switching rules, both only while at least one profile is
// linked (with no link nothing runs: no thread, no timer). The front end says how a
// profile is switched to (the same path as choosing it by hand) and may refuse a switch
// for now (an unsaved edit, a recording); a refused switch is tried again later.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "focus/focus_source.h"
#include "focus/switch_rules.h"

namespace corvane {

class FollowService : private FocusSink {
 public:
  enum class SwitchOutcome { kDone, kRefused };
  struct Hooks {
    // The active profile id (0: none). Called on the service's thread.
    std::function<int()> active_profile;
    // Switches to the profile as choosing it by hand does, or refuses for now. Called on
    // the service's thread.
    std::function<SwitchOutcome(int profile)> switch_to;
  };
  // The candidate sources, best first; the first whose Start succeeds is used.
  using SourceFactory = std::function<std::vector<std::unique_ptr<FocusSource>>()>;

  FollowService(Hooks hooks, SourceFactory sources);
  ~FollowService() override;
  FollowService(const FollowService&) = delete;
  FollowService& operator=(const FollowService&) = delete;

  // New links and default profile: starts following when there is a link, stops when
  // there is none. Call from one thread (the front end's).
  void Update(AppLinks links, int default_profile);
  // The profile chosen by hand last.
  void SetDefault(int profile);
  // A switch the front end accepted but could not make after all (it found an edit or a
  // recording on its own thread): the focus is settled again after a while.
  void RetryLater();
  // Ends following (as Update with no links).
  void Stop();

  // A desktop script's report; false when the source in use takes none (or none runs).
  bool Push(const std::string& app);
  // Whether a source and the thread run.
  bool Running() const;
  // The source in use; empty while not following.
  std::string SourceName() const;
  // Wake-ups of the service's thread and the source's since following started.
  long Wakeups() const;

 private:
  void OnFocus(const std::string& app) override;
  void Run();
  void StartFollowing(const AppLinks& links);

  Hooks hooks_;
  SourceFactory factory_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  SwitchRules rules_;
  std::unique_ptr<FocusSource> source_;
  std::thread thread_;
  bool stop_ = false;
  bool has_focus_ = false;
  std::string last_focus_;
  std::atomic<long> wakeups_{0};
};

}  // namespace corvane
