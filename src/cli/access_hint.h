// Tells the user why a catalogued mouse or receiver that is plugged in did not show up
// when its hidraw node refuses them: without the shipped udev rule only root may open it.
#pragma once

#include <string>
#include <vector>

#include "device/device_entry.h"
#include "device/hid_backend.h"

namespace corvane::cli {

// The udev rule file that grants the seat's user access, and where it belongs.
inline constexpr char kUdevRuleFile[] = "70-corvane.rules";
inline constexpr char kUdevRulesFolder[] = "/etc/udev/rules.d";

// One line per configuration interface of a known device that the enumeration lists
// but that could not be opened for lack of permission; empty when there is none.
// `opened` holds the paths the device manager did open.
std::vector<std::string> UnopenableInterfaceHints(HidBackend& backend,
                                                  const std::vector<KnownDevice>& known,
                                                  const std::vector<std::string>& opened);

}  // namespace corvane::cli
