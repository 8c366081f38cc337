// The HidBackend over hidapi's hidraw back end: real mice and receivers.
// Collections come from each hidraw node's report descriptor in sysfs, because
// this hidapi has no call to fetch the descriptor itself.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace corvane {

class HidapiBackend : public HidBackend {
 public:
  // Calls hid_init; when that fails every later call fails softly (no interfaces).
  HidapiBackend();
  // Calls hid_exit. Handles must be closed before the backend goes.
  ~HidapiBackend() override;
  HidapiBackend(const HidapiBackend&) = delete;
  HidapiBackend& operator=(const HidapiBackend&) = delete;

  // One entry per top-level collection of every HID interface; empty when none.
  std::vector<HidInterfaceInfo> Enumerate() override;
  // Null when the path cannot be opened read/write or hid_init failed.
  std::unique_ptr<HidHandle> Open(const std::string& path) override;

  // Whether hid_init succeeded.
  bool Initialised() const { return initialised_; }

  // The sysfs report descriptor location of a hidraw device node ("/dev/hidraw3");
  // empty when the path does not name a hidraw node.
  static std::string ReportDescriptorPath(const std::string& device_path);
  // The report descriptor of a hidraw node, read from sysfs; empty when unavailable.
  static std::vector<uint8_t> ReportDescriptor(const std::string& device_path);
  // The hidapi library's version text.
  static std::string LibraryVersion();

 private:
  bool initialised_ = false;
};

}  // namespace corvane
