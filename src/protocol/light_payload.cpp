// Lighting command per mode: off, wave and neon carry only the level; flowing light a
// spare zero; breathing seven colours; steady one colour. Colours go red byte first.
#include "settings/light_payload.h"

#include <array>

namespace corvane {
namespace {

constexpr int kNibble = 0x0F;
constexpr uint8_t kBreathingColourCount = 7;

void PutColour(CommandReport& report, int at, int colour) {
  report.bytes[at] = static_cast<uint8_t>(colour & 0xFF);
  report.bytes[at + 1] = static_cast<uint8_t>((colour >> 8) & 0xFF);
  report.bytes[at + 2] = static_cast<uint8_t>((colour >> 16) & 0xFF);
}

}  // namespace

uint8_t LightLevelByte(int brightness, int speed) {
  return static_cast<uint8_t>(((brightness & kNibble) << 4) | (speed & kNibble));
}

CommandReport LightingCommand(const LightRecord& row) {
  CommandReport report;
  report.length = kLongReportLength;
  report.bytes[kReportCommandByte] = kLightingCommand;
  report.bytes[kReportSequenceByte] = kSinglePacketSequence;
  const int p = kReportPayloadByte;
  int length = 0;
  switch (row.mode) {
    case 0:
    case 4:
    case 5: length = 2; break;
    case 1: length = 3; break;
    case 2: {
      length = 24;
      report.bytes[p + 2] = kBreathingColourCount;
      const std::array<int, 7> colours{row.color_value1, row.color_value2, row.color_value3,
                                       row.color_value4, row.color_value5, row.color_value6,
                                       row.color_value7};
      for (int i = 0; i < kBreathingColourCount; ++i) PutColour(report, p + 3 + 3 * i, colours[i]);
      break;
    }
    case 3:
      length = 5;
      PutColour(report, p + 2, row.color_value1);
      break;
    default: return report;  // no payload: length byte 0
  }
  report.bytes[kReportLengthByte] = static_cast<uint8_t>(length);
  report.bytes[p] = static_cast<uint8_t>(row.mode);
  report.bytes[p + 1] = LightLevelByte(row.brightness, row.speed);
  return report;
}

}  // namespace corvane
