// Command handling of the simulated mouse and receiver. Byte positions here count
// from the first data byte, i.e. one less than in the tool's output buffers.
#include "sim/sim_firmware.h"

#include <algorithm>

#include "protocol/button_table_encoding.h"
#include "protocol/device_info.h"
#include "protocol/dpi_selection.h"
#include "protocol/light_payload.h"
#include "protocol/macro_packets.h"
#include "protocol/notifications.h"
#include "protocol/performance_commands.h"

namespace corvane {
namespace {

// A command as the device receives it: the tool's request without the report id.
constexpr int kCmdByte = WithoutReportId(kReportCommandByte);
constexpr int kSeqByte = WithoutReportId(kReportSequenceByte);
constexpr int kLengthByte = WithoutReportId(kReportLengthByte);
// First payload byte of a command, first data byte of a reply.
constexpr int kPayload = WithoutReportId(kReportPayloadByte);
static_assert(kPayload == kReplyDataByte);
// The checksum covers kPayload .. kChecksumByte - 1, in commands and replies alike.
constexpr int kChecksumByte = kReplyChecksumByte;
constexpr int kMaxPayload = kReportPayloadMax;

void PutColor(uint8_t* out, uint32_t color) {
  out[0] = color & 0xFF;
  out[1] = (color >> 8) & 0xFF;
  out[2] = (color >> 16) & 0xFF;
}

uint32_t GetColor(const uint8_t* in) { return in[0] | (in[1] << 8) | (uint32_t{in[2]} << 16); }

}  // namespace

uint8_t SimCommandChecksum(const SimReport& command) {
  unsigned sum = 0;
  for (int i = kPayload; i < kChecksumByte; ++i) sum += command[i];
  return static_cast<uint8_t>(sum);
}

SimFirmware::SimFirmware(SimState& state, const SimIdentity& identity)
    : state_(state), identity_(identity) {}

SimReport SimFirmware::HandleCommand(SimLink link, const SimReport& command) {
  SimReport reply{};
  reply[kReplyTypeByte] = command[kCmdByte];
  reply[kReplySequenceByte] = command[kSeqByte];
  ReplyStatus status = ReplyStatus::kAccepted;
  const auto id = static_cast<CommandId>(command[kCmdByte]);
  if (SimCommandChecksum(command) != command[kChecksumByte]) {
    status = ReplyStatus::kBadChecksum;
  } else if (link == SimLink::kReceiver && !state_.mouse_on && id != CommandId::kDeviceInfo &&
             id != CommandId::kReadFirmwareVersion) {
    // Only the receiver itself answers while the mouse is switched off.
    status = ReplyStatus::kUnreachable;
  } else {
    status = Dispatch(link, command, reply);
  }
  reply[kReplyStatusByte] = Byte(status);
  if (status != ReplyStatus::kAccepted) std::fill(reply.begin() + kPayload, reply.end(), 0);
  reply[kChecksumByte] = SimCommandChecksum(reply);
  return reply;
}

ReplyStatus SimFirmware::Dispatch(SimLink link, const SimReport& command, SimReport& reply) {
  const uint8_t* p = command.data() + kPayload;
  const uint8_t length = command[kLengthByte];
  SimSettings& s = state_.settings;
  switch (static_cast<CommandId>(command[kCmdByte])) {
    case CommandId::kReportRate:
      if (length != kReportRateLength) return ReplyStatus::kBadParameter;
      s.report_rate = p[0];
      return ReplyStatus::kAccepted;
    case CommandId::kDpiStages:
      return WriteDpiStages(command);
    case CommandId::kDpiColours:
      if (length != kDpiColoursLength) return ReplyStatus::kBadParameter;
      for (int n = 0; n < kSimDpiStages; ++n) s.dpi_color[n] = GetColor(p + kColourBytes * n);
      return ReplyStatus::kAccepted;
    case CommandId::kLighting:
      return WriteLighting(command);
    case CommandId::kSensor:
      if (length != kSensorLength) return ReplyStatus::kBadParameter;
      s.liftoff_height = p[0];
      s.sensor_flag8 = p[1];
      s.sensor_flag4 = p[2];
      return ReplyStatus::kAccepted;
    case CommandId::kPower:
      if (length != kPowerLength) return ReplyStatus::kBadParameter;
      s.sleep_light = p[0];
      s.move_wakeup = p[1];
      s.move_closelight = p[2];
      s.button_respondtime = p[3];
      return ReplyStatus::kAccepted;
    case CommandId::kMacro:
      return WriteMacroPacket(link, command);
    case CommandId::kButtons:
      return WriteButtons(command);
    case CommandId::kLightReset: {
      // The light reset: the lighting goes back to its factory effect, which the reading
      // of command 0x15 that follows then reports.
      if (length != kLightResetLength || p[0] != kLightResetLighting) {
        return ReplyStatus::kBadParameter;
      }
      const SimSettings factory;
      s.light_mode = factory.light_mode;
      s.light_level = factory.light_level;
      s.light_color = factory.light_color;
      return ReplyStatus::kAccepted;
    }
    case CommandId::kRestoreDefaults:
      if (length != kRestoreDefaultsLength || p[0] != kRestoreEverything) {
        return ReplyStatus::kBadParameter;
      }
      s = SimSettings{};
      assembly_ = {};
      return ReplyStatus::kAccepted;
    case CommandId::kDeviceInfo:
      return DeviceInfo(link, reply);
    case CommandId::kReadFirmwareVersion:
      if (link != SimLink::kReceiver) return ReplyStatus::kUnknownCommand;
      reply[kFirmwareVersionHighByte] = state_.firmware_version >> 8;
      reply[kFirmwareVersionLowByte] = state_.firmware_version & 0xFF;
      return ReplyStatus::kAccepted;
    default:
      return ReadSettings(static_cast<CommandId>(command[kCmdByte]), reply);
  }
}

ReplyStatus SimFirmware::DeviceInfo(SimLink link, SimReport& reply) const {
  const std::string& dev_id =
      link == SimLink::kWired ? identity_.wired.dev_id : identity_.receiver.dev_id;
  for (size_t i = 0; i < kDevIdLength && i < dev_id.size(); ++i) {
    reply[kInfoDevIdByte + i] = dev_id[i];
  }
  reply[kInfoSensorByte] = state_.sensor_code;
  reply[kInfoRateByte] = state_.rate_capability;
  reply[kInfoChargingByte] = state_.battery_a;
  reply[kInfoLevelByte] = state_.battery_b;
  reply[kInfoReachableByte] = (link == SimLink::kWired || state_.mouse_on) ? 1 : 0;
  return ReplyStatus::kAccepted;
}

ReplyStatus SimFirmware::ReadSettings(CommandId command, SimReport& reply) const {
  const SimSettings& s = state_.settings;
  uint8_t* out = reply.data() + kPayload;
  switch (command) {
    case CommandId::kReadAll:
      return ReplyStatus::kAccepted;
    case CommandId::kReadReportRate:
      out[0] = s.report_rate;
      return ReplyStatus::kAccepted;
    case CommandId::kReadDpiStages:
      out[0] = DpiSelectionByte(s.dpi_index, s.dpi_count);
      for (int n = 0; n < kSimDpiStages; ++n) {
        uint8_t* code = out + kDpiStageCodesByte + kDpiStageCodeBytes * n;
        for (int copy = 0; copy < 2; ++copy) {
          code[2 * copy] = s.dpi_code[n] & 0xFF;
          code[2 * copy + 1] = s.dpi_code[n] >> 8;
        }
      }
      return ReplyStatus::kAccepted;
    case CommandId::kReadDpiColours:
      for (int n = 0; n < kSimDpiStages; ++n) PutColor(out + kColourBytes * n, s.dpi_color[n]);
      return ReplyStatus::kAccepted;
    case CommandId::kReadLighting:
      out[0] = s.light_mode;
      out[1] = s.light_level;
      return ReplyStatus::kAccepted;
    case CommandId::kReadSensor:
      out[0] = s.liftoff_height;
      out[1] = s.sensor_flag8;
      out[2] = s.sensor_flag4;
      return ReplyStatus::kAccepted;
    case CommandId::kReadPower:
      out[0] = s.sleep_light;
      out[1] = s.move_wakeup;
      out[2] = s.move_closelight;
      out[3] = s.button_respondtime;
      return ReplyStatus::kAccepted;
    default:
      return ReplyStatus::kUnknownCommand;
  }
}

ReplyStatus SimFirmware::WriteDpiStages(const SimReport& command) {
  const uint8_t* p = command.data() + kPayload;
  const int count = p[0] & kStageCountMask;
  const int index = p[0] >> kStageIndexShift;
  if (command[kLengthByte] != kDpiStagesLength || count < 1 || count > kSimDpiStages) {
    return ReplyStatus::kBadParameter;
  }
  SimSettings& s = state_.settings;
  s.dpi_count = static_cast<uint8_t>(count);
  // A stale index beyond the new count would leave the button cycling nowhere.
  s.dpi_index = static_cast<uint8_t>(std::min(index, count - 1));
  for (int n = 0; n < kSimDpiStages; ++n) {
    const uint8_t* code = p + kDpiStageCodesByte + kDpiStageCodeBytes * n;
    s.dpi_code[n] = static_cast<uint16_t>(code[0] | (code[1] << 8));
  }
  return ReplyStatus::kAccepted;
}

ReplyStatus SimFirmware::WriteLighting(const SimReport& command) {
  const uint8_t* p = command.data() + kPayload;
  const uint8_t length = command[kLengthByte];
  if (length == 0) return ReplyStatus::kAccepted;  // a mode the mouse does not offer: nothing sent
  if (length < kLightLevelOnlyLength) return ReplyStatus::kBadParameter;
  SimSettings& s = state_.settings;
  const int mode = p[0];
  if (mode == kLightModeBreathing) {
    if (length != kLightBreathingLength || p[2] != kSimLightColors) {
      return ReplyStatus::kBadParameter;
    }
    for (int i = 0; i < kSimLightColors; ++i) {
      s.light_color[i] = GetColor(p + 3 + kLightColourBytes * i);
    }
  } else if (mode == kLightModeSteady) {
    if (length != kLightSteadyLength) return ReplyStatus::kBadParameter;
    s.light_color[0] = GetColor(p + 2);
  }
  s.light_mode = p[0];
  s.light_level = p[1];
  return ReplyStatus::kAccepted;
}

ReplyStatus SimFirmware::WriteMacroPacket(SimLink link, const SimReport& command) {
  MacroAssembly& a = assembly_[static_cast<int>(link)];
  const int packet = command[kSeqByte] >> kMacroPacketIndexShift;
  const int count = command[kSeqByte] & kMacroPacketCountMask;
  const int length = command[kLengthByte];
  if (count == 0 || packet >= count || length == 0 || length > kMaxPayload) {
    a = MacroAssembly{};
    return ReplyStatus::kBadParameter;
  }
  if (packet == 0) {
    a = MacroAssembly{0, count, {}};
  } else if (packet != a.expected_packet || count != a.packet_count) {
    // A packet out of order means the blob is already broken; start over.
    a = MacroAssembly{};
    return ReplyStatus::kBadParameter;
  }
  const uint8_t* p = command.data() + kPayload;
  a.blob.insert(a.blob.end(), p, p + length);
  a.expected_packet = packet + 1;
  if (a.expected_packet < a.packet_count) return ReplyStatus::kAccepted;
  const int button = a.blob[0];
  std::vector<uint8_t> records(a.blob.begin() + 1, a.blob.end());
  a = MacroAssembly{};
  if (button >= kSimMacroButtons || records.size() % kMacroRecordSize != 0) {
    return ReplyStatus::kBadParameter;
  }
  state_.settings.macros[button] = std::move(records);
  return ReplyStatus::kAccepted;
}

ReplyStatus SimFirmware::WriteButtons(const SimReport& command) {
  if (command[kLengthByte] != kButtonLengthByte) return ReplyStatus::kBadParameter;
  const uint8_t* p = command.data() + kPayload;
  for (int b = 0; b < kSimButtons; ++b) {
    const uint8_t* entry = p + kButtonEntrySize * b;
    std::copy(entry, entry + kButtonEntrySize, state_.settings.buttons[b].begin());
  }
  return ReplyStatus::kAccepted;
}

SimReport SimFirmware::PressDpiButton() {
  SimSettings& s = state_.settings;
  const int count = std::clamp<int>(s.dpi_count, 1, kSimDpiStages);
  s.dpi_index = static_cast<uint8_t>((s.dpi_index + 1) % count);
  SimReport report{};
  report[kNotificationTypeByte] = Byte(CommandId::kDpiStageNotification);
  report[kDpiNotificationStageByte] = DpiSelectionByte(s.dpi_index, s.dpi_count);
  return report;
}

SimReport SimFirmware::LinkNotification() const {
  SimReport report{};
  report[kNotificationTypeByte] = Byte(CommandId::kLinkNotification);
  report[kLinkStateByte] = state_.mouse_on ? kLinked : 0;
  // The link report carries the battery the other way round from the device
  // information: level (B) first, then the charging state (A).
  report[kLinkLevelByte] = state_.battery_b;
  report[kLinkChargingByte] = state_.battery_a;
  return report;
}

}  // namespace corvane
