// Macro event records and packets. Delays are summed between records; the sum is
// written into the record before them, and a record without a following delay keeps 1.
#include "protocol/macro_packets.h"

#include <algorithm>

#include "protocol/key_codes.h"

namespace corvane {
namespace {

constexpr uint8_t kMouseDownKind = 0x10;
constexpr uint8_t kMouseUpKind = 0x90;
constexpr uint8_t kModifierDownKind = 0x20;
constexpr uint8_t kModifierUpKind = 0xA0;
constexpr uint8_t kKeyDownKind = 0x30;
constexpr uint8_t kKeyUpKind = 0xB0;
constexpr int kNoDelay = 1;

bool RecordFor(const MacroEventRecord& event, MacroRecordBytes& record) {
  const int v = event.value;
  switch (event.type) {
    case kEventKeyDown:
    case kEventKeyUp: {
      const bool down = event.type == kEventKeyDown;
      // The eight modifier keys travel as modifier bits; every other key as its usage.
      if (const int bit = VkModifierBit(v); bit != 0) {
        record = {down ? kModifierDownKind : kModifierUpKind, 0, 0, static_cast<uint8_t>(bit)};
      } else {
        record = {down ? kKeyDownKind : kKeyUpKind, 0, 0, static_cast<uint8_t>(VkToHidUsage(v))};
      }
      return true;
    }
    case kEventMouseDown: record = {kMouseDownKind, 0, 0, static_cast<uint8_t>(v & 0xFF)}; return true;
    case kEventMouseUp: record = {kMouseUpKind, 0, 0, static_cast<uint8_t>(v & 0xFF)}; return true;
    default: return false;
  }
}

void SetDelay(MacroRecordBytes& record, long long delay) {
  // Sums beyond 16 bits are held at the maximum rather than wrapped to a short pause.
  const int ms = static_cast<int>(std::clamp<long long>(delay, kNoDelay, kMaxRecordDelay));
  record[1] = static_cast<uint8_t>(ms & 0xFF);
  record[2] = static_cast<uint8_t>(ms >> 8);
}

}  // namespace

std::vector<MacroRecordBytes> MacroEventRecords(const std::vector<MacroEventRecord>& events) {
  std::vector<MacroRecordBytes> records;
  long long pending = 0;
  bool delay_seen = false;
  for (const MacroEventRecord& event : events) {
    if (event.type == kEventDelay) {
      pending += event.value;
      delay_seen = true;
      continue;
    }
    MacroRecordBytes record{};
    if (!RecordFor(event, record)) continue;
    SetDelay(record, kNoDelay);
    if (!records.empty()) {
      SetDelay(records.back(), pending);
      pending = 0;
      delay_seen = false;
    }
    records.push_back(record);
  }
  if (!records.empty() && delay_seen) SetDelay(records.back(), pending);
  return records;
}

std::vector<uint8_t> MacroBlob(int button, const std::vector<MacroEventRecord>& events) {
  std::vector<uint8_t> blob{static_cast<uint8_t>(button)};
  for (const MacroRecordBytes& record : MacroEventRecords(events)) {
    blob.insert(blob.end(), record.begin(), record.end());
  }
  return blob;
}

int MacroPacketCount(int blob_size) {
  if (blob_size <= kSinglePacketMaxBlob) return 1;
  return (blob_size + kReportPayloadMax - 1) / kReportPayloadMax;
}

bool MacroFitsPackets(const std::vector<MacroEventRecord>& events) {
  return MacroPacketCount(static_cast<int>(MacroBlob(0, events).size())) <= kMaxMacroPackets;
}

bool MacroPackets(const std::vector<uint8_t>& blob, std::vector<CommandReport>& packets) {
  packets.clear();
  const int size = static_cast<int>(blob.size());
  const int count = MacroPacketCount(size);
  if (count > kMaxMacroPackets) return false;
  for (int i = 0; i < count; ++i) {
    CommandReport report;
    report.length = kShortReportLength;
    const int begin = i * kReportPayloadMax;
    const int length = std::min(size - begin, count == 1 ? size : kReportPayloadMax);
    report.bytes[kReportCommandByte] = Byte(CommandId::kMacro);
    report.bytes[kReportSequenceByte] = MacroSequenceByte(i, count);
    report.bytes[kReportLengthByte] = static_cast<uint8_t>(length);
    std::copy(blob.begin() + begin, blob.begin() + begin + length,
              report.bytes.begin() + kReportPayloadByte);
    packets.push_back(report);
  }
  return true;
}

}  // namespace corvane
