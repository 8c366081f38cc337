// Draft catalogue entry, definition and udev rule for a probed mouse; see model_draft.h.
#include "cli/model_draft.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <system_error>

#include "base/device_values.h"
#include "catalogue/factory_defaults.h"
#include "protocol/device_info.h"
#include "protocol/sensor_codes.h"

namespace corvane::cli {
namespace {

constexpr int kFirstUserDeviceType = 1000;

std::string Hex4(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04x", value & 0xFFFF);
  return text;
}

int FreeDeviceType(const DeviceCatalogue& catalogue) {
  int type = kFirstUserDeviceType;
  while (catalogue.FindModel(type) != nullptr) ++type;
  return type;
}

// The highest factory DPI stage of a definition file; 0 when it has none.
int HighestFactoryDpi(const std::filesystem::path& file) {
  const std::optional<FactoryDefaults> defaults = LoadFactoryDefaults(file);
  int highest = 0;
  if (!defaults) return highest;
  for (const DpiStageDefault& stage : defaults->stages) {
    if (stage.present) highest = std::max(highest, stage.value);
  }
  return highest;
}

// The shipped model (index into Models()) nearest the sensor's range; -1 when none has a
// readable definition. Nearness is the ratio of the two highest DPI values, so a 4800 and a
// 16000 DPI sensor are told apart as well as 12000 and 26000 are.
int ClosestShippedModel(const DeviceCatalogue& catalogue, const std::filesystem::path& program,
                        int sensor_max, int& model_max) {
  int best = -1;
  double best_distance = std::numeric_limits<double>::max();
  for (size_t i = 0; i < catalogue.Models().size(); ++i) {
    const CatalogEntry& model = catalogue.Models()[i];
    if (!model.user_folder.empty()) continue;
    const int highest = HighestFactoryDpi(catalogue.DefinitionFile(program, model.device_attr));
    if (highest <= 0) continue;
    const double distance = std::fabs(std::log(static_cast<double>(highest) / sensor_max));
    if (distance < best_distance) {
      best_distance = distance;
      best = static_cast<int>(i);
      model_max = highest;
    }
  }
  return best;
}

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Puts `comment` right after the XML declaration (or first, when there is none).
std::string WithComment(const std::string& xml, const std::string& comment) {
  size_t at = 0;
  if (xml.rfind("<?xml", 0) == 0) {
    const size_t end = xml.find("?>");
    at = end == std::string::npos ? 0 : end + 2;
    if (at < xml.size() && xml[at] == '\n') ++at;
  }
  return xml.substr(0, at) + "<!-- " + comment + " -->\n" + xml.substr(at);
}

// The copied model's firmware is not this mouse's: an update check must never offer it.
std::string WithoutFirmwareUrl(std::string xml) {
  const std::string element = "<firmware url=\"";
  const size_t at = xml.find(element);
  if (at == std::string::npos) return xml;
  const size_t value = at + element.size();
  const size_t end = xml.find('"', value);
  if (end != std::string::npos) xml.erase(value, end - value);
  return xml;
}

// A comment may not hold "--".
std::string CommentText(std::string text) {
  for (size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at)) {
    text.replace(at, 2, "- -");
  }
  return text;
}

std::string EntryText(const ModelDrafts& drafts, const ProbedMouse& mouse,
                      const std::string& image) {
  const bool receiver = mouse.usage_page == 0x0001 && mouse.usage == 0x0000;
  std::ostringstream out;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<!-- "
      << CommentText(
             "Drafted by corvane-cli probe from the mouse's answer to command 0x10. "
             "The mode (0 wired, 1 receiver) is guessed from the collection.")
      << " -->\n"
      << "<mouse name=\"" << XmlAttributeText(drafts.name) << "\" device_type=\""
      << drafts.device_type << "\" device_attr=\"" << drafts.device_attr << "\" image=\""
      << XmlAttributeText(image) << "\">\n"
      << "  <mode value=\"" << (receiver ? 1 : 0) << "\" desc=\""
      << (receiver ? "2.4G receiver" : "wired") << "\" vid=\"0x" << Hex4(mouse.vendor_id)
      << "\" pid=\"0x" << Hex4(mouse.product_id) << "\" dev_id=\"" << XmlAttributeText(mouse.dev_id)
      << "\" hid_interface=\"" << (mouse.interface_number < 0 ? 0 : mouse.interface_number)
      << "\"/>\n"
      << "</mouse>\n";
  return out.str();
}

}  // namespace

