// Picks the simulated model from config.xml and builds the backend for it.
#include "sim/sim_setup.h"

#include <cstdlib>

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

bool ParseReplyBytes(std::string_view text, bool allow_echo, SimReplyBytes& out) {
  if (text == "echo" && allow_echo) {
    out = SimReplyBytes::kEcho;
  } else if (text == "zero") {
    out = SimReplyBytes::kZero;
  } else if (text == "random") {
    out = SimReplyBytes::kRandom;
  } else {
    return false;
  }
  return true;
}

// The knob named `knob` of `faults`, set from `text`: a decimal number within the knob's
// range, or one of the names the reply-byte knobs take.
bool SetFaultKnob(SimFaults& faults, std::string_view knob, std::string_view text) {
  if (knob == "reply_byte0") return ParseReplyBytes(text, true, faults.reply_byte0);
  if (knob == "reply_bytes23") return ParseReplyBytes(text, true, faults.reply_bytes23);
  int value = 0;
  if (!ParseExactDecimal(text, value)) return false;
  if (knob == "reply_delay_ms" && value >= 0 && value <= 60000) {
    faults.reply_delay_ms = value;
  } else if (knob == "drop_replies" && value >= 0) {
    faults.drop_replies = value;
  } else if (knob == "forced_status" && value >= 0 && value <= 0xFF) {
    faults.forced_status = static_cast<uint8_t>(value);
  } else if (knob == "unplug_after_reports" && value >= -1) {
    faults.unplug_after_reports = value;
  } else if (knob == "garbage_notifications" && value >= 0) {
    faults.garbage_notifications = value;
  } else if (knob == "busy_status_replies" && value >= 0) {
    faults.busy_status_replies = value;
  } else if (knob == "interrupt_interval" && (value == 0 || value == 1)) {
    faults.interrupt_interval = value == 1;
  } else {
    return false;
  }
  return true;
}

// Applies every setting of `list` (separated by spaces or commas).
bool ApplySimFaultList(SimBackend& backend, std::string_view list, std::string& error) {
  size_t at = 0;
  while (at < list.size()) {
    const size_t end = list.find_first_of(" ,", at);
    const std::string_view item =
        list.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
    if (!item.empty() && !ApplySimFault(backend, item, error)) return false;
    if (end == std::string_view::npos) break;
    at = end + 1;
  }
  return true;
}

}  // namespace

bool ApplySimFault(SimBackend& backend, std::string_view setting, std::string& error) {
  const size_t colon = setting.find(':');
  const size_t equals = setting.find('=', colon == std::string_view::npos ? 0 : colon);
  error =
      "--sim-fault takes DEVICE:KNOB=VALUE (DEVICE wired or receiver), not " + std::string(setting);
  if (colon == std::string_view::npos || equals == std::string_view::npos) return false;
  const std::string_view device = setting.substr(0, colon);
  const std::string_view knob = setting.substr(colon + 1, equals - colon - 1);
  const std::string_view value_text = setting.substr(equals + 1);
  SimLink link = SimLink::kWired;
  if (device == "receiver") {
    link = SimLink::kReceiver;
  } else if (device != "wired") {
    return false;
  }
  SimFaults faults = backend.Faults(link);
  if (!SetFaultKnob(faults, knob, value_text)) {
    error = "--sim-fault: unknown knob or value out of range in " + std::string(setting);
    return false;
  }
  backend.SetFaults(link, faults);
  error.clear();
  return true;
}

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
  if (!catalogue.LoadWithUserModels(program_dir)) {
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
  if (const char* faults = std::getenv(kSimFaultsVariable); faults != nullptr &&
      !ApplySimFaultList(*backend, faults, error)) {
    error = std::string(kSimFaultsVariable) + ": " + error;
    return nullptr;
  }
  return backend;
}

}  // namespace corvane
