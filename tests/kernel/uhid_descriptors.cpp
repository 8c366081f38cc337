// The descriptors are written out item by item so a reader can check them against
// HID 1.11 without a tool; the comments name each item.
#include "kernel/uhid_descriptors.h"

#include "device/report_descriptor.h"
#include "sim/sim_upgrade.h"

namespace corvane::uhid {
namespace {

// An application collection named by `usage` (its Usage Page and Usage items) holding
// `bytes` vendor bytes in and as many out, numbered `report_id` (0: unnumbered).
std::vector<uint8_t> VendorCollection(std::vector<uint8_t> usage, uint8_t report_id,
                                      uint8_t bytes) {
  std::vector<uint8_t> d = std::move(usage);
  d.insert(d.end(), {0xA1, 0x01});                           // Collection (Application)
  if (report_id != 0) d.insert(d.end(), {0x85, report_id});  // Report ID
  // clang-format off
  d.insert(d.end(), {0x06, 0x00, 0xFF,        // Usage Page (vendor 0xFF00): fields stay out of input
                     0x15, 0x00,              // Logical Minimum 0
                     0x26, 0xFF, 0x00,        // Logical Maximum 255
                     0x75, 0x08,              // Report Size 8
                     0x95, bytes,             // Report Count
                     0x09, 0x01, 0x81, 0x02,  // Usage 1, Input (Data, Var, Abs)
                     0x95, bytes,             // Report Count
                     0x09, 0x02, 0x91, 0x02,  // Usage 2, Output (Data, Var, Abs)
                     0xC0});                  // End Collection
  // clang-format on
  return d;
}

// Configuration collection: 64 bytes each way, unnumbered. The cable's and the
// receiver's differ in their top-level usage, as the two real devices do.
std::vector<uint8_t> ConfigDescriptor(SimLink link) {
  if (link == SimLink::kWired)
    return VendorCollection({0x06, 0x01, 0xFF, 0x09, 0x10}, 0, 64);  // 0xFF01 / 0x10
  return VendorCollection({0x05, 0x01, 0x09, 0x00}, 0, 64);          // Generic Desktop / 0x00
}

// Upgrade collection: usage page 0xFFEF, report id 5, 63 bytes each way (64 with the id).
std::vector<uint8_t> UpgradeDescriptor() {
  return VendorCollection({0x06, 0xEF, 0xFF, 0x09, 0x00}, kUpgradeReportId, 63);
}

// clang-format off
// The boot-protocol mouse: three buttons, X, Y and wheel.
const std::vector<uint8_t> kMouseDescriptor = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01,  // Generic Desktop, Mouse, Collection (Application)
    0x09, 0x01, 0xA1, 0x00,              //   Pointer, Collection (Physical)
    0x05, 0x09, 0x19, 0x01, 0x29, 0x03,  //     Buttons 1..3
    0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x05, 0x81, 0x03,  //     padding to a byte
    0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09, 0x38,  // X, Y, Wheel
    0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x03, 0x81, 0x06,
    0xC0, 0xC0};

// The boot-protocol keyboard: modifiers, LEDs out, six key codes.
const std::vector<uint8_t> kKeyboardDescriptor = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01,  // Generic Desktop, Keyboard, Collection (Application)
    0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7,  //   modifier keys
    0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x08, 0x81, 0x03,  //   reserved byte
    0x95, 0x05, 0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02,  // LEDs
    0x95, 0x01, 0x75, 0x03, 0x91, 0x03,  //   LED padding
    0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x25, 0x65,
    0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00,  // key codes
    0xC0};
// clang-format on

}  // namespace

std::vector<uint8_t> ReportDescriptor(SimLink link, SimCollection collection) {
  switch (collection) {
    case SimCollection::kMouse:
      return kMouseDescriptor;
    case SimCollection::kKeyboard:
      return kKeyboardDescriptor;
    case SimCollection::kConfig:
      return ConfigDescriptor(link);
    case SimCollection::kUpgrade:
      return UpgradeDescriptor();
  }
  return {};
}

size_t WholeOutputReportBytes(SimLink link, SimCollection collection) {
  // hidraw passes an unnumbered report's leading 0x00 along, so both count the id byte.
  uint8_t report_id = 0;
  switch (collection) {
    case SimCollection::kConfig:
      break;
    case SimCollection::kUpgrade:
      report_id = kUpgradeReportId;
      break;
    case SimCollection::kMouse:
    case SimCollection::kKeyboard:
      return 0;
  }
  const std::vector<uint8_t> descriptor = ReportDescriptor(link, collection);
  const size_t data = OutputReportBytes(descriptor.data(), descriptor.size(), report_id);
  return data == 0 ? 0 : 1 + data;
}

}  // namespace corvane::uhid
