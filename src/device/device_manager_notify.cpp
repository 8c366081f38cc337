// DeviceManager's notification side: the idle poll's read and the receivers' link
// check. Link reports (0xC0) change an entry's online state here.
#include <algorithm>
#include <cstring>

#include "device/command_transaction.h"
#include "device/device_manager.h"
#include "protocol/notifications.h"

namespace corvane {
namespace {

constexpr size_t kNotificationLength = kNotificationSize;
constexpr int kActiveNotifyReadMs = 100;
constexpr int kReceiverNotifyReadMs = 10;
// With a wake signal the idle read need not end to let a queued task through, so it waits
// this long: about one wake-up a second while a device sits idle.
constexpr int kWakeableNotifyReadMs = 1000;

}  // namespace

// Called without the lock: identifying a returning mouse queries it, so the lock is
// taken only around the state changes.
void DeviceManager::ApplyLinkReport(DeviceEntry& entry, const uint8_t* data) {
  LinkChange change;
  if (!ParseLinkNotification(data, change)) return;
  const bool linked = change.linked;
  // A mouse that came back may be another model on the same receiver: asked first (the
  // query takes the lock only for its own changes), then the state changes in one go.
  if (linked) IdentifyEntry(entry);
  std::lock_guard relock(mutex_);
  entry.online_state = linked ? OnlineState::kOnline : OnlineState::kOffline;
  SetOnlineState(entry.device_type, entry.mode, entry.online_state);
}

void DeviceManager::KeepLinkBatteryLocked(const uint8_t* data) {
  // A level of 0 means no battery news.
  LinkChange change;
  if (active_entry_ == nullptr || !ParseLinkNotification(data, change) || !change.has_battery) {
    return;
  }
  active_entry_->device_info[kInfoLevelByte] = static_cast<uint8_t>(change.battery.level);
  active_entry_->device_info[kInfoChargingByte] = static_cast<uint8_t>(change.battery.charging);
}

bool DeviceManager::ReadNotification(uint8_t* buffer, int& device_type, ReadWake* wake) {
  if (buffer == nullptr) return false;
  std::unique_lock lock(mutex_);
  if (!opened_) return false;
  device_type = selected_type_;
  if (!held_.empty()) {
    // Read during a command's wait: acted on now, in the order they came.
    std::memset(buffer, 0, kNotificationLength);
    std::memcpy(buffer, held_.front().data(), std::min(held_.front().size(), kNotificationLength));
    held_.erase(held_.begin());
    KeepLinkBatteryLocked(buffer);
    return true;
  }
  if (HidHandle* active = ActiveDeviceLocked()) {
    // Only the worker rebuilds the list and reads, so the handle outlives the read;
    // the interface thread's queries are not held up meanwhile.
    lock.unlock();
    const bool read =
        wake == nullptr
            ? active->ReadTimeout(buffer, kNotificationLength, kActiveNotifyReadMs) > 0
            : active->ReadOrWake(buffer, kNotificationLength, kWakeableNotifyReadMs, *wake) > 0;
    if (read) {
      lock.lock();
      KeepLinkBatteryLocked(buffer);
    }
    return read;
  }
  // The receivers are read without the lock as well, and a link report's identification
  // (up to two device-information queries) too; only the state changes take it again.
  const std::vector<DeviceEntry*> receivers = ReceiverEntriesLocked(false);
  lock.unlock();
  // A single receiver is waited on until a report or a wake-up, as the active interface is.
  const bool wait_for_wake = wake != nullptr && receivers.size() == 1;
  for (DeviceEntry* entry : receivers) {
    uint8_t data[kNotificationLength] = {};
    const int read =
        wait_for_wake
            ? entry->device->ReadOrWake(data, kShortReportLength, kWakeableNotifyReadMs, *wake)
            : entry->device->ReadTimeout(data, kShortReportLength, kReceiverNotifyReadMs);
    if (read <= 0) continue;
    {
      std::lock_guard relock(mutex_);
      device_type = entry->device_type;
    }
    ApplyLinkReport(*entry, data);
    std::memcpy(buffer, data, kNotificationLength);
    break;
  }
  return false;
}

std::vector<DeviceEntry*> DeviceManager::ReceiverEntriesLocked(bool selected_only) const {
  std::vector<DeviceEntry*> receivers;
  for (const auto& entry : entries_) {
    if (entry->mode != ConnectionMode::kReceiver || !entry->device) continue;
    if (selected_only && entry->device_type != selected_type_) continue;
    receivers.push_back(entry.get());
  }
  return receivers;
}

void DeviceManager::PollReceiverOnline() {
  std::unique_lock lock(mutex_);
  const std::vector<DeviceEntry*> receivers = ReceiverEntriesLocked(true);
  lock.unlock();
  for (DeviceEntry* entry : receivers) {
    uint8_t data[kNotificationLength] = {};
    if (entry->device->ReadTimeout(data, kShortReportLength, kReceiverNotifyReadMs) <= 0) continue;
    LinkChange change;
    if (!ParseLinkNotification(data, change)) continue;
    const OnlineState state = change.linked ? OnlineState::kOnline : OnlineState::kOfflinePolled;
    SetOnlineState(entry->device_type, entry->mode, state);
  }
}

}  // namespace corvane
