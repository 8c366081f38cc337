#include "protocol/performance_commands.h"

#include <string>

#include "base/text.h"
#include "protocol/dpi_selection.h"
#include "protocol/sensor_codes.h"
#include "store/config_keys.h"

namespace corvane {
namespace {

uint8_t Low(int value) { return static_cast<uint8_t>(value & 0xFF); }

uint8_t* Payload(CommandReport& report) { return report.bytes.data() + kReportPayloadByte; }

}  // namespace

CommandReport MakeCommand(CommandId command, uint8_t length_byte, size_t report_length) {
  CommandReport report;
  report.length = static_cast<int>(report_length);
  report.bytes[kReportCommandByte] = Byte(command);
  report.bytes[kReportSequenceByte] = kSinglePacketSequence;
  report.bytes[kReportLengthByte] = length_byte;
  return report;
}

CommandReport MakeReadRequest(CommandId command) {
  CommandReport report;
  report.length = kShortReportLength;
  report.bytes[kReportCommandByte] = Byte(command);
  return report;
}

CommandReport BuildReportRateCommand(const ConfigReader& config) {
  CommandReport report = MakeCommand(CommandId::kReportRate, kReportRateLength, kLongReportLength);
  Payload(report)[0] = Low(config(kReportRateKey));
  return report;
}

CommandReport BuildDpiStagesCommand(const ConfigReader& config, int sensor) {
  CommandReport report = MakeCommand(CommandId::kDpiStages, kDpiStagesLength, kShortReportLength);
  int index = config(kDpiIndexKey) & kStageCountMask;
  int count = config(kDpiCountKey) & kStageCountMask;
  // A stored stage beyond the count is shown as the first stage; the mouse gets the same.
  if (index >= count) index = 0;
  uint8_t* payload = Payload(report);
  payload[0] = DpiSelectionByte(index, count);
  for (int n = 0; n < kDpiStagesSent; ++n) {
    int dpi = ClampDpi(sensor, config(DpiStageValueKey(n)));
    int code = DpiToDeviceCode(sensor, dpi);
    uint8_t* at = payload + kDpiStageCodesByte + kDpiStageCodeBytes * n;
    at[0] = Low(code);
    at[1] = Low(code >> 8);
    at[2] = Low(code);
    at[3] = Low(code >> 8);
  }
  return report;
}

CommandReport BuildDpiColoursCommand(const ConfigReader& config) {
  CommandReport report = MakeCommand(CommandId::kDpiColours, kDpiColoursLength, kLongReportLength);
  for (int n = 0; n < kDpiStagesSent; ++n) {
    int rgb = config(DpiStageColourKey(n));
    uint8_t* at = Payload(report) + kColourBytes * n;
    at[0] = Low(rgb);
    at[1] = Low(rgb >> 8);
    at[2] = Low(rgb >> 16);
  }
  return report;
}

CommandReport BuildSensorCommand(const ConfigReader& config) {
  CommandReport report = MakeCommand(CommandId::kSensor, kSensorLength, kLongReportLength);
  int flags = config(kSensorFlagKey);
  uint8_t* payload = Payload(report);
  payload[0] = Low(config(kLiftoffHeightKey));
  payload[1] = (flags & kSensorFlag8Bit) ? 1 : 0;
  payload[2] = (flags & kSensorFlag4Bit) ? 1 : 0;
  return report;
}

CommandReport BuildPowerCommand(const ConfigReader& config) {
  CommandReport report = MakeCommand(CommandId::kPower, kPowerLength, kLongReportLength);
  uint8_t* payload = Payload(report);
  payload[0] = Low(config(kSleepLightKey));
  payload[1] = Low(config(kMoveWakeupKey));
  payload[2] = Low(config(kMoveCloseLightKey));
  payload[3] = Low(config(kButtonRespondTimeKey));
  return report;
}

CommandReport BuildRestoreDefaultsCommand() {
  CommandReport report =
      MakeCommand(CommandId::kRestoreDefaults, kRestoreDefaultsLength, kShortReportLength);
  Payload(report)[0] = kRestoreEverything;
  return report;
}

std::vector<ConfigWrite> ParsePerformanceReadback(CommandId command, const uint8_t* reply,
                                                  size_t length, int sensor) {
  std::vector<ConfigWrite> writes;
  auto need = [&](size_t bytes) { return reply != nullptr && length >= kReplyDataByte + bytes; };
  const uint8_t* data = reply + kReplyDataByte;
  switch (command) {
    case CommandId::kReadReportRate:
      if (!need(1)) break;
      writes.emplace_back(kReportRateKey, IntToDecimal(data[0]));
      writes.emplace_back(kReportRateWirelessKey, IntToDecimal(data[0]));
      break;
    case CommandId::kReadDpiStages: {
      if (!need(kDpiStageCodesByte + kDpiStageCodeBytes * kDpiStagesSent)) break;
      const DpiStageSelection stages = DpiSelectionFromByte(data[0]);
      writes.emplace_back(kDpiFlagKey, IntToDecimal(stages.count));
      writes.emplace_back(kDpiCountKey, IntToDecimal(stages.count));
      writes.emplace_back(kDpiIndexKey, IntToDecimal(stages.index));
      for (int n = 0; n < kDpiStagesSent; ++n) {
        const uint8_t* at = data + kDpiStageCodesByte + kDpiStageCodeBytes * n;
        int code = at[0] | (at[1] << 8);
        int dpi = DeviceCodeToDpi(sensor, code);
        if (dpi >= kMinStoredReadbackDpi)
          writes.emplace_back(DpiStageValueKey(n), IntToDecimal(dpi));
      }
      break;
    }
    case CommandId::kReadDpiColours:
      if (!need(kColourBytes * kDpiStagesSent)) break;
      for (int n = 0; n < kDpiStagesSent; ++n) {
        const uint8_t* at = data + kColourBytes * n;
        int rgb = at[0] | (at[1] << 8) | (at[2] << 16);
        writes.emplace_back(DpiStageColourKey(n), IntToDecimal(rgb));
      }
      break;
    case CommandId::kReadSensor:
      if (!need(3)) break;
      writes.emplace_back(kLiftoffHeightKey, IntToDecimal(data[0]));
      writes.emplace_back(kSensorFlagKey, IntToDecimal((data[1] == 1 ? kSensorFlag8Bit : 0) +
                                                      (data[2] == 1 ? kSensorFlag4Bit : 0)));
      break;
    case CommandId::kReadPower:
      if (!need(4)) break;
      writes.emplace_back(kSleepLightKey, IntToDecimal(data[0]));
      writes.emplace_back(kMoveWakeupKey, IntToDecimal(data[1]));
      writes.emplace_back(kMoveCloseLightKey, IntToDecimal(data[2]));
      writes.emplace_back(kButtonRespondTimeKey, IntToDecimal(data[3]));
      break;
    default:
      break;
  }
  return writes;
}

}  // namespace corvane
