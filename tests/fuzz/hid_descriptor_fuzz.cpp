// libFuzzer target: arbitrary bytes as a HID report descriptor, and the collections found
// fed to the hot-plug matching as an arriving and a leaving interface.
#include <cstddef>
#include <cstdint>

#include "device/hotplug_match.h"
#include "device/report_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using corvane::HotplugEvent;
  const auto collections = corvane::ParseTopLevelCollections(data, size);
  if (collections.size() > size) __builtin_trap();  // every collection costs descriptor bytes
  // The leading bytes double as the event's ids, so matching and non-matching ids both occur.
  HotplugEvent event;
  event.vendor_id = size > 1 ? data[0] | (data[1] << 8) : 0;
  event.product_id = size > 3 ? data[2] | (data[3] << 8) : 0;
  event.interface_number = size > 4 ? data[4] % 4 : -1;
  event.collections_read = size % 2 == 0;
  event.collections = collections;
  const std::vector<corvane::KnownDevice> known = {
      {event.vendor_id, event.product_id, 11, corvane::ConnectionMode::kWired, "ABCD"},
      {0x1234, 0x5678, 12, corvane::ConnectionMode::kReceiver, ""}};
  for (auto action : {HotplugEvent::Action::kArrival, HotplugEvent::Action::kRemoval,
                      HotplugEvent::Action::kOther}) {
    event.action = action;
    corvane::TaskOf(corvane::MatchHotplugEvent(event, known, true));
    corvane::TaskOf(corvane::MatchHotplugEvent(event, known, false));
  }
  return 0;
}
