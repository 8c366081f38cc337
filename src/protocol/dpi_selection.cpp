// The DPI stage byte.
#include "protocol/dpi_selection.h"

#include <algorithm>

namespace corvane {

DpiStageSelection ClampDpiStageSelection(int count, int index) {
  DpiStageSelection selection;
  selection.count = std::clamp(count, 1, kMaxDpiStages);
  selection.index = std::clamp(index, 0, selection.count - 1);
  return selection;
}

uint8_t DpiSelectionByte(int index, int count) {
  return static_cast<uint8_t>(((index & kStageCountMask) << kStageIndexShift) |
                              (count & kStageCountMask));
}

DpiStageSelection DpiSelectionFromByte(uint8_t byte) {
  return ClampDpiStageSelection(byte & kStageCountMask, byte >> kStageIndexShift);
}

}  // namespace corvane
