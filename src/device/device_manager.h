// The one place that knows which mice and receivers are plugged in: the catalogue's
// known devices, one entry per opened configuration interface, and the choice of the
// interface commands go to. A process-wide singleton over an injected HidBackend.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/device_entry.h"
#include "device/hid_backend.h"
#include "device/command_transaction.h"

namespace corvane {

// Collections a configuration interface may have; every other one is rejected.
inline constexpr uint16_t kConfigUsagePageA = 0x0001;
inline constexpr uint16_t kConfigUsageA = 0x0000;
inline constexpr uint16_t kConfigUsagePageB = 0xFF01;
inline constexpr uint16_t kConfigUsageB = 0x0010;
inline constexpr int kDeviceInfoRetryMs = 500;
inline constexpr size_t kProductStringMaxChars = 512;

// Whether a top-level collection is one of the two configuration collections.
bool IsConfigCollection(uint16_t usage_page, uint16_t usage);

class DeviceManager {
 public:
  // A manager without a back end: enumeration finds nothing until SetBackend.
  DeviceManager();
  ~DeviceManager();
  DeviceManager(const DeviceManager&) = delete;
  DeviceManager& operator=(const DeviceManager&) = delete;

  // The process-wide instance, created on first use.
  static DeviceManager& Instance();

  // Closes every interface and replaces the back end (null = none). Also how tests
  // put a fresh fake under the singleton; known devices and selection are kept.
  void SetBackend(std::shared_ptr<HidBackend> backend);
  // The back end in use; null when none was set.
  std::shared_ptr<HidBackend> Backend() const;
  // Test knob: the pause before the second device-information query.
  void SetRetryDelay(std::chrono::milliseconds delay);

  // Known devices, in catalogue order.
  void AddKnownDevice(int vid, int pid, int device_type, ConnectionMode mode,
                      const std::string& dev_id);
  void ClearKnownDevices();
  // Whether any known device has both ids.
  bool IsKnown(int vid, int pid) const;
  // Mode of the first known device with both ids; wired when none.
  ConnectionMode ConnectionModeOf(int vid, int pid) const;
  // kIdsOnlyDeviceType for a known mode without a full dev_id, its type for an exact dev_id match,
  // 0 when no known device of these ids accepts `dev_id`. The first hit wins.
  int LookupDeviceType(int vid, int pid, const std::string& dev_id) const;

  // Opens every known configuration interface and identifies it (callers CloseAll first).
  void EnumerateDevice();
  // Only when opened: clears opened, closes and deletes every entry.
  void CloseAll();
  // Marks the manager usable for commands (set right after a rebuild's enumeration).
  void SetOpened(bool opened);
  // Whether an enumeration has run since the last CloseAll.
  bool IsOpened() const;

  // Without a device: copies the active entry's stored 65-byte reply. False when
  // there is no active entry.
  bool QueryDeviceInfo(uint8_t* reply);
  // Sets the selected device type and forgets the active interface.
  void SelectDeviceType(int device_type);
  // The selected device type (0 = none).
  int SelectedDeviceType() const;
  // Forgets the cached active interface.
  void ClearActiveCache();
  // The interface commands go to: wired entry of the selected type, else its receiver
  // entry while online; null otherwise. Valid until the entry list is rebuilt.
  HidHandle* ActiveDevice();
  // Wired when an entry of the selected type is wired, else receiver when one is wireless,
  // else none.
  ConnectionMode ActiveConnectionMode() const;
  // Ids of the active interface's entry. False when there is none.
  bool ActiveVidPid(int& vid, int& pid);
  // All entries (no selection) or those of the selected type. False when no entries.
  bool EntriesOfSelected(std::vector<DeviceEntryInfo>& list) const;
  // As EntriesOfSelected, but with a selection only the wireless entries.
  bool WirelessEntriesOfSelected(std::vector<DeviceEntryInfo>& list) const;
  // Snapshot of every entry in enumeration order.
  std::vector<DeviceEntryInfo> Entries() const;
  // True when an opened entry did not say which mouse it is (it refused, or was busy).
  bool HasUnnamedEntries() const;
  // Asks those entries again. True when one of them answered now.
  bool NameUnnamedEntries();
  // An entry of `device_type` with a dev_id whose online state is above 0.
  bool IsDevicePresent(int device_type) const;
  // Only when opened: release number of the first entry with `mode`. False when none.
  bool ReleaseNumberOf(ConnectionMode mode, int& release_number) const;
  // Sets the online state of every entry with that type and mode.
  void SetOnlineState(int device_type, ConnectionMode mode, OnlineState state);

  // The command transaction on the active interface. False when not opened, when
  // there is no active interface (buffer unchanged), or when no reply accepted it.
  // Notifications read during the transaction are kept for ReadNotification.
  bool SendCommand(uint8_t* buffer, size_t length);
  // Once `stop` (may be null; it must outlive its use here) is raised, a command's reply
  // wait ends at once and the command fails: the program is shutting down.
  void SetStopSignal(ReadWake* stop) { stop_.store(stop); }
  // How the last SendCommand ended (kWriteFailed also for no interface).
  CommandOutcome LastCommandOutcome() const;
  // One notification read for the idle poll; `device_type` gets the selected type or
  // the receiver's that answered. True only when the active interface gave bytes.
  // A notification kept from a command's wait is handed out first, without a read.
  // With `wake`, the read waits up to a second but ends as soon as `wake` is raised, so a
  // queued task is not held up; without it, it lasts as long as the manager's own reads.
  bool ReadNotification(uint8_t* buffer, int& device_type, ReadWake* wake = nullptr);
  // Asks every receiver of the selected type whether its mouse is linked.
  void PollReceiverOnline();

 private:
  // Opens, checks and identifies one enumerated interface; null when rejected.
  std::unique_ptr<DeviceEntry> OpenEntry(const HidInterfaceInfo& info);
  // Queries device information, once more after the retry pause, without holding the
  // lock; updates the entry under it.
  bool IdentifyEntry(DeviceEntry& entry);
  // A receiver's link report (0xC0) changes its online state and, when linked, asks it
  // who it is again. Other reports change nothing. Called without the lock.
  void ApplyLinkReport(DeviceEntry& entry, const uint8_t* data);
  // A link report read from the active interface carries the battery now: the active
  // entry's stored device information takes it, so a read-back does not show an older one.
  void KeepLinkBatteryLocked(const uint8_t* data);
  DeviceEntryInfo InfoOf(const DeviceEntry& entry) const;
  // Receiver entries with an interface (of the selected type only when asked). Only the
  // worker rebuilds the list, so it may read them after letting go of the lock.
  std::vector<DeviceEntry*> ReceiverEntriesLocked(bool selected_only) const;
  ConnectionMode ActiveConnectionModeLocked() const;
  HidHandle* ActiveDeviceLocked();

  mutable std::recursive_mutex mutex_;
  std::shared_ptr<HidBackend> backend_;
  std::vector<KnownDevice> known_;
  std::vector<std::unique_ptr<DeviceEntry>> entries_;
  bool opened_ = false;
  int selected_type_ = 0;
  HidHandle* active_device_ = nullptr;
  DeviceEntry* active_entry_ = nullptr;
  std::chrono::milliseconds retry_delay_{kDeviceInfoRetryMs};
  CommandOutcome last_outcome_ = CommandOutcome::kAccepted;
  // The interface whose last command got no reply: its late reply may still come.
  HidHandle* late_reply_from_ = nullptr;
  HeldNotifications held_;  // read during command waits, oldest first
  std::atomic<ReadWake*> stop_{nullptr};
};

}  // namespace corvane
