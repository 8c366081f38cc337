// Short-item walk over a HID report descriptor (HID 1.11, 6.2.2). Tracks the usage
// page and the first local usage so that each top-level Collection item can be named,
// and the report size, count and id globals so that output reports can be measured.
#include "device/report_descriptor.h"

#include <algorithm>
#include <map>
#include <vector>

namespace corvane {
namespace {

constexpr uint8_t kLongItemPrefix = 0xFE;
constexpr int kTypeMain = 0;
constexpr int kTypeGlobal = 1;
constexpr int kTypeLocal = 2;
constexpr int kTagOutput = 0x9;
constexpr int kTagCollection = 0xA;
constexpr int kTagEndCollection = 0xC;
constexpr int kTagUsagePage = 0x0;
constexpr int kTagReportSize = 0x7;
constexpr int kTagReportId = 0x8;
constexpr int kTagReportCount = 0x9;
constexpr int kTagPush = 0xA;
constexpr int kTagPop = 0xB;
constexpr int kTagUsage = 0x0;
// A runaway Push sequence must not grow memory without bound.
constexpr size_t kMaxGlobalStack = 32;
// Bits a report may hold at most (HID_MAX_BUFFER_SIZE); keeps hostile sums bounded.
constexpr uint64_t kMaxReportBits = 16384 * 8;

struct Item {
  int type = 0;
  int tag = 0;
  int size = 0;
  uint32_t value = 0;
};

uint32_t LittleEndian(const uint8_t* data, int size) {
  uint32_t value = 0;
  for (int i = 0; i < size; ++i) value |= static_cast<uint32_t>(data[i]) << (8 * i);
  return value;
}

// Calls `visit` with every short item in order; long items are skipped, and a
// truncated item ends the walk.
template <typename Visit>
void WalkItems(const uint8_t* descriptor, size_t length, Visit visit) {
  if (descriptor == nullptr) return;
  size_t pos = 0;
  while (pos < length) {
    const uint8_t prefix = descriptor[pos];
    if (prefix == kLongItemPrefix) {
      if (pos + 1 >= length) break;
      pos += 3 + static_cast<size_t>(descriptor[pos + 1]);
      continue;
    }
    Item item;
    item.size = (prefix & 0x3) == 3 ? 4 : (prefix & 0x3);
    item.type = (prefix >> 2) & 0x3;
    item.tag = prefix >> 4;
    if (pos + 1 + static_cast<size_t>(item.size) > length) break;
    item.value = LittleEndian(descriptor + pos + 1, item.size);
    pos += 1 + static_cast<size_t>(item.size);
    visit(item);
  }
}

// The global items the report length depends on; Push and Pop save and restore them.
struct ReportGlobals {
  uint32_t report_size = 0;
  uint32_t report_count = 0;
  uint32_t report_id = 0;
};

}  // namespace

std::vector<HidCollectionUsage> ParseTopLevelCollections(const uint8_t* descriptor, size_t length) {
  std::vector<HidCollectionUsage> result;
  uint32_t usage_page = 0;
  std::vector<uint32_t> page_stack;
  bool have_usage = false;
  uint32_t first_usage = 0;
  int depth = 0;
  WalkItems(descriptor, length, [&](const Item& item) {
    if (item.type == kTypeGlobal && item.tag == kTagUsagePage) {
      usage_page = item.value;
    } else if (item.type == kTypeGlobal && item.tag == kTagPush) {
      if (page_stack.size() < kMaxGlobalStack) page_stack.push_back(usage_page);
    } else if (item.type == kTypeGlobal && item.tag == kTagPop) {
      if (!page_stack.empty()) {
        usage_page = page_stack.back();
        page_stack.pop_back();
      }
    } else if (item.type == kTypeLocal && item.tag == kTagUsage) {
      // A 4-byte usage carries its own page in the upper half.
      if (!have_usage) {
        first_usage = item.size == 4 ? item.value : ((usage_page & 0xFFFF) << 16) | item.value;
      }
      have_usage = true;
    } else if (item.type == kTypeMain) {
      if (item.tag == kTagCollection) {
        if (depth == 0) {
          const uint32_t usage = have_usage ? first_usage : (usage_page & 0xFFFF) << 16;
          result.push_back(
              {static_cast<uint16_t>(usage >> 16), static_cast<uint16_t>(usage & 0xFFFF)});
        }
        ++depth;
      } else if (item.tag == kTagEndCollection && depth > 0) {
        --depth;
      }
      have_usage = false;  // local items end with every main item
    }
  });
  return result;
}

size_t OutputReportBytes(const uint8_t* descriptor, size_t length, uint8_t report_id) {
  ReportGlobals globals;
  std::vector<ReportGlobals> stack;
  std::map<uint32_t, uint64_t> output_bits;
  WalkItems(descriptor, length, [&](const Item& item) {
    if (item.type == kTypeGlobal) {
      switch (item.tag) {
        case kTagReportSize:
          globals.report_size = item.value;
          break;
        case kTagReportCount:
          globals.report_count = item.value;
          break;
        case kTagReportId:
          globals.report_id = item.value;
          break;
        case kTagPush:
          if (stack.size() < kMaxGlobalStack) stack.push_back(globals);
          break;
        case kTagPop:
          if (!stack.empty()) {
            globals = stack.back();
            stack.pop_back();
          }
          break;
        default:
          break;
      }
    } else if (item.type == kTypeMain && item.tag == kTagOutput) {
      uint64_t& bits = output_bits[globals.report_id];
      const uint64_t item_bits = static_cast<uint64_t>(globals.report_size) * globals.report_count;
      bits = std::min(kMaxReportBits, bits + std::min(kMaxReportBits, item_bits));
    }
  });
  const auto it = output_bits.find(report_id);
  return it == output_bits.end() ? 0 : static_cast<size_t>((it->second + 7) / 8);
}

}  // namespace corvane
