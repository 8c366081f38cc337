// Where the name of the focused application comes from. One interface, one
// implementation per desktop (X11 property events, a desktop script pushing over the
// session bus, running processes as the last resort) and a scripted one for tests.
#pragma once

#include <string>
#include <vector>

namespace corvane {

// Receives focus reports; called on the source's own thread.
class FocusSink {
 public:
  virtual ~FocusSink() = default;
  // The focus moved to `app` (normalized name; empty when the application is unknown).
  virtual void OnFocus(const std::string& app) = 0;
};

class FocusSource {
 public:
  virtual ~FocusSource() = default;
  // Short name of the source, shown on the settings page and by `follow`.
  virtual std::string Name() const = 0;
  // Starts reporting to `sink`, first the application focused now when that is known.
  // False when the source cannot work here (no X server, ...); nothing runs then.
  virtual bool Start(FocusSink& sink) = 0;
  // Stops reporting and joins any thread. Safe to call when not started.
  virtual void Stop() = 0;
  // The linked application names changed (a source that looks for them needs them).
  virtual void SetLinkedNames(const std::vector<std::string>& names) { (void)names; }
  // A desktop script reported the focus. False when this source takes no such reports.
  virtual bool Push(const std::string& app) {
    (void)app;
    return false;
  }
  // How often the source's thread has woken up since Start (idle cost measurement).
  virtual long Wakeups() const { return 0; }
};

// Reports exactly what a test tells it to.
class ScriptedFocusSource : public FocusSource {
 public:
  std::string Name() const override { return "scripted"; }
  bool Start(FocusSink& sink) override {
    sink_ = &sink;
    return true;
  }
  void Stop() override { sink_ = nullptr; }
  // Reports `app` as focused; ignored while not started.
  void Focus(const std::string& app) {
    if (sink_ != nullptr) sink_->OnFocus(app);
  }
  bool Started() const { return sink_ != nullptr; }

 private:
  FocusSink* sink_ = nullptr;
};

}  // namespace corvane
