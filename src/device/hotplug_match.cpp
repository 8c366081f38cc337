// The arrival/removal rule: catalogue order, first match only, collection rule on
// arrival, configuration interface number on removal.
#include "device/hotplug_match.h"

#include "base/trace.h"
#include "device/device_manager.h"

namespace corvane {
namespace {

const KnownDevice* FirstWithIds(const std::vector<KnownDevice>& catalogue, int vid, int pid) {
  for (const KnownDevice& known : catalogue) {
    if (known.vendor_id == vid && known.product_id == pid) return &known;
  }
  return nullptr;
}

}  // namespace

HotplugAction MatchHotplugEvent(const HotplugEvent& event, const std::vector<KnownDevice>& catalogue,
                                bool idle_poll) {
  Trace("UpdateUSBDevice path: %s", event.path.c_str());
  if (FirstWithIds(catalogue, event.vendor_id, event.product_id) == nullptr) {
    return HotplugAction::kNothing;
  }
  switch (event.action) {
    case HotplugEvent::Action::kArrival:
      if (!event.collections_read) return HotplugAction::kNothing;
      for (const HidCollectionUsage& collection : event.collections) {
        if (IsConfigCollection(collection.usage_page, collection.usage)) {
          return HotplugAction::kPostRefresh;
        }
      }
      return HotplugAction::kNothing;
    case HotplugEvent::Action::kRemoval:
      if (idle_poll && event.interface_number == kRemovalInterfaceNumber) {
        return HotplugAction::kPostReenumerate;
      }
      return HotplugAction::kNothing;
    case HotplugEvent::Action::kOther:
      break;
  }
  return HotplugAction::kNothing;
}

std::optional<WorkerTask> TaskOf(HotplugAction action) {
  switch (action) {
    case HotplugAction::kPostRefresh:
      return WorkerTask::kArrival;
    case HotplugAction::kPostReenumerate:
      return WorkerTask::kRemoval;
    case HotplugAction::kNothing: break;
  }
  return std::nullopt;
}

}  // namespace corvane
