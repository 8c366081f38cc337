// Picks the simulated model from config.xml and builds the backend for it.
#include "sim/sim_setup.h"

#include "base/text.h"
#include "catalogue/device_catalogue.h"

namespace corvane {
namespace {

// Index of the model `model` names; -1 when none does.
int FindModelIndex(const DeviceCatalogue& catalogue, std::string_view model) {
  const auto& models = catalogue.Models();
  if (model.empty()) {
    const CatalogEntry* first = catalogue.FirstWiredAndWirelessModel();
    return first == nullptr ? -1 : static_cast<int>(first - models.data());
  }
  const bool numeric = model.find_first_not_of("0123456789") == std::string_view::npos;
  for (size_t i = 0; numeric && i < models.size(); ++i) {
    if (IntToDecimal(models[i].device_type) == model) return static_cast<int>(i);
  }
  for (size_t i = 0; i < models.size(); ++i) {
    if (models[i].device_attr == model) return static_cast<int>(i);
  }
  for (size_t i = 0; i < models.size(); ++i) {
    if (models[i].name == model) return static_cast<int>(i);
  }
  return -1;
}

void TakeMode(const CatalogEntry& mode, SimInterfaceIdentity& out) {
  out.vendor_id = static_cast<uint16_t>(mode.vendor_id);
  out.product_id = static_cast<uint16_t>(mode.product_id);
  out.dev_id = mode.dev_id;
  out.exists = true;
}

}  // namespace

bool SimIdentityFromCatalogue(const DeviceCatalogue& catalogue, std::string_view model,
                              SimIdentity& identity, std::string& error) {
  const int index = FindModelIndex(catalogue, model);
  if (index < 0) {
    error = model.empty() ? "the catalogue has no model with both a wired and a wireless mode"
                          : "the catalogue has no model " + std::string(model);
    return false;
  }
  const CatalogEntry& entry = catalogue.Models()[static_cast<size_t>(index)];
  SimIdentity result;
  result.device_type = entry.device_type;
  result.product_name = entry.name;
  result.wired.exists = false;
  result.receiver.exists = false;
  // The first mode of each kind counts, as the device manager matches in file order.
  for (const CatalogEntry& mode : catalogue.ModesOf(static_cast<size_t>(index))) {
    if (mode.mode == ConnectionMode::kWired && !result.wired.exists) TakeMode(mode, result.wired);
    if (mode.mode == ConnectionMode::kReceiver && !result.receiver.exists)
      TakeMode(mode, result.receiver);
  }
  if (!result.wired.exists && !result.receiver.exists) {
    error = "model " + entry.name + " has neither a wired nor a wireless mode";
    return false;
  }
  identity = std::move(result);
  return true;
}

std::unique_ptr<SimBackend> CreateSimBackend(const std::filesystem::path& program_dir,
                                             std::string_view mode_text, std::string_view model,
                                             const std::string& state_file, std::string& error) {
  SimMode mode = SimMode::kBoth;
  if (!ParseSimMode(mode_text, mode)) {
    error = "--simulate takes wired, wireless or both, not " + std::string(mode_text);
    return nullptr;
  }
  DeviceCatalogue catalogue;
  if (!catalogue.Load(program_dir)) {
    error = "cannot read " + (program_dir / "config.xml").string();
    return nullptr;
  }
  SimIdentity identity;
  if (!SimIdentityFromCatalogue(catalogue, model, identity, error)) return nullptr;
  const bool wired = identity.wired.exists && SimModeHasLink(mode, SimLink::kWired);
  const bool wireless = identity.receiver.exists && SimModeHasLink(mode, SimLink::kReceiver);
  if (!wired && !wireless) {
    error = "model " + identity.product_name + " has no " + SimModeName(mode) + " mode";
    return nullptr;
  }
  auto backend = std::make_unique<SimBackend>(identity, mode);
  if (!state_file.empty() && !backend->AttachStateFile(state_file, error)) return nullptr;
  return backend;
}

}  // namespace corvane
