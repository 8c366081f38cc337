// corvane-cli devices: the catalogue models of config.xml, the software values and the
// stored model selection, as readable text or (--json) in the documented shape.
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_config.h"
#include "app/app_folders.h"
#include "app/ini_key_value_store.h"
#include "catalogue/device_catalogue.h"
#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "device/device_manager.h"
#include "cli/json_writer.h"

namespace corvane::cli {

namespace {

struct DevicesReport {
  ApplicationConfig config;
  DeviceCatalogue catalogue;
  int selected = 0;  // the stored DeviceType
  std::vector<DeviceEntryInfo> entries;  // interfaces found, in enumeration order
};

void WriteModelJson(JsonWriter& json, const DeviceCatalogue& catalogue, size_t index) {
  const CatalogEntry& model = catalogue.Models()[index];
  json.BeginObject()
      .StringMember("name", model.name)
      .IntMember("device_type", model.device_type)
      .StringMember("device_attr", model.device_attr)
      .StringMember("image", model.image)
      .Key("modes")
      .BeginArray();
  for (const CatalogEntry& mode : catalogue.ModesOf(index)) {
    json.BeginObject()
        .IntMember("mode", ModeNumber(mode.mode))
        .IntMember("vid", mode.vendor_id)
        .IntMember("pid", mode.product_id)
        .StringMember("dev_id", mode.dev_id)
        .EndObject();
  }
  json.EndArray().EndObject();
}

std::string DevicesJson(const DevicesReport& report) {
  JsonWriter json;
  json.BeginObject().StringMember("caption", report.config.caption).Key("languages").BeginArray();
  for (int language : report.config.languages) json.Int(language);
  json.EndArray().IntMember("selected", report.selected).Key("models").BeginArray();
  for (size_t i = 0; i < report.catalogue.Models().size(); ++i) {
    WriteModelJson(json, report.catalogue, i);
  }
  const SoftwareInfo& software = report.catalogue.Software();
  json.EndArray()
      .Key("software")
      .BeginObject()
      .StringMember("version", software.version)
      .StringMember("website", software.website)
      .StringMember("feedback", software.feedback)
      .StringMember("qa", software.qa)
      .StringMember("store", software.store)
      .StringMember("upgrade", software.upgrade)
      .StringMember("copyright", software.copyright)
      .EndObject();
  WriteEntriesMember(json, report.entries);
  json.EndObject();
  return json.Text();
}

std::string ModeName(ConnectionMode mode) {
  if (mode == ConnectionMode::kWired) return "wired";
  if (mode == ConnectionMode::kReceiver) return "wireless";
  return "mode " + std::to_string(ModeNumber(mode));
}

void PrintModels(const DeviceCatalogue& catalogue, int selected) {
  std::printf("models:\n");
  if (catalogue.Models().empty()) std::printf("  (none)\n");
  for (size_t i = 0; i < catalogue.Models().size(); ++i) {
    const CatalogEntry& model = catalogue.Models()[i];
    std::printf("  %c %d  %s  (definition %s, picture %s)\n",
                model.device_type == selected ? '*' : ' ', model.device_type,
                model.name.c_str(), model.device_attr.c_str(), model.image.c_str());
    const std::vector<CatalogEntry> modes = catalogue.ModesOf(i);
    if (modes.empty()) std::printf("       no USB interfaces listed\n");
    for (const CatalogEntry& mode : modes) {
      std::printf("       %-9s %04x:%04x  dev_id \"%s\"\n", ModeName(mode.mode).c_str(),
                  static_cast<unsigned>(mode.vendor_id), static_cast<unsigned>(mode.product_id),
                  mode.dev_id.c_str());
    }
  }
}

void PrintDevicesText(const DevicesReport& report) {
  const SoftwareInfo& software = report.catalogue.Software();
  std::printf("%s, version %s\n", report.config.caption.c_str(), software.version.c_str());
  std::printf("languages:");
  for (int language : report.config.languages) std::printf(" %d", language);
  std::printf("%s\nselected device type: %d\n", report.config.languages.empty() ? " (none)" : "",
              report.selected);
  PrintModels(report.catalogue, report.selected);
  const std::pair<const char*, const std::string*> links[] = {
      {"website", &software.website}, {"feedback", &software.feedback},
      {"qa", &software.qa},           {"store", &software.store},
      {"upgrade", &software.upgrade}, {"copyright", &software.copyright}};
  for (const auto& [label, value] : links) {
    if (!value->empty()) std::printf("%-10s %s\n", label, value->c_str());
  }
  PrintEntries(report.entries);
}

int RunDevices(const CliOptions& options, const std::vector<std::string>& args) {
  if (!args.empty()) return CliFail("devices takes no arguments");
  const std::filesystem::path folder = ResolveProgramFolder(options.program_dir);
  DevicesReport report;
  report.config = ReadApplicationConfig(folder);
  if (!report.config.loaded || !report.catalogue.LoadWithUserModels(folder)) {
    return CliFail("cannot read " + (folder / kConfigFileName).string());
  }
  // Enumerating may store a new selection, so the stored value is read afterwards.
  CliSession session;
  std::string error;
  if (!session.Open(options, error)) return CliFail(error);
  report.entries = DeviceManager::Instance().Entries();
  report.selected = IniKeyValueStore::ForCaption(report.config.caption).ReadDeviceType();
  if (options.json) {
    std::printf("%s\n", DevicesJson(report).c_str());
  } else {
    PrintDevicesText(report);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

const CliRegistrar kDevicesCommand("devices", "devices", RunDevices);

}  // namespace

}  // namespace corvane::cli
