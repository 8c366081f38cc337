// corvane-cli select and info: make a model the selected one, and show the selected
// model's device information (what the window's version line and battery show).
#include <cstdio>
#include <string>
#include <vector>

#include "app/key_value_store.h"
#include "base/text.h"
#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "device/device_manager.h"
#include "protocol/device_info.h"
#include "protocol/sensor_codes.h"
#include "worker/device_jobs.h"
#include "worker/update_jobs.h"

namespace corvane::cli {
namespace {

int RunSelect(const CliOptions& options, const std::vector<std::string>& args) {
  if (args.size() != 1) return CliFail("usage: select TYPE");
  const int type = DecimalToInt(args[0]);
  CliSession session;
  std::string error;
  if (!session.Open(options, error, false)) return CliFail(error);
  if (type < 1 || args[0] != IntToDecimal(type) || session.Catalogue().FindModel(type) == nullptr) {
    return CliFail("no model with device type " + args[0]);
  }
  if (!session.Store().WriteDeviceType(type)) return CliFail("cannot store the selected model");
  DeviceManager::Instance().SelectDeviceType(type);
  if (!options.json) std::printf("selected %d (%s)\n", type, session.Catalogue().FindModel(type)->name.c_str());
  return 0;
}

int RunInfo(const CliOptions& options, const std::vector<std::string>& args) {
  if (!args.empty()) return CliFail("info takes no arguments");
  CliSession session;
  std::string error;
  if (!session.Open(options, error)) return CliFail(error);
  DeviceManager& manager = DeviceManager::Instance();
  uint8_t info[kDeviceInfoSize] = {};
  if (!manager.QueryDeviceInfo(info)) return CliFail("the selected model is not connected");
  const int type = manager.SelectedDeviceType();
  const ConnectionMode connection = manager.ActiveConnectionMode();
  const SensorScale scale = ScaleForSensor(info[kInfoSensorByte]);
  const std::string firmware = session.Session().Updates().MouseFirmwareVersion();
  int release = 0;
  const std::string receiver = connection == ConnectionMode::kReceiver &&
                                       manager.ReleaseNumberOf(ConnectionMode::kReceiver, release)
                                   ? ReleaseVersionText(release)
                                   : "";
  if (options.json) {
    JsonWriter json;
    json.BeginObject()
        .IntMember("device_type", type)
        .IntMember("connection", ModeNumber(connection))
        .IntMember("sensor", info[kInfoSensorByte])
        .IntMember("dpi_min", scale.min_dpi)
        .IntMember("dpi_max", scale.max_dpi)
        .IntMember("rate_class", RateClassFromCapability(info[kInfoRateByte]))
        .IntMember("battery_a", info[kInfoChargingByte])
        .IntMember("battery_b", info[kInfoLevelByte])
        .IntMember("reachable", info[kInfoReachableByte])
        .StringMember("firmware", firmware)
        .StringMember("receiver", receiver)
        .EndObject();
    std::printf("%s\n", json.Text().c_str());
  } else {
    std::printf("device type %d, %s\nsensor 0x%02X (%d..%d DPI), rate class %d\n", type,
                connection == ConnectionMode::kWired ? "wired" : "wireless", info[kInfoSensorByte],
                scale.min_dpi, scale.max_dpi, RateClassFromCapability(info[kInfoRateByte]));
    std::printf("battery %d/%d, %s\nfirmware %s%s%s\n", info[kInfoChargingByte],
                info[kInfoLevelByte], info[kInfoReachableByte] ? "reachable" : "not reachable",
                firmware.c_str(), receiver.empty() ? "" : ", receiver ", receiver.c_str());
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

const CliRegistrar kSelectCommand("select", "select TYPE", RunSelect);
const CliRegistrar kInfoCommand("info", "info", RunInfo);

}  // namespace
}  // namespace corvane::cli
