// FakeHidBackend: interfaces kept in a shared map so handles see later changes.
#include "fake_hid_backend.h"

#include <algorithm>
#include <cstring>

namespace corvane::test {
namespace {

class FakeHandle : public HidHandle {
 public:
  FakeHandle(std::shared_ptr<FakeInterface> iface) : iface_(std::move(iface)) { ++iface_->opens; }
  ~FakeHandle() override { ++iface_->closes; }

  int Write(const uint8_t* data, size_t length) override {
    if (iface_->unplugged || iface_->fail_write) return -1;
    std::vector<uint8_t> bytes(data, data + length);
    iface_->writes.push_back(bytes);
    if (iface_->respond) {
      for (auto& reply : iface_->respond(bytes)) iface_->replies.push_back(std::move(reply));
    }
    return static_cast<int>(length);
  }

  int ReadTimeout(uint8_t* data, size_t length, int) override {
    ++iface_->reads;
    if (iface_->unplugged) return -1;
    if (iface_->replies.empty()) return 0;
    std::vector<uint8_t> reply = std::move(iface_->replies.front());
    iface_->replies.pop_front();
    const size_t n = std::min(length, reply.size());
    std::memcpy(data, reply.data(), n);
    return static_cast<int>(n);
  }

  std::u16string ProductString() override { return u"Fake"; }
  const std::string& Path() const override { return iface_->info.path; }

 private:
  std::shared_ptr<FakeInterface> iface_;
};

}  // namespace

FakeInterface& FakeHidBackend::Add(const std::string& path, uint16_t vid, uint16_t pid,
                                   uint16_t usage_page, uint16_t usage, uint16_t release,
                                   int interface_number) {
  auto iface = std::make_shared<FakeInterface>();
  iface->info = {path, vid, pid, release, usage_page, usage, interface_number};
  order_.push_back(path);
  interfaces_[path] = iface;
  return *iface;
}

std::vector<HidInterfaceInfo> FakeHidBackend::Enumerate() {
  std::vector<HidInterfaceInfo> list;
  for (const std::string& path : order_) {
    if (!interfaces_[path]->unplugged) list.push_back(interfaces_[path]->info);
  }
  return list;
}

std::unique_ptr<HidHandle> FakeHidBackend::Open(const std::string& path) {
  auto it = interfaces_.find(path);
  if (it == interfaces_.end() || it->second->fail_open || it->second->unplugged) return nullptr;
  return std::make_unique<FakeHandle>(it->second);
}

std::vector<uint8_t> DeviceInfoReply(const std::string& dev_id, uint8_t reachable) {
  std::vector<uint8_t> reply(64, 0);
  reply[0] = 0x10;
  reply[1] = 0x00;
  for (size_t i = 0; i < 4 && i < dev_id.size(); ++i) reply[4 + i] = static_cast<uint8_t>(dev_id[i]);
  reply[10] = 0x01;
  reply[11] = 0x40;
  reply[12] = 80;
  reply[13] = 1;
  reply[14] = reachable;
  return reply;
}

std::function<std::vector<std::vector<uint8_t>>(const std::vector<uint8_t>&)> AnswerAs(
    const std::string& dev_id) {
  return [dev_id](const std::vector<uint8_t>& request) {
    if (request.size() > 1 && request[1] == 0x10) return std::vector<std::vector<uint8_t>>{DeviceInfoReply(dev_id)};
    std::vector<uint8_t> ack(64, 0);
    ack[0] = request.size() > 1 ? request[1] : 0;
    return std::vector<std::vector<uint8_t>>{ack};
  };
}

}  // namespace corvane::test
