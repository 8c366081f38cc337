// One kernel HID device made through /dev/uhid and played by one collection of the
// simulated mouse or receiver: output reports the kernel hands over go to the firmware
// model, and whatever the model queues (replies, notifications, acknowledgements)
// goes back to the kernel as input reports. Destroying the object unplugs the device.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "device/hid_backend.h"
#include "sim/sim_backend.h"

namespace corvane::uhid {

// Counters of one device, for the control socket's "stats".
struct UhidStats {
  int outputs = 0;        // whole output reports passed to the model
  int short_outputs = 0;  // output reports shorter than the descriptor's, dropped
  int inputs = 0;         // input reports handed to the kernel
};

class UhidDevice {
 public:
  // Opens /dev/uhid, creates the device for `collection` of `link` with the ids of
  // `info` and starts forwarding. Null with a one-line `error` on failure.
  static std::unique_ptr<UhidDevice> Create(SimBackend& sim, SimLink link, SimCollection collection,
                                            std::string& error);
  // Stops forwarding and destroys the kernel device.
  ~UhidDevice();
  UhidDevice(const UhidDevice&) = delete;
  UhidDevice& operator=(const UhidDevice&) = delete;

  UhidStats Stats() const;
  const std::string& Name() const { return name_; }

 private:
  UhidDevice(int fd, std::unique_ptr<HidHandle> handle, std::string name, size_t whole_output);
  // Kernel to model: output reports, and refusals of report requests.
  void KernelLoop();
  // Model to kernel: every report the model queues for this collection.
  void ModelLoop();
  bool WriteEvent(const void* event, size_t size);

  const int fd_;
  std::unique_ptr<HidHandle> handle_;
  const std::string name_;
  const size_t whole_output_;
  std::atomic<bool> stop_{false};
  std::atomic<int> outputs_{0}, short_outputs_{0}, inputs_{0};
  std::thread kernel_thread_;
  std::thread model_thread_;
};

}  // namespace corvane::uhid
