// Listing of configuration and upgrade interfaces; see probe_interfaces.h.
#include "cli/probe_interfaces.h"

#include <cstdio>

#include "device/device_manager.h"

namespace corvane::cli {

bool IsProbedCollection(uint16_t usage_page, uint16_t usage) {
  return IsConfigCollection(usage_page, usage) ||
         (usage_page == kUpgradeUsagePage && usage == kUpgradeUsage);
}

std::string IdsText(uint16_t vendor_id, uint16_t product_id) {
  char text[16];
  std::snprintf(text, sizeof text, "%04x:%04x", vendor_id, product_id);
  return text;
}

std::vector<ProbedInterface> ProbeInterfaces(HidBackend& backend,
                                             const DeviceCatalogue& catalogue) {
  std::vector<ProbedInterface> found;
  for (const HidInterfaceInfo& info : backend.Enumerate()) {
    if (!IsProbedCollection(info.usage_page, info.usage)) continue;
    ProbedInterface probed{info, "unknown", false};
    for (const CatalogEntry& mode : catalogue.Interfaces()) {
      if (mode.vendor_id == info.vendor_id && mode.product_id == info.product_id) {
        probed.model = mode.name;
        break;
      }
    }
    probed.can_open = backend.Open(info.path) != nullptr;
    found.push_back(std::move(probed));
  }
  return found;
}

}  // namespace corvane::cli
