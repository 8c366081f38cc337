// The focus as a desktop script reports it over the session bus (the KWin script and the
// GNOME Shell extension call the window's bus method). Until the first report arrives the
// process fallback stands in, and it stops for good once the script is heard from.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "focus/focus_source.h"

namespace corvane {

class PushedFocusSource : public FocusSource {
 public:
  // `fallback` runs until the first push; null: none.
  explicit PushedFocusSource(std::unique_ptr<FocusSource> fallback);
  ~PushedFocusSource() override;

  // "desktop script" once a push arrived, else the fallback's name.
  std::string Name() const override;
  bool Start(FocusSink& sink) override;
  void Stop() override;
  void SetLinkedNames(const std::vector<std::string>& names) override;
  bool Push(const std::string& app) override;
  long Wakeups() const override;

 private:
  mutable std::mutex mutex_;
  std::unique_ptr<FocusSource> fallback_;
  FocusSink* sink_ = nullptr;
  bool pushed_ = false;
};

}  // namespace corvane
