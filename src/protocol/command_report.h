// A command report as page logic prepares it for the worker: the zeroed 65-byte
// buffer (report id in byte 0, command id in byte 1, sequence in byte 3, length
// byte 4, payload from byte 5) and the length to write. The checksum is the sender's.
#pragma once

#include <array>
#include <cstdint>

namespace corvane {

inline constexpr int kReportBufferSize = 65;
inline constexpr int kShortReportLength = 33;
inline constexpr int kLongReportLength = 65;
inline constexpr int kReportCommandByte = 1;
inline constexpr int kReportSequenceByte = 3;
inline constexpr int kReportLengthByte = 4;
inline constexpr int kReportPayloadByte = 5;
inline constexpr int kReportPayloadMax = 27;  // bytes 5 to 31; byte 32 is the checksum
inline constexpr uint8_t kSinglePacketSequence = 0x01;

struct CommandReport {
  std::array<uint8_t, kReportBufferSize> bytes{};
  int length = kShortReportLength;  // bytes handed to SendCommand
};

}  // namespace corvane
