// DeviceManager's notification side: the idle poll's read and the receivers' link
// check. Link reports (0xC0) change an entry's online state here.
#include <cstring>

#include "device/command_transaction.h"
#include "device/device_manager.h"

namespace corvane {
namespace {

constexpr uint8_t kLinkNotification = 0xC0;
constexpr uint8_t kLinked = 1;
constexpr size_t kNotificationLength = 65;
constexpr int kActiveNotifyReadMs = 100;
constexpr int kReceiverNotifyReadMs = 10;
// With a wake signal the idle read need not end to let a queued task through, so it waits
// this long: about one wake-up a second while a device sits idle.
constexpr int kWakeableNotifyReadMs = 1000;

}  // namespace

void DeviceManager::ApplyLinkReport(DeviceEntry& entry, const uint8_t* data) {
  if (data[0] != kLinkNotification) return;
  if (data[1] == kLinked) {
    entry.online_state = OnlineState::kOnline;
    IdentifyEntry(entry);
  } else {
    entry.online_state = OnlineState::kOffline;
  }
  SetOnlineState(entry.device_type, entry.mode, entry.online_state);
}

bool DeviceManager::ReadNotification(uint8_t* buffer, int& device_type, ReadWake* wake) {
  if (buffer == nullptr) return false;
  std::unique_lock lock(mutex_);
  if (!opened_) return false;
  device_type = selected_type_;
  if (HidHandle* active = ActiveDeviceLocked()) {
    // Only the worker rebuilds the list and reads, so the handle outlives the read;
    // the interface thread's queries are not held up meanwhile.
    lock.unlock();
    if (wake == nullptr) return active->ReadTimeout(buffer, kNotificationLength, kActiveNotifyReadMs) > 0;
    return active->ReadOrWake(buffer, kNotificationLength, kWakeableNotifyReadMs, *wake) > 0;
  }
  std::vector<DeviceEntry*> receivers;
  for (const auto& entry : entries_) {
    if (entry->mode == ConnectionMode::kReceiver && entry->device) receivers.push_back(entry.get());
  }
  uint8_t data[kNotificationLength] = {};
  if (wake != nullptr && receivers.size() == 1) {
    // One receiver: wait on it alone, without the lock, as for the active interface.
    lock.unlock();
    if (receivers[0]->device->ReadOrWake(data, kShortCommandLength, kWakeableNotifyReadMs, *wake) <= 0) {
      return false;
    }
    lock.lock();
    device_type = receivers[0]->device_type;
    ApplyLinkReport(*receivers[0], data);
    std::memcpy(buffer, data, kNotificationLength);
    return false;
  }
  for (DeviceEntry* entry : receivers) {
    if (entry->device->ReadTimeout(data, kShortCommandLength, kReceiverNotifyReadMs) <= 0) continue;
    device_type = entry->device_type;
    ApplyLinkReport(*entry, data);
    std::memcpy(buffer, data, kNotificationLength);
    break;
  }
  return false;
}

void DeviceManager::PollReceiverOnline() {
  std::lock_guard lock(mutex_);
  for (const auto& entry : entries_) {
    if (entry->mode != ConnectionMode::kReceiver || entry->device_type != selected_type_ ||
        !entry->device)
      continue;
    uint8_t data[kNotificationLength] = {};
    if (entry->device->ReadTimeout(data, kShortCommandLength, kReceiverNotifyReadMs) <= 0) continue;
    if (data[0] != kLinkNotification) continue;
    const OnlineState state =
        data[1] == kLinked ? OnlineState::kOnline : OnlineState::kOfflinePolled;
    SetOnlineState(entry->device_type, entry->mode, state);
  }
}

}  // namespace corvane
