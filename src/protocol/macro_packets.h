// What the mouse receives for a macro: 4-byte event records with the delay after each
// event, the blob (button index then records) and the macro command packets. Pure
// functions over the stored event rows.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "protocol/command_report.h"
#include "store/store_records.h"

namespace corvane {

// Macro event types stored in MacroEventRecord::type.
enum MacroEventType : int {
  kEventDelay = 1,
  kEventKeyDown = 2,
  kEventKeyUp = 3,
  kEventMouseDown = 4,
  kEventMouseUp = 5,
};

inline constexpr int kMacroRecordSize = 4;
inline constexpr int kMaxMacroPackets = 15;  // the packet count has four bits
inline constexpr int kSinglePacketMaxBlob = 25;
inline constexpr int kMaxMacroBlob = kMaxMacroPackets * kReportPayloadMax;  // 405 bytes
inline constexpr int kMaxRecordDelay = 0xFFFF;
// A packet's sequence byte: its index in the high, the packet count in the low four bits.
inline constexpr int kMacroPacketIndexShift = 4;
inline constexpr int kMacroPacketCountMask = 0x0F;
static_assert(kMaxMacroPackets == kMacroPacketCountMask);

constexpr uint8_t MacroSequenceByte(int packet, int count) {
  return static_cast<uint8_t>((packet << kMacroPacketIndexShift) | count);
}

using MacroRecordBytes = std::array<uint8_t, kMacroRecordSize>;

// Returns the records of `events` (in their order): kind, delay after the event
// (little-endian), code; delay events only add to the neighbouring record's delay.
std::vector<MacroRecordBytes> MacroEventRecords(const std::vector<MacroEventRecord>& events);

// Returns the blob: `button` then every record (1 + 4 × records bytes).
std::vector<uint8_t> MacroBlob(int button, const std::vector<MacroEventRecord>& events);

// Returns how many packets a blob of `blob_size` bytes needs.
int MacroPacketCount(int blob_size);

// True when the events fit into the packets the macro command can describe.
bool MacroFitsPackets(const std::vector<MacroEventRecord>& events);

// Splits `blob` into macro command packets. Returns false and leaves `packets`
// empty when the blob needs more than kMaxMacroPackets packets.
bool MacroPackets(const std::vector<uint8_t>& blob, std::vector<CommandReport>& packets);

}  // namespace corvane
