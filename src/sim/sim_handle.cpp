// Forwards an opened simulated interface's transfers to its hub.
#include "sim/sim_handle.h"

#include "base/text.h"

namespace corvane {

SimHandle::SimHandle(std::shared_ptr<SimHub> hub, std::shared_ptr<SimHub::Reader> reader,
                     std::string path)
    : hub_(std::move(hub)), reader_(std::move(reader)), path_(std::move(path)) {}

SimHandle::~SimHandle() { hub_->Close(reader_); }

int SimHandle::Write(const uint8_t* data, size_t length) {
  return hub_->Write(*reader_, data, length);
}

int SimHandle::ReadTimeout(uint8_t* data, size_t length, int timeout_ms) {
  return hub_->Read(*reader_, data, length, timeout_ms);
}

int SimHandle::ReadOrWake(uint8_t* data, size_t length, int timeout_ms, ReadWake& wake) {
  return hub_->ReadOrWake(*reader_, data, length, timeout_ms, wake);
}

std::u16string SimHandle::ProductString() {
  std::string name = hub_->Identity().product_name;
  if (reader_->link == SimLink::kReceiver && !name.empty()) name += " Receiver";
  return Utf8ToUtf16(name);
}

}  // namespace corvane
