// The command report's layout on the wire and the report as page logic prepares it for
// the worker. An output report is written report id first (byte 0), then the command
// id, the sequence, the length byte and the payload, closed by a checksum. Input
// reports (replies and notifications) arrive without a report id.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "protocol/command_ids.h"

namespace corvane {

// Output report, as written (report id in byte 0).
inline constexpr uint8_t kCommandReportId = 0x00;
inline constexpr int kReportIdByte = 0;
inline constexpr int kReportCommandByte = 1;
inline constexpr int kReportSequenceByte = 3;
inline constexpr int kReportLengthByte = 4;
inline constexpr int kReportPayloadByte = 5;
inline constexpr int kReportChecksumByte = 32;  // 8-bit sum of the payload bytes 5..31
inline constexpr int kReportPayloadMax = kReportChecksumByte - kReportPayloadByte;  // 27
inline constexpr int kReportBufferSize = 65;
inline constexpr int kShortReportLength = 33;  // up to and with the checksum
inline constexpr int kLongReportLength = 65;
// A command that fits one packet: packet 0 of a count of 1 (macros number their packets).
inline constexpr uint8_t kSinglePacketSequence = 0x01;

// Input report (reply or notification), without a report id.
inline constexpr int kInputReportSize = 64;
inline constexpr int kReplyTypeByte = 0;  // the command id echoed, or a notification's type
inline constexpr int kReplyStatusByte = 1;
inline constexpr int kReplySequenceByte = 3;
inline constexpr int kReplyDataByte = 4;
inline constexpr int kReplyChecksumByte = 31;

// The offset at which the mouse, which never sees the report id, finds a request byte.
constexpr int WithoutReportId(int offset) { return offset - 1; }

static_assert(kReportPayloadMax == 27);
static_assert(kReportChecksumByte < kShortReportLength);
static_assert(kLongReportLength == kReportBufferSize);
static_assert(kReportBufferSize == kInputReportSize + 1);
// A reply's data and checksum sit where the mouse saw the request's payload and checksum.
static_assert(WithoutReportId(kReportPayloadByte) == kReplyDataByte);
static_assert(WithoutReportId(kReportChecksumByte) == kReplyChecksumByte);

struct CommandReport {
  std::array<uint8_t, kReportBufferSize> bytes{};
  int length = kShortReportLength;  // bytes handed to SendCommand
};

// The checksum of an output report of at least kShortReportLength bytes: the 8-bit sum of
// bytes kReportPayloadByte..kReportChecksumByte - 1. The sender stores it at kReportChecksumByte.
uint8_t CommandChecksum(const uint8_t* report);

}  // namespace corvane
