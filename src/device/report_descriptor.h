// Reads the top-level collections out of a raw HID report descriptor, which is how
// the hidraw back end learns each interface's usage page and usage.
// Only the items that shape collections and report lengths are interpreted.
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

// Data bytes of the output report `report_id` (0 = the descriptor numbers no reports),
// without the report id byte; 0 when the descriptor declares no such output report.
// hidraw passes writes on unpadded, so a writer needs this to send whole reports.
size_t OutputReportBytes(const uint8_t* descriptor, size_t length, uint8_t report_id);

}  // namespace corvane
