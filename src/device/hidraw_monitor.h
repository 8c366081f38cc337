// Watches hidraw nodes come and go through a libudev monitor. The window polls Fd()
// on its own thread and calls ReadEvent when it is readable; nothing here opens a
// device. Identities of removed nodes come from what was learnt when they appeared.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "device/hotplug_match.h"

struct udev;
struct udev_monitor;
struct udev_device;

namespace corvane {

class HidrawMonitor {
 public:
  HidrawMonitor();
  ~HidrawMonitor();
  HidrawMonitor(const HidrawMonitor&) = delete;
  HidrawMonitor& operator=(const HidrawMonitor&) = delete;

  // Connects to udev, starts listening and remembers the nodes present now. Returns
  // false when udev is unavailable.
  bool Start();
  // Descriptor to poll for readability; -1 before a successful Start.
  int Fd() const;
  // Takes the next queued event without blocking. False when none was waiting.
  bool ReadEvent(HotplugEvent& event);

 private:
  struct UdevDeleter {
    void operator()(udev* context) const;
    void operator()(udev_monitor* monitor) const;
    void operator()(udev_device* device) const;
  };

  // Ids, interface number and collections of one hidraw device.
  static HotplugEvent Describe(udev_device* device);

  std::unique_ptr<udev, UdevDeleter> udev_;
  std::unique_ptr<udev_monitor, UdevDeleter> monitor_;
  std::map<std::string, HotplugEvent> known_nodes_;
};

}  // namespace corvane
