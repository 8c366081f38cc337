// Models a user added beside the shipped catalogue: one entry file per model in the user
// folder, its definition file in the folder's device/. Read after config.xml, so a shipped
// model always wins; a file that cannot join is skipped with a warning, never fatally.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "base/device_values.h"
#include "base/text.h"
#include "catalogue/device_catalogue.h"
#include "catalogue/device_definition.h"
#include "xml/markup_document.h"

namespace corvane {
namespace {

constexpr char kEntryExtension[] = ".xml";
// Larger entry files are not something probe wrote; they are not parsed at all.
constexpr std::uintmax_t kMaxEntryFileBytes = 64 * 1024;

std::string Ids(int vendor_id, int product_id) {
  char text[16];
  std::snprintf(text, sizeof text, "%04x:%04x", static_cast<unsigned>(vendor_id & 0xFFFF),
                static_cast<unsigned>(product_id & 0xFFFF));
  return text;
}

// The entry files of `folder`, sorted by name so the order does not depend on the file system.
std::vector<std::filesystem::path> EntryFiles(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    if (it->path().extension() == kEntryExtension && it->is_regular_file(ec)) {
      files.push_back(it->path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Why the entry read from a file cannot be a model; empty when it can.
std::string EntryProblem(const CatalogEntry& model, const std::vector<CatalogEntry>& modes) {
  if (model.name.empty()) return "the model has no name";
  if (model.device_type < 1 || model.device_type == kIdsOnlyDeviceType)
    return "device_type must be a number of 1 or more other than " +
           IntToDecimal(kIdsOnlyDeviceType);
  if (!IsSafeFileStem(model.device_attr)) return "device_attr is not a plain file name";
  if (modes.empty()) return "the model has no mode";
  for (const CatalogEntry& mode : modes) {
    if (mode.vendor_id <= 0 || mode.vendor_id > 0xFFFF || mode.product_id <= 0 ||
        mode.product_id > 0xFFFF)
      return "a mode has no valid vid and pid";
  }
  return {};
}

}  // namespace

std::filesystem::path UserModelsFolder() {
  const char* data_home = std::getenv("XDG_DATA_HOME");
  if (data_home != nullptr && data_home[0] == '/') {
    return std::filesystem::path(data_home) / "corvane" / "models";
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') return {};
  return std::filesystem::path(home) / ".local" / "share" / "corvane" / "models";
}

std::filesystem::path UserEntryFile(const std::filesystem::path& folder,
                                    std::string_view device_attr) {
  return folder / (std::string(device_attr) + kEntryExtension);
}

std::filesystem::path UserDefinitionFile(const std::filesystem::path& folder,
                                         std::string_view device_attr) {
  return DefinitionPath(folder, device_attr);
}

std::string DeviceCatalogue::UserModelConflict(const CatalogEntry& model,
                                               const std::vector<CatalogEntry>& modes) const {
  for (const CatalogEntry& known : models_) {
    if (known.device_type == model.device_type)
      return "device_type " + IntToDecimal(model.device_type) + " is already " + known.name + "'s";
    if (known.device_attr == model.device_attr)
      return "device_attr " + model.device_attr + " is already " + known.name + "'s";
  }
  for (const CatalogEntry& mode : modes) {
    for (const CatalogEntry& known : interfaces_) {
      if (known.vendor_id == mode.vendor_id && known.product_id == mode.product_id)
        return "the ids " + Ids(mode.vendor_id, mode.product_id) + " are already " + known.name +
               "'s";
    }
  }
  return {};
}

void DeviceCatalogue::LoadUserModels(const std::filesystem::path& folder) {
  for (const std::filesystem::path& file : EntryFiles(folder)) {
    auto skip = [this, &file](const std::string& why) {
      warnings_.push_back(file.string() + " skipped: " + why);
    };
    std::error_code ec;
    if (std::filesystem::file_size(file, ec) > kMaxEntryFileBytes || ec) {
      skip("not a model entry (too large or unreadable)");
      continue;
    }
    MarkupDocument doc;
    if (!doc.LoadFile(file) || !doc.FindElement("mouse")) {
      skip("not well-formed XML with a mouse element at its root");
      continue;
    }
    CatalogEntry model;
    std::vector<CatalogEntry> modes;
    ReadMouse(doc, model, modes);
    std::string problem = EntryProblem(model, modes);
    if (problem.empty()) problem = UserModelConflict(model, modes);
    const std::filesystem::path definition = UserDefinitionFile(folder, model.device_attr);
    if (problem.empty() && !LoadDeviceDefinition(definition))
      problem = "its definition file " + definition.string() + " is missing or malformed";
    if (!problem.empty()) {
      skip(problem);
      continue;
    }
    model.user_folder = folder;
    for (CatalogEntry& mode : modes) mode.user_folder = folder;
    AddModel(model, modes);
  }
}

std::filesystem::path DeviceCatalogue::DefinitionFile(const std::filesystem::path& program_folder,
                                                      std::string_view device_attr) const {
  for (const CatalogEntry& model : models_) {
    if (model.device_attr == device_attr && !model.user_folder.empty()) {
      return UserDefinitionFile(model.user_folder, device_attr);
    }
  }
  return DefinitionPath(program_folder, device_attr);
}

}  // namespace corvane
