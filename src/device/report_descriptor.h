// Reads the top-level collections out of a raw HID report descriptor, which is how
// the hidraw back end learns each interface's usage page and usage.
// Only the items that shape collections are interpreted; report layout is ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane {

struct HidCollectionUsage {
  uint16_t usage_page = 0;
  uint16_t usage = 0;
};

// Top-level (application) collections of `descriptor`, in order. A truncated or
// malformed descriptor yields the collections found before the damage.
std::vector<HidCollectionUsage> ParseTopLevelCollections(const uint8_t* descriptor, size_t length);

}  // namespace corvane
