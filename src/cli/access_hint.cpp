// Permission check for interfaces the device manager skipped: access(2) asks the
// kernel the same question open(2) did, without opening the device again.
#include "cli/access_hint.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "device/device_manager.h"

namespace corvane::cli {

std::vector<std::string> UnopenableInterfaceHints(HidBackend& backend,
                                                  const std::vector<KnownDevice>& known,
                                                  const std::vector<std::string>& opened) {
  std::vector<std::string> hints;
  std::vector<std::string> reported;
  for (const HidInterfaceInfo& info : backend.Enumerate()) {
    const bool is_known =
        std::any_of(known.begin(), known.end(), [&info](const KnownDevice& device) {
          return device.vendor_id == info.vendor_id && device.product_id == info.product_id;
        });
    if (!is_known || !IsConfigCollection(info.usage_page, info.usage)) continue;
    if (std::find(opened.begin(), opened.end(), info.path) != opened.end()) continue;
    if (std::find(reported.begin(), reported.end(), info.path) != reported.end()) continue;
    if (::access(info.path.c_str(), R_OK | W_OK) == 0 || (errno != EACCES && errno != EPERM))
      continue;
    reported.push_back(info.path);
    char ids[16];
    std::snprintf(ids, sizeof ids, "%04x:%04x", info.vendor_id, info.product_id);
    hints.push_back("no permission to open " + info.path + " (" + ids +
                    "); install the udev rule " + kUdevRuleFile + " into " + kUdevRulesFolder +
                    ", run 'udevadm control --reload' and plug the device in again");
  }
  return hints;
}

}  // namespace corvane::cli
