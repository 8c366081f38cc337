// The records the DeviceManager keeps: one KnownDevice per catalogue mode and one
// DeviceEntry per opened configuration interface. Plain data.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "device/hid_backend.h"

namespace corvane {

inline constexpr int kEntryModeWired = 0;
inline constexpr int kEntryModeWireless = 1;
inline constexpr int kOnline = 1;
inline constexpr int kOfflineNotified = 0;
inline constexpr int kOfflineAnswered = 2;
// Device type given to an interface matched by vendor/product id alone.
inline constexpr int kDeviceTypeByIdsOnly = 101;
inline constexpr size_t kDevIdLength = 4;
inline constexpr size_t kDeviceInfoSize = 65;
inline constexpr size_t kMaxDevicePathBytes = 1024;

struct KnownDevice {
  int vendor_id = 0;
  int product_id = 0;
  int device_type = 0;
  int mode = kEntryModeWired;
  std::string dev_id;  // UTF-8; fewer than 4 characters accepts any firmware id
};

struct DeviceEntry {
  int index = 0;
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  std::string path;
  std::u16string product_string;
  std::unique_ptr<HidHandle> device;
  int release_number = 0;
  int device_type = 0;
  int mode = kEntryModeWired;
  int online_state = kOnline;
  std::string dev_id;
  std::array<uint8_t, kDeviceInfoSize> device_info{};
};

// A copy of an entry without its handle, for callers outside the manager's lock.
struct DeviceEntryInfo {
  int index = 0;
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  std::string path;
  int release_number = 0;
  int device_type = 0;
  int mode = kEntryModeWired;
  int online_state = kOnline;
  std::string dev_id;
  std::array<uint8_t, kDeviceInfoSize> device_info{};
};

}  // namespace corvane
