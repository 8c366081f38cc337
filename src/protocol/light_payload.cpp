// Lighting command per mode: off, wave and neon carry only the level; flowing light a
// spare zero; breathing seven colours; steady one colour. Colours go red byte first.
#include "protocol/light_payload.h"

#include <array>

namespace corvane {
namespace {

void PutColour(CommandReport& report, int at, int colour) {
  report.bytes[at] = static_cast<uint8_t>(colour & 0xFF);
  report.bytes[at + 1] = static_cast<uint8_t>((colour >> 8) & 0xFF);
  report.bytes[at + 2] = static_cast<uint8_t>((colour >> 16) & 0xFF);
}

}  // namespace

uint8_t LightLevelByte(int brightness, int speed) {
  return static_cast<uint8_t>(((brightness & kLightNibble) << kLightBrightnessShift) |
                              (speed & kLightNibble));
}

CommandReport LightingCommand(const LightRecord& row) {
  CommandReport report;
  report.length = kLongReportLength;
  report.bytes[kReportCommandByte] = Byte(CommandId::kLighting);
  report.bytes[kReportSequenceByte] = kSinglePacketSequence;
  const int p = kReportPayloadByte;
  int length = 0;
  switch (row.mode) {
    case 0:
    case 4:
    case 5: length = kLightLevelOnlyLength; break;
    case 1: length = kLightFlowingLength; break;
    case kLightModeBreathing: {
      length = kLightBreathingLength;
      report.bytes[p + 2] = kBreathingColourCount;
      const std::array<int, 7> colours{row.color_value1, row.color_value2, row.color_value3,
                                       row.color_value4, row.color_value5, row.color_value6,
                                       row.color_value7};
      for (int i = 0; i < kBreathingColourCount; ++i) {
        PutColour(report, p + 3 + kLightColourBytes * i, colours[i]);
      }
      break;
    }
    case kLightModeSteady:
      length = kLightSteadyLength;
      PutColour(report, p + 2, row.color_value1);
      break;
    default: return report;  // no payload: length byte 0
  }
  report.bytes[kReportLengthByte] = static_cast<uint8_t>(length);
  report.bytes[p] = static_cast<uint8_t>(row.mode);
  report.bytes[p + 1] = LightLevelByte(row.brightness, row.speed);
  return report;
}

CommandReport LightResetCommand() {
  CommandReport report;
  report.length = kShortReportLength;
  report.bytes[kReportCommandByte] = Byte(CommandId::kLightReset);
  report.bytes[kReportSequenceByte] = kSinglePacketSequence;
  report.bytes[kReportLengthByte] = kLightResetLength;
  report.bytes[kReportPayloadByte] = kLightResetLighting;
  return report;
}

LightReading ParseLightReadback(const uint8_t* reply) {
  const uint8_t* data = reply + kReplyDataByte;
  LightReading reading;
  reading.mode = data[0];
  reading.brightness = data[1] >> kLightBrightnessShift;
  reading.speed = data[1] & kLightNibble;
  return reading;
}

}  // namespace corvane
