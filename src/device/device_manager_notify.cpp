// DeviceManager's notification side: the idle poll's read and the receivers' link
// check. Link reports (0xC0) change an entry's online state here.
#include <cstring>

#include "device/device_manager.h"
#include "protocol/command_transaction.h"

namespace corvane {
namespace {

constexpr uint8_t kLinkNotification = 0xC0;
constexpr uint8_t kLinked = 1;
constexpr size_t kNotificationLength = 65;
constexpr int kActiveNotifyReadMs = 100;
constexpr int kReceiverNotifyReadMs = 10;
// The active interface's read is cut into slices this long to notice queued tasks.
constexpr int kNotifySliceMs = 10;

}  // namespace

bool DeviceManager::ReadNotification(uint8_t* buffer, int& device_type,
                                     const std::function<bool()>& interrupted) {
  if (buffer == nullptr) return false;
  std::unique_lock lock(mutex_);
  if (!opened_) return false;
  device_type = selected_type_;
  if (HidHandle* active = ActiveDeviceLocked()) {
    // Only the worker rebuilds the list and reads, so the handle outlives the read;
    // the interface thread's queries are not held up meanwhile.
    lock.unlock();
    if (!interrupted) return active->ReadTimeout(buffer, kNotificationLength, kActiveNotifyReadMs) > 0;
    for (int waited = 0; waited < kActiveNotifyReadMs && !interrupted(); waited += kNotifySliceMs) {
      if (active->ReadTimeout(buffer, kNotificationLength, kNotifySliceMs) > 0) return true;
    }
    return false;
  }
  for (const auto& entry : entries_) {
    if (entry->mode != ConnectionMode::kReceiver || !entry->device) continue;
    uint8_t data[kNotificationLength] = {};
    if (entry->device->ReadTimeout(data, kShortCommandLength, kReceiverNotifyReadMs) <= 0) continue;
    device_type = entry->device_type;
    if (data[0] == kLinkNotification) {
      if (data[1] == kLinked) {
        entry->online_state = OnlineState::kOnline;
        IdentifyEntry(*entry);
      } else {
        entry->online_state = OnlineState::kOffline;
      }
      SetOnlineState(entry->device_type, entry->mode, entry->online_state);
    }
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
