// The records the DeviceManager keeps: one KnownDevice per catalogue mode and one
// DeviceEntry per opened configuration interface. Plain data.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "base/device_values.h"
#include "device/hid_backend.h"
#include "protocol/device_info.h"

namespace corvane {

inline constexpr size_t kMaxDevicePathBytes = 1024;

struct KnownDevice {
  int vendor_id = 0;
  int product_id = 0;
  int device_type = 0;
  ConnectionMode mode = ConnectionMode::kWired;
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
  ConnectionMode mode = ConnectionMode::kWired;
  OnlineState online_state = OnlineState::kOnline;
  std::string dev_id;
  std::array<uint8_t, kDeviceInfoSize> device_info{};
  // Whether it ever answered the device-information query.
  bool answered = false;
};

// A copy of an entry without its handle, for callers outside the manager's lock.
struct DeviceEntryInfo {
  int index = 0;
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  std::string path;
  int release_number = 0;
  int device_type = 0;
  ConnectionMode mode = ConnectionMode::kWired;
  OnlineState online_state = OnlineState::kOnline;
  std::string dev_id;
  std::array<uint8_t, kDeviceInfoSize> device_info{};
};

}  // namespace corvane
