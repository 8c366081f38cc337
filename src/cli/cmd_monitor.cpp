// corvane-cli monitor [COUNT]: hidraw nodes coming and going, as the window's hot-plug
// watcher sees them: ids, interface, collections, the catalogue model they belong to
// and the task the window would post. After a task the device list is rebuilt and
// printed, so the match can be checked against what is really there.
#include <poll.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "device/device_manager.h"
#include "device/hidraw_monitor.h"
#include "device/hotplug_match.h"

namespace corvane::cli {
namespace {

const char* ActionName(HotplugEvent::Action action) {
  return action == HotplugEvent::Action::kArrival ? "arrival" : "removal";
}

int CatalogueTypeOf(const std::vector<KnownDevice>& known, const HotplugEvent& event) {
  for (const KnownDevice& device : known) {
    if (device.vendor_id == event.vendor_id && device.product_id == event.product_id)
      return device.device_type;
  }
  return 0;
}

void PrintEvent(const CliOptions& options, const HotplugEvent& event, int device_type, int task,
                const std::vector<DeviceEntryInfo>* entries) {
  if (options.json) {
    JsonWriter json;
    json.BeginObject()
        .StringMember("action", ActionName(event.action))
        .StringMember("path", event.path)
        .IntMember("vid", event.vendor_id)
        .IntMember("pid", event.product_id)
        .IntMember("interface", event.interface_number)
        .Key("collections")
        .BeginArray();
    for (const HidCollectionUsage& collection : event.collections) {
      json.BeginObject()
          .IntMember("usage_page", collection.usage_page)
          .IntMember("usage", collection.usage)
          .EndObject();
    }
    json.EndArray().IntMember("device_type", device_type).IntMember("task", task);
    if (entries != nullptr) WriteEntriesMember(json, *entries);
    json.EndObject();
    std::printf("%s\n", json.Text().c_str());
  } else {
    std::printf("%s %s %04x:%04x interface %d, model %d: %s\n", ActionName(event.action),
                event.path.c_str(), event.vendor_id, event.product_id, event.interface_number,
                device_type,
                task == 0 ? "nothing to do" : ("task " + std::to_string(task)).c_str());
    if (entries != nullptr) PrintEntries(*entries);
  }
  std::fflush(stdout);
}

int RunMonitor(const CliOptions& options, const std::vector<std::string>& args) {
  int count = 0;  // 0: until interrupted
  if (args.size() > 1 || (args.size() == 1 && (!ParseCliNumber(args[0], count) || count < 1))) {
    return CliFail("usage: monitor [COUNT]");
  }
  if (!options.simulate.empty())
    return CliFail("monitor watches real devices; it has no --simulate");
  CliSession session;
  std::string error;
  if (!session.Open(options, error)) return CliFail(error);
  HidrawMonitor monitor;
  if (!monitor.Start()) return CliFail("cannot watch hidraw devices: udev is not available");
  std::fprintf(stderr, "corvane-cli: watching hidraw devices\n");
  const std::vector<KnownDevice> known = session.Session().Model().KnownDevices();
  for (int seen = 0; count == 0 || seen < count;) {
    pollfd fds{monitor.Fd(), POLLIN, 0};
    if (::poll(&fds, 1, -1) <= 0) continue;
    HotplugEvent event;
    while ((count == 0 || seen < count) && monitor.ReadEvent(event)) {
      if (event.action != HotplugEvent::Action::kOther) {
        ++seen;
        const HotplugAction action =
            MatchHotplugEvent(event, known, session.Session().State().IdlePoll());
        const std::optional<WorkerTask> posted = TaskOf(action);
        const int task = posted ? TaskNumber(*posted) : 0;
        if (task == 0) {
          PrintEvent(options, event, CatalogueTypeOf(known, event), task, nullptr);
        } else {
          // What the posted task would find: the list rebuilt without reading the mouse.
          session.Enumerate();
          const std::vector<DeviceEntryInfo> entries = DeviceManager::Instance().Entries();
          PrintEvent(options, event, CatalogueTypeOf(known, event), task, &entries);
        }
      }
      event = HotplugEvent{};
    }
  }
  return 0;
}

const CliRegistrar kMonitorCommand("monitor", "monitor [COUNT]", RunMonitor);

}  // namespace
}  // namespace corvane::cli
