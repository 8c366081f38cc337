// corvane-cli probe: the configuration and upgrade interfaces on the machine, known to the
// catalogue or not; with a NODE, that interface's answer to the read-only device-information
// query and drafts that make the catalogue know it; with --add, the drafts written to the
// user's model folder. Nothing but command 0x10 is ever sent to the interface.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/text.h"
#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "cli/json_writer.h"
#include "cli/model_draft.h"
#include "cli/probe_interfaces.h"
#include "device/command_transaction.h"
#include "device/device_manager.h"
#include "protocol/device_info.h"
#include "protocol/sensor_codes.h"

namespace corvane::cli {
namespace {

std::string CollectionText(uint16_t usage_page, uint16_t usage) {
  char text[16];
  std::snprintf(text, sizeof text, "%04x:%04x", usage_page, usage);
  return text;
}

void PrintListing(const std::vector<ProbedInterface>& found, bool json) {
  if (json) {
    JsonWriter out;
    out.BeginArray();
    for (const ProbedInterface& p : found) {
      out.BeginObject()
          .StringMember("node", p.info.path)
          .IntMember("vid", p.info.vendor_id)
          .IntMember("pid", p.info.product_id)
          .IntMember("interface", p.info.interface_number)
          .IntMember("usage_page", p.info.usage_page)
          .IntMember("usage", p.info.usage)
          .IntMember("release", p.info.release_number)
          .StringMember("model", p.model)
          .BoolMember("can_open", p.can_open)
          .EndObject();
    }
    std::printf("%s\n", out.EndArray().Text().c_str());
    return;
  }
  if (found.empty()) std::printf("no configuration or upgrade interface found\n");
  for (const ProbedInterface& p : found) {
    std::printf("%-20s %s  interface %d  collection %s  release %04X  %s  %s\n",
                p.info.path.c_str(), IdsText(p.info.vendor_id, p.info.product_id).c_str(),
                p.info.interface_number, CollectionText(p.info.usage_page, p.info.usage).c_str(),
                p.info.release_number, p.model.c_str(),
                p.can_open ? "can open" : "cannot open (no permission?)");
  }
}

void PrintAnswer(const ProbedInterface& p, const uint8_t* reply) {
  const SensorScale scale = ScaleForSensor(reply[kInfoSensorByte]);
  std::printf("%s  %s  interface %d  collection %s  release %04X  model %s\n", p.info.path.c_str(),
              IdsText(p.info.vendor_id, p.info.product_id).c_str(), p.info.interface_number,
              CollectionText(p.info.usage_page, p.info.usage).c_str(), p.info.release_number,
              p.model.c_str());
  const uint8_t* dev_id = reply + kInfoDevIdByte;
  std::printf("device id   \"%s\" (bytes %02X %02X %02X %02X)\n", PrintableDevId(reply).c_str(),
              dev_id[0], dev_id[1], dev_id[2], dev_id[3]);
  std::printf("sensor      0x%02X (%d..%d DPI)\n", reply[kInfoSensorByte], scale.min_dpi,
              scale.max_dpi);
  std::printf("rate        capability 0x%02X (rate class %d)\n", reply[kInfoRateByte],
              RateClassFromCapability(reply[kInfoRateByte]));
  std::printf("battery     a %d, b %d\n", reply[kInfoChargingByte], reply[kInfoLevelByte]);
  std::printf("link        %s (byte 14 = %d)\n",
              reply[kInfoReachableByte] ? "the mouse answers" : "the mouse is not reachable",
              reply[kInfoReachableByte]);
  std::printf("reply      ");
  for (int i = 0; i < kShortReportLength; ++i) std::printf(" %02X", reply[i]);
  std::printf("\n");
}

void PrintDrafts(const ModelDrafts& drafts) {
  std::printf("\n# Draft <mouse> entry for config.xml (probe NODE --add writes it for you):\n%s",
              drafts.entry.c_str());
  std::printf("\n# Draft definition file device/%s.xml", drafts.device_attr.c_str());
  if (drafts.definition.empty()) {
    std::printf(": no shipped model to start from\n");
  } else {
    std::printf(" (from %s):\n%s", drafts.based_on.c_str(), drafts.definition.c_str());
  }
  std::printf("\n# udev rule (add it to /etc/udev/rules.d/70-corvane.rules):\n%s\n",
              drafts.udev_rule.c_str());
}

int AddDrafts(const ModelDrafts& drafts) {
  const std::filesystem::path folder = UserModelsFolder();
  if (folder.empty()) return CliFail("neither XDG_DATA_HOME nor HOME is set");
  std::filesystem::path entry;
  std::filesystem::path definition;
  std::string error;
  if (!AddModelDrafts(drafts, folder, entry, definition, error)) return CliFail(error);
  // Read back as every later run will, so a draft the catalogue would skip is caught now.
  DeviceCatalogue check;
  check.LoadUserModels(folder);
  for (const std::string& warning : check.Warnings()) {
    if (warning.rfind(entry.string(), 0) == 0) {
      std::filesystem::remove(entry);
      std::filesystem::remove(definition);
      return CliFail("the draft was not accepted: " + warning);
    }
  }
  std::printf("added %s as device type %d\n  %s\n  %s\n", drafts.name.c_str(), drafts.device_type,
              entry.string().c_str(), definition.string().c_str());
  std::printf(
      "for access without root, add this line to /etc/udev/rules.d/70-corvane.rules:\n"
      "  %s\nthen run 'udevadm control --reload' and plug the mouse in again\n",
      drafts.udev_rule.c_str());
  return 0;
}

// probe NODE [--add [NAME]].
int ProbeNode(CliSession& session, const std::vector<ProbedInterface>& found,
              const std::vector<std::string>& args) {
  const std::string& node = args[0];
  const bool add = args.size() >= 2;
  if (add && args[1] != "--add") return CliFail("usage: probe [NODE [--add [NAME]]]");
  const std::string name = args.size() == 3 ? args[2] : "";
  const ProbedInterface* probed = nullptr;
  for (const ProbedInterface& p : found) {
    if (p.info.path == node) probed = &p;
  }
  if (probed == nullptr) return CliFail(node + " is not an interface probe lists");
  if (!IsConfigCollection(probed->info.usage_page, probed->info.usage)) {
    return CliFail(node + " is the firmware-upgrade collection; probe the configuration one");
  }
  if (add && probed->model != "unknown") {
    return CliFail(node + " is already known as " + probed->model);
  }
  std::unique_ptr<HidHandle> handle = DeviceManager::Instance().Backend()->Open(node);
  if (!handle) return CliFail("cannot open " + node + " (no permission?)");
  uint8_t reply[kDeviceInfoSize] = {};
  if (!QueryDeviceInfo(*handle, reply)) {
    std::fprintf(stderr, "corvane-cli: %s did not accept command 0x10\n", node.c_str());
    return kExitDeviceFailed;
  }
  ProbedMouse mouse;
  mouse.vendor_id = probed->info.vendor_id;
  mouse.product_id = probed->info.product_id;
  mouse.usage_page = probed->info.usage_page;
  mouse.usage = probed->info.usage;
  mouse.interface_number = probed->info.interface_number;
  mouse.dev_id = PrintableDevId(reply);
  mouse.sensor = reply[kInfoSensorByte];
  mouse.rate_capability = reply[kInfoRateByte];
  mouse.product = Utf16ToUtf8(handle->ProductString());
  handle.reset();
  const ModelDrafts drafts = DraftModel(mouse, name, session.Catalogue(), session.ProgramFolder());
  if (add) return AddDrafts(drafts);
  PrintAnswer(*probed, reply);
  PrintDrafts(drafts);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

int RunProbe(const CliOptions& options, const std::vector<std::string>& args) {
  if (args.size() > 3) return CliFail("usage: probe [NODE [--add [NAME]]]");
  CliSession session;
  std::string error;
  // No enumeration: the device manager would send 0x10 to every catalogued interface.
  if (!session.Open(options, error, false)) return CliFail(error);
  std::shared_ptr<HidBackend> backend = DeviceManager::Instance().Backend();
  if (!backend) return CliFail("no HID back end");
  const std::vector<ProbedInterface> found = ProbeInterfaces(*backend, session.Catalogue());
  if (!args.empty()) return ProbeNode(session, found, args);
  PrintListing(found, options.json);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

const CliRegistrar kProbeCommand("probe", "probe [NODE [--add [NAME]]]", RunProbe);

}  // namespace
}  // namespace corvane::cli
