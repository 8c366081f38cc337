// The DPI stage byte: the active stage in the high and the stage count in the low four
// bits, as the DPI stages command, its read-back and the DPI button's notification carry it.
#pragma once

#include <cstdint>

namespace corvane {

inline constexpr int kMaxDpiStages = 6;
inline constexpr uint8_t kStageCountMask = 0x0F;
inline constexpr int kStageIndexShift = 4;

// A stage count and active index as the mouse (a read-back, a 0xC2 notification) or a device
// definition gives them, brought into 1..kMaxDpiStages and below the count.
struct DpiStageSelection {
  int count = 1;
  int index = 0;
};
DpiStageSelection ClampDpiStageSelection(int count, int index);

// The stage byte of an index and a count (each cut to four bits).
uint8_t DpiSelectionByte(int index, int count);
// The selection a stage byte from the mouse names, clamped.
DpiStageSelection DpiSelectionFromByte(uint8_t byte);

}  // namespace corvane
