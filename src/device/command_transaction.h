// The command report and its send-and-wait transaction on one HID interface: checksum
// into byte 32, one write, then timed reads until a reply with status 0x00 arrives.
// Which interface to use is the DeviceManager's business, not this file's.
#pragma once

#include <cstddef>
#include <cstdint>

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

// The 8-bit sum of bytes 5..31 of a command buffer of at least 33 bytes.
uint8_t CommandChecksum(const uint8_t* buffer);

// Stores the checksum in byte 32, writes `length` (33..65) bytes to `device` and reads
// up to kReplyReads times until a reply of at least two bytes has status 0x00. On
// return `buffer` holds the last reply (bytes past a short reply are zero), or the
// request when the write failed or no read returned data. Returns true when accepted.
bool RunCommandTransaction(HidHandle& device, uint8_t* buffer, size_t length);

// Command 0x10 on `device`: zeroes the 65-byte `reply`, sends the 33-byte request and
// leaves the reply in `reply`. Returns true when the device accepted it.
bool QueryDeviceInfo(HidHandle& device, uint8_t* reply);

}  // namespace corvane
