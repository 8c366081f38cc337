// The last-resort focus source: with no way to learn the focused window, a linked
// application that runs is taken as the one in front. It looks once a second, and only
// for the linked executables' names; the newest such process wins.
#pragma once

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "focus/focus_source.h"

namespace corvane {

// The normalized executable name of the newest process under `proc_root` (a /proc
// layout) whose name is in `names`; empty when none runs.
std::string NewestRunningApp(const std::filesystem::path& proc_root,
                             const std::set<std::string>& names);

class ProcessFocusSource : public FocusSource {
 public:
  static constexpr std::chrono::seconds kInterval{1};

  explicit ProcessFocusSource(std::filesystem::path proc_root = "/proc");
  ~ProcessFocusSource() override;

  std::string Name() const override { return "processes"; }
  bool Start(FocusSink& sink) override;
  void Stop() override;
  void SetLinkedNames(const std::vector<std::string>& names) override;
  long Wakeups() const override { return wakeups_; }

 private:
  void Run(FocusSink& sink);

  std::filesystem::path proc_root_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::set<std::string> names_;
  bool stop_ = false;
  std::thread thread_;
  std::atomic<long> wakeups_{0};
};

}  // namespace corvane
