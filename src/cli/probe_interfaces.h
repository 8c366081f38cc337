// The interfaces probe and report look at: every HID interface whose top-level collection
// is a configuration collection or the firmware-upgrade collection, catalogued or not.
#pragma once

#include <string>
#include <vector>

#include "catalogue/device_catalogue.h"
#include "device/hid_backend.h"
#include "protocol/firmware_transfer.h"

namespace corvane::cli {

struct ProbedInterface {
  HidInterfaceInfo info;
  std::string model;  // the catalogue model with these ids, or "unknown"
  bool can_open = false;
};

// Whether a collection is one probe lists.
bool IsProbedCollection(uint16_t usage_page, uint16_t usage);

// The probed interfaces of `backend`, in enumeration order. can_open is learnt by opening
// each one (and closing it at once); nothing is written to it.
std::vector<ProbedInterface> ProbeInterfaces(HidBackend& backend, const DeviceCatalogue& catalogue);

// "vvvv:pppp".
std::string IdsText(uint16_t vendor_id, uint16_t product_id);

}  // namespace corvane::cli
