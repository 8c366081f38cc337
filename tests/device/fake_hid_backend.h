// A scripted HidBackend for device and protocol tests: interfaces are declared by
// hand, writes are recorded, and each interface answers from a queue of replies
// (or a function) so odd devices can be built without the simulator.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace corvane::test {

struct FakeInterface {
  HidInterfaceInfo info;
  // Answers a write (bytes as written); the result is queued for reading. Null =
  // answer nothing. Leave it null and push to `replies` for a fixed script.
  std::function<std::vector<std::vector<uint8_t>>(const std::vector<uint8_t>&)> respond;
  std::deque<std::vector<uint8_t>> replies;
  std::vector<std::vector<uint8_t>> writes;
  bool fail_open = false;
  bool fail_write = false;
  bool unplugged = false;
  int opens = 0;
  int closes = 0;
  int reads = 0;
};

class FakeHidBackend : public HidBackend {
 public:
  // Adds an interface; the returned object stays valid and may be changed later.
  FakeInterface& Add(const std::string& path, uint16_t vid, uint16_t pid, uint16_t usage_page,
                     uint16_t usage, uint16_t release = 0x0100, int interface_number = 2);
  FakeInterface& Get(const std::string& path) { return *interfaces_.at(path); }

  std::vector<HidInterfaceInfo> Enumerate() override;
  std::unique_ptr<HidHandle> Open(const std::string& path) override;

 private:
  std::vector<std::string> order_;
  std::map<std::string, std::shared_ptr<FakeInterface>> interfaces_;
};

// A device-information reply (status 0) reporting `dev_id` and `reachable`.
std::vector<uint8_t> DeviceInfoReply(const std::string& dev_id, uint8_t reachable = 1);
// A responder that accepts every command and answers 0x10 with `dev_id`.
std::function<std::vector<std::vector<uint8_t>>(const std::vector<uint8_t>&)> AnswerAs(
    const std::string& dev_id);

}  // namespace corvane::test
