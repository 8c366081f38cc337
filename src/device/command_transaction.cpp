// The send-and-wait rule every command follows. A notification whose byte 1 happens
// to be 0x00 ends the wait too; callers only ever look at status and reply data.
#include "device/command_transaction.h"

#include <algorithm>
#include <cstring>

namespace corvane {

uint8_t CommandChecksum(const uint8_t* buffer) {
  unsigned sum = 0;
  for (size_t i = kChecksumFirstByte; i <= kChecksumLastByte; ++i) sum += buffer[i];
  return static_cast<uint8_t>(sum & 0xFF);
}

bool RunCommandTransaction(HidHandle& device, uint8_t* buffer, size_t length) {
  if (buffer == nullptr || length < kShortCommandLength || length > kCommandBufferSize)
    return false;
  buffer[kChecksumByte] = CommandChecksum(buffer);
  uint8_t working[kCommandBufferSize] = {};
  std::memcpy(working, buffer, length);
  if (device.Write(working, length) <= 0) return false;

  std::memcpy(working, buffer, length);
  bool accepted = false;
  for (int attempt = 0; attempt < kReplyReads && !accepted; ++attempt) {
    const int read = device.ReadTimeout(working, length, kReplyReadMs);
    if (read <= 0) continue;
    const size_t got = std::min(static_cast<size_t>(read), length);
    // A reply shorter than the request must not pass request bytes off as reply
    // data, and a one-byte report carries no status at all.
    std::fill(working + got, working + length, 0);
    accepted = got > kReplyStatusByte && working[kReplyStatusByte] == kReplyAccepted;
  }
  std::memcpy(buffer, working, length);
  return accepted;
}

bool QueryDeviceInfo(HidHandle& device, uint8_t* reply) {
  if (reply == nullptr) return false;
  std::memset(reply, 0, kCommandBufferSize);
  reply[1] = kCommandDeviceInfo;
  return RunCommandTransaction(device, reply, kShortCommandLength);
}

}  // namespace corvane
