// Reader of the config.xml device list; see device_catalogue.h.
#include "catalogue/device_catalogue.h"

#include <climits>

#include "xml/markup_document.h"

namespace corvane {

namespace {

constexpr std::string_view kConfigFileName = "config.xml";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void ReadModeAttributes(const MarkupDocument& doc, CatalogEntry& entry) {
  entry.mode = ModeFromCatalogue(doc.GetAttributeInt("value"));
  entry.description = doc.GetAttribute(std::string_view("desc"));
  entry.vendor_id = ParseHexId(doc.GetAttribute(std::string_view("vid")));
  entry.product_id = ParseHexId(doc.GetAttribute(std::string_view("pid")));
  entry.dev_id = doc.GetAttribute(std::string_view("dev_id"));
  entry.hid_interface = doc.GetAttribute(std::string_view("hid_interface"));
}

}  // namespace

void ReadMouse(MarkupDocument& doc, CatalogEntry& model, std::vector<CatalogEntry>& modes) {
  model.name = doc.GetAttribute(std::string_view("name"));
  model.device_type = doc.GetAttributeInt("device_type");
  model.device_attr = doc.GetAttribute(std::string_view("device_attr"));
  model.image = doc.GetAttribute(std::string_view("image"));
  doc.EnterElement();
  while (doc.FindElement("mode")) {
    CatalogEntry entry = model;
    ReadModeAttributes(doc, entry);
    modes.push_back(std::move(entry));
  }
  doc.LeaveElement();
}

namespace {

// The `url` (or, for copyright, `info`) of the next child named `name`, when found.
void ReadLink(MarkupDocument& doc, std::string_view name, std::string_view attribute,
              std::string& out) {
  if (doc.FindElement(name)) out = doc.GetAttribute(attribute);
}

}  // namespace

int ParseHexId(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' ||
                             text[i] == '\n')) {
    ++i;
  }
  if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
      i + 2 < text.size() && HexDigit(text[i + 2]) >= 0) {
    i += 2;
  }
  long long value = 0;
  for (; i < text.size() && HexDigit(text[i]) >= 0; ++i) {
    value = value * 16 + HexDigit(text[i]);
    if (value > INT_MAX) return INT_MAX;
  }
  return static_cast<int>(value);
}

void DeviceCatalogue::Clear() {
  models_.clear();
  interfaces_.clear();
  mode_ranges_.clear();
  software_ = SoftwareInfo{};
  warnings_.clear();
}

bool DeviceCatalogue::Load(const std::filesystem::path& program_folder) {
  return LoadFile(program_folder / kConfigFileName);
}

bool DeviceCatalogue::LoadWithUserModels(const std::filesystem::path& program_folder) {
  if (!Load(program_folder)) return false;
  const std::filesystem::path user_folder = UserModelsFolder();
  if (!user_folder.empty()) LoadUserModels(user_folder);
  return true;
}

void DeviceCatalogue::AddModel(const CatalogEntry& model, const std::vector<CatalogEntry>& modes) {
  models_.push_back(model);
  mode_ranges_.push_back({interfaces_.size(), modes.size()});
  interfaces_.insert(interfaces_.end(), modes.begin(), modes.end());
}

bool DeviceCatalogue::LoadFile(const std::filesystem::path& config_file) {
  Clear();
  MarkupDocument doc;
  if (!doc.LoadFile(config_file) || !doc.FindElement("config")) return false;
  doc.EnterElement();
  if (doc.FindElement("device")) {
    doc.EnterElement();
    while (doc.FindElement("mouse")) {
      CatalogEntry model;
      std::vector<CatalogEntry> modes;
      ReadMouse(doc, model, modes);
      AddModel(model, modes);
    }
    doc.LeaveElement();
  }
  if (doc.FindElement("software")) {
    software_.version = doc.GetAttribute(std::string_view("version"));
    doc.EnterElement();
    ReadLink(doc, "website", "url", software_.website);
    ReadLink(doc, "feedback", "url", software_.feedback);
    ReadLink(doc, "qa", "url", software_.qa);
    ReadLink(doc, "store", "url", software_.store);
    ReadLink(doc, "upgrade", "url", software_.upgrade);
    ReadLink(doc, "copyright", "info", software_.copyright);
    doc.LeaveElement();
  }
  return true;
}

std::vector<KnownDeviceIds> DeviceCatalogue::KnownDevices() const {
  std::vector<KnownDeviceIds> known;
  known.reserve(interfaces_.size());
  for (const CatalogEntry& entry : interfaces_) {
    known.push_back({entry.vendor_id, entry.product_id, entry.device_type, entry.mode,
                     entry.dev_id});
  }
  return known;
}

const CatalogEntry* DeviceCatalogue::FindModel(int device_type) const {
  for (const CatalogEntry& model : models_) {
    if (model.device_type == device_type) return &model;
  }
  return nullptr;
}

std::vector<CatalogEntry> DeviceCatalogue::ModesOf(std::size_t model_index) const {
  if (model_index >= mode_ranges_.size()) return {};
  const ModeRange& range = mode_ranges_[model_index];
  const auto first = interfaces_.begin() + static_cast<std::ptrdiff_t>(range.first);
  return std::vector<CatalogEntry>(first, first + static_cast<std::ptrdiff_t>(range.count));
}

const CatalogEntry* DeviceCatalogue::FirstWiredAndWirelessModel() const {
  for (std::size_t i = 0; i < models_.size(); ++i) {
    bool wired = false;
    bool wireless = false;
    for (const CatalogEntry& entry : ModesOf(i)) {
      wired = wired || entry.mode == ConnectionMode::kWired;
      wireless = wireless || entry.mode == ConnectionMode::kReceiver;
    }
    if (wired && wireless) return &models_[i];
  }
  return nullptr;
}

}  // namespace corvane
