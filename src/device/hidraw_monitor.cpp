// libudev side of arrival and removal: ids from the parent hid device's HID_ID, the
// interface number from the parent USB interface (else from HID_PHYS), collections
// from the descriptor.
#include "device/hidraw_monitor.h"

#include <libudev.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace corvane {
namespace {

constexpr char kSubsystem[] = "hidraw";
constexpr size_t kMaxDescriptorBytes = 4096;

std::vector<HidCollectionUsage> ReadCollections(const char* syspath, bool& ok) {
  ok = false;
  if (syspath == nullptr) return {};
  std::ifstream in(std::string(syspath) + "/device/report_descriptor", std::ios::binary);
  if (!in) return {};
  std::vector<uint8_t> bytes;
  std::istreambuf_iterator<char> it(in), end;
  for (; it != end && bytes.size() < kMaxDescriptorBytes; ++it) bytes.push_back(static_cast<uint8_t>(*it));
  ok = true;
  return ParseTopLevelCollections(bytes.data(), bytes.size());
}

}  // namespace

void HidrawMonitor::UdevDeleter::operator()(udev* context) const { udev_unref(context); }
void HidrawMonitor::UdevDeleter::operator()(udev_monitor* monitor) const { udev_monitor_unref(monitor); }
void HidrawMonitor::UdevDeleter::operator()(udev_device* device) const { udev_device_unref(device); }

HidrawMonitor::HidrawMonitor() = default;
HidrawMonitor::~HidrawMonitor() = default;

HotplugEvent HidrawMonitor::Describe(udev_device* device) {
  HotplugEvent event;
  if (const char* node = udev_device_get_devnode(device)) event.path = node;
  // Parents belong to `device`; they are not unreferenced separately.
  udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr);
  if (hid != nullptr) {
    if (const char* id = udev_device_get_property_value(hid, "HID_ID")) {
      unsigned bus = 0, vid = 0, pid = 0;
      if (std::sscanf(id, "%x:%x:%x", &bus, &vid, &pid) == 3) {
        event.vendor_id = static_cast<int>(vid & 0xFFFF);
        event.product_id = static_cast<int>(pid & 0xFFFF);
      }
    }
  }
  if (udev_device* usb = udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_interface")) {
    if (const char* number = udev_device_get_sysattr_value(usb, "bInterfaceNumber")) {
      unsigned value = 0;
      if (std::sscanf(number, "%x", &value) == 1) event.interface_number = static_cast<int>(value);
    }
  } else if (hid != nullptr) {
    if (const char* phys = udev_device_get_property_value(hid, "HID_PHYS")) {
      event.interface_number = InterfaceNumberFromPhys(phys);
    }
  }
  event.collections = ReadCollections(udev_device_get_syspath(device), event.collections_read);
  return event;
}

bool HidrawMonitor::Start() {
  udev_.reset(udev_new());
  if (!udev_) return false;
  monitor_.reset(udev_monitor_new_from_netlink(udev_.get(), "udev"));
  if (!monitor_) return false;
  if (udev_monitor_filter_add_match_subsystem_devtype(monitor_.get(), kSubsystem, nullptr) < 0 ||
      udev_monitor_enable_receiving(monitor_.get()) < 0) {
    monitor_.reset();
    return false;
  }
  struct EnumerateDeleter {
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
  };
  std::unique_ptr<udev_enumerate, EnumerateDeleter> walk(udev_enumerate_new(udev_.get()));
  if (!walk) return true;
  udev_enumerate_add_match_subsystem(walk.get(), kSubsystem);
  udev_enumerate_scan_devices(walk.get());
  udev_list_entry* item = nullptr;
  udev_list_entry_foreach(item, udev_enumerate_get_list_entry(walk.get())) {
    std::unique_ptr<udev_device, UdevDeleter> device(
        udev_device_new_from_syspath(udev_.get(), udev_list_entry_get_name(item)));
    if (!device) continue;
    HotplugEvent known = Describe(device.get());
    if (!known.path.empty()) known_nodes_[known.path] = known;
  }
  return true;
}

int HidrawMonitor::Fd() const { return monitor_ ? udev_monitor_get_fd(monitor_.get()) : -1; }

bool HidrawMonitor::ReadEvent(HotplugEvent& event) {
  if (!monitor_) return false;
  std::unique_ptr<udev_device, UdevDeleter> device(udev_monitor_receive_device(monitor_.get()));
  if (!device) return false;
  const char* action = udev_device_get_action(device.get());
  const std::string verb = action != nullptr ? action : "";
  const char* node = udev_device_get_devnode(device.get());
  const std::string path = node != nullptr ? node : "";
  if (verb == "add") {
    event = Describe(device.get());
    event.action = HotplugEvent::Action::kArrival;
    if (!event.path.empty()) known_nodes_[event.path] = event;
  } else if (verb == "remove") {
    // The node's sysfs entries are gone; use what was seen when it appeared.
    auto it = known_nodes_.find(path);
    event = it != known_nodes_.end() ? it->second : HotplugEvent{};
    event.path = path;
    event.action = HotplugEvent::Action::kRemoval;
    if (it != known_nodes_.end()) known_nodes_.erase(it);
  } else {
    event = HotplugEvent{};
    event.path = path;
  }
  return true;
}

}  // namespace corvane
