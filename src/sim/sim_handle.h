// One opened interface of a simulated device. It keeps the hub alive, so a handle may
// outlive the SimBackend that opened it; it then behaves like an unplugged device.
#pragma once

#include <memory>
#include <string>

#include "device/hid_backend.h"
#include "sim/sim_hub.h"

namespace corvane {

class SimHandle : public HidHandle {
 public:
  SimHandle(std::shared_ptr<SimHub> hub, std::shared_ptr<SimHub::Reader> reader, std::string path);
  ~SimHandle() override;

  // See HidHandle: bytes written or -1; bytes read, 0 on time-out or -1.
  int Write(const uint8_t* data, size_t length) override;
  int ReadTimeout(uint8_t* data, size_t length, int timeout_ms) override;
  int ReadOrWake(uint8_t* data, size_t length, int timeout_ms, ReadWake& wake) override;
  std::u16string ProductString() override;
  const std::string& Path() const override { return path_; }

 private:
  std::shared_ptr<SimHub> hub_;
  std::shared_ptr<SimHub::Reader> reader_;
  std::string path_;
};

}  // namespace corvane
