// The one interface every HID transfer goes through. HidapiBackend talks to real
// hardware, SimBackend to the simulated mouse, CaptureBackend logs either of them.
// Callers above this line never see hidapi.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/read_wake.h"

namespace corvane {

// One HID interface (top-level collection) as enumeration reports it.
struct HidInterfaceInfo {
  std::string path;
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t release_number = 0;
  uint16_t usage_page = 0;
  uint16_t usage = 0;
  int interface_number = -1;
};

// An opened interface. Closing happens in the destructor.
class HidHandle {
 public:
  // How often the default ReadOrWake looks at the wake signal.
  static constexpr int kWakeSliceMs = 10;

  virtual ~HidHandle() = default;

  // Writes one output report; data[0] is the report id (0x00). Shorter buffers are
  // padded to the interface's report length by the back end. Returns bytes written
  // (> 0) or -1 on error.
  virtual int Write(const uint8_t* data, size_t length) = 0;

  // Reads one input report without its report id byte, copying at most `length`
  // bytes. Returns bytes copied (> 0), 0 when nothing arrived within `timeout_ms`,
  // -1 on error.
  virtual int ReadTimeout(uint8_t* data, size_t length, int timeout_ms) = 0;

  // Like ReadTimeout, but gives up with 0 once `wake` is raised instead of waiting out
  // the time-out.
  // Back ends that can watch the signal wait on it; this default reads in short slices.
  virtual int ReadOrWake(uint8_t* data, size_t length, int timeout_ms, ReadWake& wake) {
    for (int waited = 0; !wake.Raised(); waited += kWakeSliceMs) {
      if (waited >= timeout_ms) return 0;
      const int read = ReadTimeout(data, length, std::min(kWakeSliceMs, timeout_ms - waited));
      if (read != 0) return read;
    }
    return 0;
  }

  // The product string; empty when the device has none.
  virtual std::u16string ProductString() = 0;

  // The path the interface was opened with.
  virtual const std::string& Path() const = 0;
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;

  // Every HID interface present (vendor 0, product 0). Empty when there are none.
  virtual std::vector<HidInterfaceInfo> Enumerate() = 0;

  // Opens an interface by path for reading and writing. Null on failure.
  virtual std::unique_ptr<HidHandle> Open(const std::string& path) = 0;
};

}  // namespace corvane
