#include "protocol/performance_commands.h"

#include <string>

#include "base/text.h"
#include "settings/dpi_stages.h"
#include "settings/sensor_scale.h"
#include "store/config_keys.h"

namespace corvane {
namespace {

constexpr size_t kShortReport = 33;
constexpr size_t kLongReport = 65;
constexpr size_t kPayload = 5;
constexpr size_t kReplyData = 4;

uint8_t Low(int value) { return static_cast<uint8_t>(value & 0xFF); }

}  // namespace

CommandReport MakeCommand(uint8_t command, uint8_t length_byte, size_t report_length) {
  CommandReport report;
  report.length = static_cast<int>(report_length);
  report.bytes[1] = command;
  report.bytes[2] = 0x00;
  report.bytes[3] = 0x01;
  report.bytes[4] = length_byte;
  return report;
}

CommandReport MakeReadRequest(uint8_t command) {
  CommandReport report;
  report.length = static_cast<int>(kShortReport);
  report.bytes[1] = command;
  return report;
}

CommandReport BuildReportRateCommand(const ConfigReader& config) {
  CommandReport report = MakeCommand(kCmdReportRate, 1, kLongReport);
  report.bytes[kPayload] = Low(config(kReportRateKey));
  return report;
}

CommandReport BuildDpiStagesCommand(const ConfigReader& config, int sensor) {
  // 37 is what the mice expect here, not the number of payload bytes.
  CommandReport report = MakeCommand(kCmdDpiStages, 37, kShortReport);
  int index = config(kDpiIndexKey) & 0x0F;
  int count = config(kDpiCountKey) & 0x0F;
  // A stored stage beyond the count is shown as the first stage; the mouse gets the same.
  if (index >= count) index = 0;
  report.bytes[kPayload] = static_cast<uint8_t>((index << 4) | count);
  for (int n = 0; n < kDpiStagesSent; ++n) {
    int dpi = ClampDpi(sensor, config(DpiStageValueKey(n)));
    int code = DpiToDeviceCode(sensor, dpi);
    size_t at = 6 + 4 * static_cast<size_t>(n);
    report.bytes[at] = Low(code);
    report.bytes[at + 1] = Low(code >> 8);
    report.bytes[at + 2] = Low(code);
    report.bytes[at + 3] = Low(code >> 8);
  }
  return report;
}

CommandReport BuildDpiColoursCommand(const ConfigReader& config) {
  CommandReport report = MakeCommand(kCmdDpiColours, 18, kLongReport);
  for (int n = 0; n < kDpiStagesSent; ++n) {
    int rgb = config(DpiStageColourKey(n));
    size_t at = kPayload + 3 * static_cast<size_t>(n);
    report.bytes[at] = Low(rgb);
    report.bytes[at + 1] = Low(rgb >> 8);
    report.bytes[at + 2] = Low(rgb >> 16);
  }
  return report;
}

CommandReport BuildSensorCommand(const ConfigReader& config) {
  CommandReport report = MakeCommand(kCmdSensor, 5, kLongReport);
  int flags = config(kSensorFlagKey);
  report.bytes[5] = Low(config(kLiftoffHeightKey));
  report.bytes[6] = (flags & 8) ? 1 : 0;
  report.bytes[7] = (flags & 4) ? 1 : 0;
  return report;
}

CommandReport BuildPowerCommand(const ConfigReader& config) {
  CommandReport report = MakeCommand(kCmdPower, 4, kLongReport);
  report.bytes[5] = Low(config(kSleepLightKey));
  report.bytes[6] = Low(config(kMoveWakeupKey));
  report.bytes[7] = Low(config(kMoveCloseLightKey));
  report.bytes[8] = Low(config(kButtonRespondTimeKey));
  return report;
}

CommandReport BuildRestoreDefaultsCommand() {
  CommandReport report = MakeCommand(kCmdRestoreDefaults, 0x01, kShortReport);
  report.bytes[kPayload] = 0xFF;
  return report;
}

std::vector<ConfigWrite> ParsePerformanceReadback(uint8_t command, const uint8_t* reply,
                                                  size_t length, int sensor) {
  std::vector<ConfigWrite> writes;
  auto need = [&](size_t bytes) { return reply != nullptr && length >= kReplyData + bytes; };
  const uint8_t* data = reply + kReplyData;
  switch (command) {
    case kCmdReadReportRate:
      if (!need(1)) break;
      writes.emplace_back(kReportRateKey, IntToDecimal(data[0]));
      writes.emplace_back(kReportRateWirelessKey, IntToDecimal(data[0]));
      break;
    case kCmdReadDpiStages: {
      if (!need(1 + 4 * kDpiStagesSent)) break;
      const DpiStageSelection stages = ClampDpiStageSelection(data[0] & 0x0F, data[0] >> 4);
      writes.emplace_back(kDpiFlagKey, IntToDecimal(stages.count));
      writes.emplace_back(kDpiCountKey, IntToDecimal(stages.count));
      writes.emplace_back(kDpiIndexKey, IntToDecimal(stages.index));
      for (int n = 0; n < kDpiStagesSent; ++n) {
        size_t at = 1 + 4 * static_cast<size_t>(n);
        int code = data[at] | (data[at + 1] << 8);
        int dpi = DeviceCodeToDpi(sensor, code);
        if (dpi >= kMinStoredReadbackDpi)
          writes.emplace_back(DpiStageValueKey(n), IntToDecimal(dpi));
      }
      break;
    }
    case kCmdReadDpiColours:
      if (!need(3 * kDpiStagesSent)) break;
      for (int n = 0; n < kDpiStagesSent; ++n) {
        size_t at = 3 * static_cast<size_t>(n);
        int rgb = data[at] | (data[at + 1] << 8) | (data[at + 2] << 16);
        writes.emplace_back(DpiStageColourKey(n), IntToDecimal(rgb));
      }
      break;
    case kCmdReadSensor:
      if (!need(3)) break;
      writes.emplace_back(kLiftoffHeightKey, IntToDecimal(data[0]));
      writes.emplace_back(kSensorFlagKey,
                          IntToDecimal((data[1] == 1 ? 8 : 0) + (data[2] == 1 ? 4 : 0)));
      break;
    case kCmdReadPower:
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
