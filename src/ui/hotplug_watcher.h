// Watches hidraw arrivals and removals on the GUI thread and posts the matching worker
// task (2 rebuilds the device list, 3 re-enumerates).
#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace corvane {
class DeviceSession;
class HidrawMonitor;
}  // namespace corvane

namespace corvane::ui {

class HotplugWatcher {
 public:
  explicit HotplugWatcher(DeviceSession& session);
  ~HotplugWatcher();

  // Starts listening. Returns false when udev is unavailable (hot-plug then goes unseen).
  bool Start();

 private:
  // Reads every queued event and posts what it asks for.
  void Drain();

  DeviceSession& session_;
  std::unique_ptr<HidrawMonitor> monitor_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace corvane::ui