std::string XmlAttributeText(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string PrintableDevId(const uint8_t* reply) {
  std::string id;
  for (size_t i = 0; i < kDevIdLength; ++i) {
    const uint8_t c = reply[kInfoDevIdByte + i];
    if (c < 0x21 || c > 0x7E) return {};
    id += static_cast<char>(c);
  }
  return id;
}

ModelDrafts DraftModel(const ProbedMouse& mouse, const std::string& name,
                       const DeviceCatalogue& catalogue,
                       const std::filesystem::path& program_folder) {
  ModelDrafts drafts;
  const std::string ids = Hex4(mouse.vendor_id) + ":" + Hex4(mouse.product_id);
  drafts.name = !name.empty() ? name : !mouse.product.empty() ? mouse.product : "Mouse " + ids;
  drafts.device_type = FreeDeviceType(catalogue);
  drafts.device_attr = "user_" + Hex4(mouse.vendor_id) + "_" + Hex4(mouse.product_id);
  const SensorScale scale = ScaleForSensor(mouse.sensor);
  int model_max = 0;
  const int closest = ClosestShippedModel(catalogue, program_folder, scale.max_dpi, model_max);
  std::string image;
  char facts[160];
  std::snprintf(facts, sizeof facts,
                "sensor 0x%02X (%d..%d DPI), report-rate capability 0x%02X (rate class %d)",
                static_cast<unsigned>(mouse.sensor), scale.min_dpi, scale.max_dpi,
                static_cast<unsigned>(mouse.rate_capability),
                RateClassFromCapability(static_cast<uint8_t>(mouse.rate_capability)));
  if (closest >= 0) {
    const CatalogEntry& model = catalogue.Models()[static_cast<size_t>(closest)];
    drafts.based_on = model.name;
    image = model.image;
    drafts.definition = WithComment(
        WithoutFirmwareUrl(ReadText(catalogue.DefinitionFile(program_folder, model.device_attr))),
        CommentText("Draft for " + drafts.name + " (" + ids + "), " + facts +
                    ". Started from the shipped model " + model.name + " (" + model.device_attr +
                    ".xml), whose factory DPI stages (up to " + std::to_string(model_max) +
                    " DPI) come closest to that sensor. Its firmware address is left out: that "
                    "model's firmware is not this mouse's. Check the buttons, the lighting and "
                    "the factory values against the mouse."));
  }
  drafts.entry = EntryText(drafts, mouse, image);
  drafts.udev_rule = "KERNEL==\"hidraw*\", ATTRS{idVendor}==\"" + Hex4(mouse.vendor_id) +
                     "\", ATTRS{idProduct}==\"" + Hex4(mouse.product_id) + "\", TAG+=\"uaccess\"";
  return drafts;
}

bool AddModelDrafts(const ModelDrafts& drafts, const std::filesystem::path& folder,
                    std::filesystem::path& entry_file, std::filesystem::path& definition_file,
                    std::string& error) {
  if (drafts.definition.empty()) {
    error = "no shipped model to start the definition from";
    return false;
  }
  entry_file = UserEntryFile(folder, drafts.device_attr);
  definition_file = UserDefinitionFile(folder, drafts.device_attr);
  std::error_code ec;
  std::filesystem::create_directories(definition_file.parent_path(), ec);
  if (ec) {
    error = "cannot create " + definition_file.parent_path().string() + ": " + ec.message();
    return false;
  }
  for (const auto& file : {entry_file, definition_file}) {
    if (std::filesystem::exists(file, ec)) {
      error = file.string() + " already exists; remove it to add the model again";
      return false;
    }
  }
  // The definition first: an entry without its definition would be skipped with a warning.
  const std::pair<std::filesystem::path, std::string> files[] = {
      {definition_file, drafts.definition}, {entry_file, drafts.entry}};
  for (const auto& [file, text] : files) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
      error = "cannot write " + file.string();
      return false;
    }
  }
  return true;
}

}  // namespace corvane::cli
