// The command report and its send-and-wait transaction on one HID interface: checksum
// into byte 32, stale input drained, one write, then timed reads until the reply to this
// command arrives (its id in byte 0, its packet sequence where the mouse echoes it).
// Which interface to use is the DeviceManager's business, not this file's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/hid_backend.h"

namespace corvane {

// Command buffers are prepared at this size; lengths of 33 or 65 are sent from them.
inline constexpr size_t kCommandBufferSize = 65;
inline constexpr size_t kShortCommandLength = 33;
inline constexpr size_t kLongCommandLength = 65;
inline constexpr size_t kChecksumFirstByte = 5;
inline constexpr size_t kChecksumLastByte = 31;
inline constexpr size_t kChecksumByte = 32;
inline constexpr size_t kReplyStatusByte = 1;
inline constexpr uint8_t kReplyAccepted = 0x00;
// The reply wait: this many reads of this many milliseconds, no other pauses.
inline constexpr int kReplyReads = 50;
inline constexpr int kReplyReadMs = 30;
inline constexpr uint8_t kCommandDeviceInfo = 0x10;
inline constexpr size_t kReplyCommandByte = 0;
inline constexpr size_t kReplySequenceByte = 3;
inline constexpr size_t kRequestSequenceByte = 3;
// Unsolicited reports the mouse may send at any time: link change and DPI stage change.
inline constexpr uint8_t kLinkNotificationType = 0xC0;
inline constexpr uint8_t kDpiNotificationType = 0xC2;
// At most this many waiting reports are drained before a request, and held for later.
inline constexpr int kMaxDrainedReports = 64;
inline constexpr size_t kMaxHeldNotifications = 16;

enum class CommandOutcome {
  kAccepted,     // the reply to this command, status 0x00
  kRefused,      // the reply to this command with another status
  kNoReply,      // no reply to this command within the wait
  kWriteFailed,  // the request could not be written (or there was no interface)
};

// Notifications read while draining or waiting, in arrival order, for the notification
// handling to act on afterwards.
using HeldNotifications = std::vector<std::vector<uint8_t>>;

// The 8-bit sum of bytes 5..31 of a command buffer of at least 33 bytes.
uint8_t CommandChecksum(const uint8_t* buffer);

// Stores the checksum in byte 32, drains what the interface already holds (notifications
// go to `held`, anything else is dropped: a late reply to an earlier command must not pass
// for this one's), writes `length` (33..65) bytes to `device` and reads up to kReplyReads
// times until the reply to this command arrives: byte 0 is the command id and, for a packet
// of a multi-packet write, byte 3 is 0 or the request's packet sequence. Status 0x00 is kAccepted,
// any other status kRefused at once. Notifications read meanwhile go to `held` (may be null:
// dropped), other reports are logged and skipped. On return `buffer` holds this command's reply, or
// the request when none came.
CommandOutcome RunCommand(HidHandle& device, uint8_t* buffer, size_t length,
                          HeldNotifications* held);
// RunCommand without holding notifications; true when accepted.
bool RunCommandTransaction(HidHandle& device, uint8_t* buffer, size_t length);

// Command 0x10 on `device`: zeroes the 65-byte `reply`, sends the 33-byte request and
// leaves the reply in `reply`. Returns true when the device accepted it.
bool QueryDeviceInfo(HidHandle& device, uint8_t* reply);

}  // namespace corvane
