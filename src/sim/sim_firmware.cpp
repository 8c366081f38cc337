// Command handling of the simulated mouse and receiver. Byte positions here count
// from the first data byte, i.e. one less than in the tool's output buffers.
#include "sim/sim_firmware.h"

#include <algorithm>

namespace corvane {
namespace {

constexpr int kCmdByte = 0;
constexpr int kSeqByte = 2;
constexpr int kLengthByte = 3;
constexpr int kPayload = 4;        // first payload byte of a command, first data byte of a reply
constexpr int kChecksumByte = 31;  // checksum covers kPayload .. kChecksumByte - 1
constexpr int kMaxPayload = kChecksumByte - kPayload;

// Length bytes the tool puts in byte 4 of each fixed-layout write.
constexpr uint8_t kRateLength = 1;
constexpr uint8_t kDpiLength = 37;
constexpr uint8_t kDpiColorLength = 18;
constexpr uint8_t kLiftoffLength = 5;
constexpr uint8_t kPowerLength = 4;
constexpr uint8_t kButtonLength = 15;
constexpr int kLightColorsMode = 2;
constexpr int kSingleColorMode = 3;

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
  reply[0] = command[kCmdByte];
  reply[3] = command[kSeqByte];
  uint8_t status = kSimStatusOk;
  if (SimCommandChecksum(command) != command[kChecksumByte]) {
    status = kSimStatusBadChecksum;
  } else if (link == SimLink::kReceiver && !state_.mouse_on && command[kCmdByte] != 0x10 &&
             command[kCmdByte] != 0x20) {
    // Only the receiver itself answers while the mouse is switched off.
    status = kSimStatusUnreachable;
  } else {
    status = Dispatch(link, command, reply);
  }
  reply[1] = status;
  if (status != kSimStatusOk) std::fill(reply.begin() + kPayload, reply.end(), 0);
  reply[kChecksumByte] = SimCommandChecksum(reply);
  return reply;
}

uint8_t SimFirmware::Dispatch(SimLink link, const SimReport& command, SimReport& reply) {
  const uint8_t* p = command.data() + kPayload;
  const uint8_t length = command[kLengthByte];
  SimSettings& s = state_.settings;
  switch (command[kCmdByte]) {
    case 0x02:
      if (length != kRateLength) return kSimStatusBadParameter;
      s.report_rate = p[0];
      return kSimStatusOk;
    case 0x03:
      return WriteDpiStages(command);
    case 0x04:
      if (length != kDpiColorLength) return kSimStatusBadParameter;
      for (int n = 0; n < kSimDpiStages; ++n) s.dpi_color[n] = GetColor(p + 3 * n);
      return kSimStatusOk;
    case 0x05:
      return WriteLighting(command);
    case 0x06:
      if (length != kLiftoffLength) return kSimStatusBadParameter;
      s.liftoff_height = p[0];
      s.sensor_flag8 = p[1];
      s.sensor_flag4 = p[2];
      return kSimStatusOk;
    case 0x07:
      if (length != kPowerLength) return kSimStatusBadParameter;
      s.sleep_light = p[0];
      s.move_wakeup = p[1];
      s.move_closelight = p[2];
      s.button_respondtime = p[3];
      return kSimStatusOk;
    case 0x08:
      return WriteMacroPacket(link, command);
    case 0x09:
      return WriteButtons(command);
    case 0x0E: {
      // The light reset: the lighting goes back to its factory effect, which the reading
      // of command 0x15 that follows then reports.
      if (length != 0x01 || p[0] != 0x01) return kSimStatusBadParameter;
      const SimSettings factory;
      s.light_mode = factory.light_mode;
      s.light_level = factory.light_level;
      s.light_color = factory.light_color;
      return kSimStatusOk;
    }
    case 0x0F:
      if (length != 0x01 || p[0] != 0xFF) return kSimStatusBadParameter;
      s = SimSettings{};
      assembly_ = {};
      return kSimStatusOk;
    case 0x10:
      return DeviceInfo(link, reply);
    case 0x20:
      if (link != SimLink::kReceiver) return kSimStatusUnknownCommand;
      reply[kPayload] = state_.firmware_version >> 8;
      reply[kPayload + 1] = state_.firmware_version & 0xFF;
      return kSimStatusOk;
    default:
      return ReadSettings(command[kCmdByte], reply);
  }
}

uint8_t SimFirmware::DeviceInfo(SimLink link, SimReport& reply) const {
  const std::string& dev_id =
      link == SimLink::kWired ? identity_.wired.dev_id : identity_.receiver.dev_id;
  for (size_t i = 0; i < 4 && i < dev_id.size(); ++i) reply[kPayload + i] = dev_id[i];
  reply[10] = state_.sensor_code;
  reply[11] = state_.rate_capability;
  reply[12] = state_.battery_a;
  reply[13] = state_.battery_b;
  reply[14] = (link == SimLink::kWired || state_.mouse_on) ? 1 : 0;
  return kSimStatusOk;
}

uint8_t SimFirmware::ReadSettings(uint8_t command, SimReport& reply) const {
  const SimSettings& s = state_.settings;
  uint8_t* out = reply.data() + kPayload;
  switch (command) {
    case 0x11:
      return kSimStatusOk;
    case 0x12:
      out[0] = s.report_rate;
      return kSimStatusOk;
    case 0x13:
      out[0] = static_cast<uint8_t>((s.dpi_index << 4) | (s.dpi_count & 0x0F));
      for (int n = 0; n < kSimDpiStages; ++n) {
        for (int copy = 0; copy < 2; ++copy) {
          out[1 + 4 * n + 2 * copy] = s.dpi_code[n] & 0xFF;
          out[2 + 4 * n + 2 * copy] = s.dpi_code[n] >> 8;
        }
      }
      return kSimStatusOk;
    case 0x14:
      for (int n = 0; n < kSimDpiStages; ++n) PutColor(out + 3 * n, s.dpi_color[n]);
      return kSimStatusOk;
    case 0x15:
      out[0] = s.light_mode;
      out[1] = s.light_level;
      return kSimStatusOk;
    case 0x16:
      out[0] = s.liftoff_height;
      out[1] = s.sensor_flag8;
      out[2] = s.sensor_flag4;
      return kSimStatusOk;
    case 0x17:
      out[0] = s.sleep_light;
      out[1] = s.move_wakeup;
      out[2] = s.move_closelight;
      out[3] = s.button_respondtime;
      return kSimStatusOk;
    default:
      return kSimStatusUnknownCommand;
  }
}

uint8_t SimFirmware::WriteDpiStages(const SimReport& command) {
  const uint8_t* p = command.data() + kPayload;
  const int count = p[0] & 0x0F;
  const int index = p[0] >> 4;
  if (command[kLengthByte] != kDpiLength || count < 1 || count > kSimDpiStages) {
    return kSimStatusBadParameter;
  }
  SimSettings& s = state_.settings;
  s.dpi_count = static_cast<uint8_t>(count);
  // A stale index beyond the new count would leave the button cycling nowhere.
  s.dpi_index = static_cast<uint8_t>(std::min(index, count - 1));
  for (int n = 0; n < kSimDpiStages; ++n) {
    s.dpi_code[n] = static_cast<uint16_t>(p[1 + 4 * n] | (p[2 + 4 * n] << 8));
  }
  return kSimStatusOk;
}

uint8_t SimFirmware::WriteLighting(const SimReport& command) {
  const uint8_t* p = command.data() + kPayload;
  const uint8_t length = command[kLengthByte];
  if (length == 0) return kSimStatusOk;  // a mode the mouse does not offer: nothing sent
  if (length < 2) return kSimStatusBadParameter;
  SimSettings& s = state_.settings;
  const int mode = p[0];
  if (mode == kLightColorsMode) {
    if (length != 24 || p[2] != kSimLightColors) return kSimStatusBadParameter;
    for (int i = 0; i < kSimLightColors; ++i) s.light_color[i] = GetColor(p + 3 + 3 * i);
  } else if (mode == kSingleColorMode) {
    if (length != 5) return kSimStatusBadParameter;
    s.light_color[0] = GetColor(p + 2);
  }
  s.light_mode = p[0];
  s.light_level = p[1];
  return kSimStatusOk;
}

uint8_t SimFirmware::WriteMacroPacket(SimLink link, const SimReport& command) {
  MacroAssembly& a = assembly_[static_cast<int>(link)];
  const int packet = command[kSeqByte] >> 4;
  const int count = command[kSeqByte] & 0x0F;
  const int length = command[kLengthByte];
  if (count == 0 || packet >= count || length == 0 || length > kMaxPayload) {
    a = MacroAssembly{};
    return kSimStatusBadParameter;
  }
  if (packet == 0) {
    a = MacroAssembly{0, count, {}};
  } else if (packet != a.expected_packet || count != a.packet_count) {
    // A packet out of order means the blob is already broken; start over.
    a = MacroAssembly{};
    return kSimStatusBadParameter;
  }
  const uint8_t* p = command.data() + kPayload;
  a.blob.insert(a.blob.end(), p, p + length);
  a.expected_packet = packet + 1;
  if (a.expected_packet < a.packet_count) return kSimStatusOk;
  const int button = a.blob[0];
  std::vector<uint8_t> records(a.blob.begin() + 1, a.blob.end());
  a = MacroAssembly{};
  if (button >= kSimMacroButtons || records.size() % 4 != 0) return kSimStatusBadParameter;
  state_.settings.macros[button] = std::move(records);
  return kSimStatusOk;
}

uint8_t SimFirmware::WriteButtons(const SimReport& command) {
  if (command[kLengthByte] != kButtonLength) return kSimStatusBadParameter;
  const uint8_t* p = command.data() + kPayload;
  for (int b = 0; b < kSimButtons; ++b) {
    std::copy(p + 3 * b, p + 3 * b + 3, state_.settings.buttons[b].begin());
  }
  return kSimStatusOk;
}

SimReport SimFirmware::PressDpiButton() {
  SimSettings& s = state_.settings;
  const int count = std::clamp<int>(s.dpi_count, 1, kSimDpiStages);
  s.dpi_index = static_cast<uint8_t>((s.dpi_index + 1) % count);
  SimReport report{};
  report[0] = kSimDpiNotification;
  report[1] = static_cast<uint8_t>((s.dpi_index << 4) | (s.dpi_count & 0x0F));
  return report;
}

SimReport SimFirmware::LinkNotification() const {
  SimReport report{};
  report[0] = kSimLinkNotification;
  report[1] = state_.mouse_on ? 1 : 0;
  // The link report carries the battery the other way round from the device
  // information: level (B) first, then the charging state (A).
  report[2] = state_.battery_b;
  report[3] = state_.battery_a;
  return report;
}

}  // namespace corvane
