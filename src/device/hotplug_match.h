// Decides what an interface arriving or leaving means for the device list: rebuild
// everything (WorkerTask::kArrival), re-enumerate (WorkerTask::kRemoval), or nothing.
// Pure, so it is tested with synthetic events; HidrawMonitor produces the real ones.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/worker_task.h"
#include "device/device_entry.h"
#include "device/report_descriptor.h"

namespace corvane {

// Only this interface's removal is acted on (the receiver's configuration interface).
inline constexpr int kRemovalInterfaceNumber = 2;

struct HotplugEvent {
  enum class Action { kArrival, kRemoval, kOther };
  Action action = Action::kOther;
  std::string path;  // device node, for tracing
  int vendor_id = 0;
  int product_id = 0;
  int interface_number = -1;
  // Whether the arriving interface's descriptor could be read, and its collections.
  bool collections_read = false;
  std::vector<HidCollectionUsage> collections;
};

enum class HotplugAction { kNothing, kPostRefresh, kPostReenumerate };

// Arrival: the first catalogue entry with the event's ids decides; a configuration
// collection posts kArrival, anything else nothing. Removal (only while `idle_poll` is
// on): the first entry with the ids and interface 2 posts kRemoval.
HotplugAction MatchHotplugEvent(const HotplugEvent& event, const std::vector<KnownDevice>& catalogue,
                                bool idle_poll);

// The task an action posts; none for kNothing.
std::optional<WorkerTask> TaskOf(HotplugAction action);

}  // namespace corvane
