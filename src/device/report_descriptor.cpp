// Short-item walk over a HID report descriptor (HID 1.11, 6.2.2). Tracks the usage
// page and the first local usage so that each top-level Collection item can be named.
#include "device/report_descriptor.h"

#include <vector>

namespace corvane {
namespace {

constexpr uint8_t kLongItemPrefix = 0xFE;
constexpr int kTypeMain = 0;
constexpr int kTypeGlobal = 1;
constexpr int kTypeLocal = 2;
constexpr int kTagCollection = 0xA;
constexpr int kTagEndCollection = 0xC;
constexpr int kTagUsagePage = 0x0;
constexpr int kTagPush = 0xA;
constexpr int kTagPop = 0xB;
constexpr int kTagUsage = 0x0;
// A runaway Push sequence must not grow memory without bound.
constexpr size_t kMaxGlobalStack = 32;

uint32_t LittleEndian(const uint8_t* data, int size) {
  uint32_t value = 0;
  for (int i = 0; i < size; ++i) value |= static_cast<uint32_t>(data[i]) << (8 * i);
  return value;
}

}  // namespace

std::vector<HidCollectionUsage> ParseTopLevelCollections(const uint8_t* descriptor, size_t length) {
  std::vector<HidCollectionUsage> result;
  if (descriptor == nullptr) return result;
  uint32_t usage_page = 0;
  std::vector<uint32_t> page_stack;
  bool have_usage = false;
  uint32_t first_usage = 0;
  int depth = 0;
  size_t pos = 0;
  while (pos < length) {
    const uint8_t prefix = descriptor[pos];
    if (prefix == kLongItemPrefix) {
      if (pos + 1 >= length) break;
      pos += 3 + static_cast<size_t>(descriptor[pos + 1]);
      continue;
    }
    const int size = (prefix & 0x3) == 3 ? 4 : (prefix & 0x3);
    const int type = (prefix >> 2) & 0x3;
    const int tag = prefix >> 4;
    if (pos + 1 + static_cast<size_t>(size) > length) break;
    const uint32_t value = LittleEndian(descriptor + pos + 1, size);
    pos += 1 + static_cast<size_t>(size);

    if (type == kTypeGlobal && tag == kTagUsagePage) {
      usage_page = value;
    } else if (type == kTypeGlobal && tag == kTagPush) {
      if (page_stack.size() < kMaxGlobalStack) page_stack.push_back(usage_page);
    } else if (type == kTypeGlobal && tag == kTagPop) {
      if (!page_stack.empty()) {
        usage_page = page_stack.back();
        page_stack.pop_back();
      }
    } else if (type == kTypeLocal && tag == kTagUsage) {
      // A 4-byte usage carries its own page in the upper half.
      if (!have_usage) first_usage = size == 4 ? value : ((usage_page & 0xFFFF) << 16) | value;
      have_usage = true;
    } else if (type == kTypeMain) {
      if (tag == kTagCollection) {
        if (depth == 0) {
          const uint32_t usage = have_usage ? first_usage : (usage_page & 0xFFFF) << 16;
          result.push_back({static_cast<uint16_t>(usage >> 16), static_cast<uint16_t>(usage & 0xFFFF)});
        }
        ++depth;
      } else if (tag == kTagEndCollection && depth > 0) {
        --depth;
      }
      have_usage = false;  // local items end with every main item
    }
  }
  return result;
}

}  // namespace corvane
