// DeviceManager: known devices, enumeration and identification, the active-interface
// choice and the read-only queries, all under one lock so the window's queries never
// see the entry list half rebuilt. Notification reads are in device_manager_notify.cpp.
#include "device/device_manager.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "base/trace.h"
#include "device/command_transaction.h"

namespace corvane {
namespace {

// Number of characters (not bytes) of a UTF-8 text.
size_t Utf8Length(const std::string& text) {
  size_t count = 0;
  for (unsigned char c : text) count += (c & 0xC0) != 0x80;
  return count;
}

}  // namespace

bool IsConfigCollection(uint16_t usage_page, uint16_t usage) {
  return (usage_page == kConfigUsagePageA && usage == kConfigUsageA) ||
         (usage_page == kConfigUsagePageB && usage == kConfigUsageB);
}

DeviceManager::DeviceManager() = default;

DeviceManager::~DeviceManager() {
  std::lock_guard lock(mutex_);
  entries_.clear();  // handles go before the back end that made them
}

DeviceManager& DeviceManager::Instance() {
  static DeviceManager manager;
  return manager;
}

void DeviceManager::SetBackend(std::shared_ptr<HidBackend> backend) {
  std::lock_guard lock(mutex_);
  CloseAll();
  entries_.clear();
  ClearActiveCache();
  held_.clear();
  backend_ = std::move(backend);
}

std::shared_ptr<HidBackend> DeviceManager::Backend() const {
  std::lock_guard lock(mutex_);
  return backend_;
}

void DeviceManager::SetRetryDelay(std::chrono::milliseconds delay) {
  std::lock_guard lock(mutex_);
  retry_delay_ = delay;
}

void DeviceManager::AddKnownDevice(int vid, int pid, int device_type, ConnectionMode mode,
                                   const std::string& dev_id) {
  std::lock_guard lock(mutex_);
  known_.push_back({vid, pid, device_type, mode, dev_id});
}

void DeviceManager::ClearKnownDevices() {
  std::lock_guard lock(mutex_);
  known_.clear();
}

bool DeviceManager::IsKnown(int vid, int pid) const {
  std::lock_guard lock(mutex_);
  for (const KnownDevice& known : known_) {
    if (known.vendor_id == vid && known.product_id == pid) return true;
  }
  return false;
}

ConnectionMode DeviceManager::ConnectionModeOf(int vid, int pid) const {
  std::lock_guard lock(mutex_);
  for (const KnownDevice& known : known_) {
    if (known.vendor_id == vid && known.product_id == pid) return known.mode;
  }
  return ConnectionMode::kWired;
}

int DeviceManager::LookupDeviceType(int vid, int pid, const std::string& dev_id) const {
  std::lock_guard lock(mutex_);
  for (const KnownDevice& known : known_) {
    if (known.vendor_id != vid || known.product_id != pid) continue;
    if (Utf8Length(known.dev_id) < kDevIdLength) return kIdsOnlyDeviceType;
    if (known.dev_id == dev_id) return known.device_type;
  }
  return 0;
}

bool DeviceManager::IdentifyEntry(DeviceEntry& entry) {
  std::chrono::milliseconds retry_delay;
  {
    std::lock_guard lock(mutex_);
    retry_delay = retry_delay_;
  }
  uint8_t reply[kDeviceInfoSize] = {};
  ReadWake* stop = stop_.load();
  bool ok = corvane::QueryDeviceInfo(*entry.device, reply, stop);
  if (!ok && (stop == nullptr || !stop->Raised())) {
    std::this_thread::sleep_for(retry_delay);
    ok = corvane::QueryDeviceInfo(*entry.device, reply, stop);
  }
  if (!ok) return false;
  const std::string dev_id = DevIdFromDeviceInfo(reply);
  const int device_type = LookupDeviceType(entry.vendor_id, entry.product_id, dev_id);
  std::lock_guard lock(mutex_);
  std::memcpy(entry.device_info.data(), reply, kDeviceInfoSize);
  entry.dev_id = dev_id;
  entry.device_type = device_type;
  entry.answered = true;
  Trace("EnumerateDevice!, GetDeviceId: %s, GetDeviceType: %d", entry.dev_id.c_str(),
        entry.device_type);
  return true;
}

std::unique_ptr<DeviceEntry> DeviceManager::OpenEntry(const HidInterfaceInfo& info) {
  if (!IsKnown(info.vendor_id, info.product_id)) return nullptr;
  // A longer path cannot be kept whole, and a cut one would name another device.
  if (info.path.empty() || info.path.size() > kMaxDevicePathBytes) return nullptr;
  std::unique_ptr<HidHandle> device = backend_->Open(info.path);
  if (!device) return nullptr;
  Trace("EnumerateDevice UsagePage: %X, Usage: %X", info.usage_page, info.usage);
  if (!IsConfigCollection(info.usage_page, info.usage)) return nullptr;  // closes it
  Trace("Open hid Device Suc!");
  auto entry = std::make_unique<DeviceEntry>();
  std::u16string product = device->ProductString();
  if (product.size() > kProductStringMaxChars) product.resize(kProductStringMaxChars);
  entry->product_string = std::move(product);
  entry->index = static_cast<int>(entries_.size());
  entry->vendor_id = info.vendor_id;
  entry->product_id = info.product_id;
  entry->device = std::move(device);
  entry->release_number = info.release_number;
  entry->mode = ConnectionModeOf(info.vendor_id, info.product_id);
  entry->online_state = OnlineState::kOnline;
  IdentifyEntry(*entry);
  entry->path = info.path;
  Trace("EnumerateDevice vendor_id: %X, product_id: %X, dev_type: %x, dev_mode: %x", info.vendor_id,
        info.product_id, entry->device_type, ModeNumber(entry->mode));
  return entry;
}

void DeviceManager::EnumerateDevice() {
  std::lock_guard lock(mutex_);
  Trace("EnumerateDevice!");
  if (!backend_) return;
  ClearActiveCache();
  for (const HidInterfaceInfo& info : backend_->Enumerate()) {
    std::unique_ptr<DeviceEntry> entry = OpenEntry(info);
    if (entry) entries_.push_back(std::move(entry));
  }
}

void DeviceManager::CloseAll() {
  std::lock_guard lock(mutex_);
  if (!opened_) return;
  opened_ = false;
  ClearActiveCache();
  entries_.clear();
  late_reply_from_ = nullptr;
}

void DeviceManager::SetOpened(bool opened) {
  std::lock_guard lock(mutex_);
  opened_ = opened;
}

bool DeviceManager::IsOpened() const {
  std::lock_guard lock(mutex_);
  return opened_;
}

bool DeviceManager::QueryDeviceInfo(uint8_t* reply) {
  std::lock_guard lock(mutex_);
  if (reply == nullptr || ActiveDeviceLocked() == nullptr || active_entry_ == nullptr) return false;
  std::memcpy(reply, active_entry_->device_info.data(), kDeviceInfoSize);
  return true;
}

void DeviceManager::SelectDeviceType(int device_type) {
  std::lock_guard lock(mutex_);
  selected_type_ = device_type;
  ClearActiveCache();
}

int DeviceManager::SelectedDeviceType() const {
  std::lock_guard lock(mutex_);
  return selected_type_;
}

void DeviceManager::ClearActiveCache() {
  std::lock_guard lock(mutex_);
  active_device_ = nullptr;
  active_entry_ = nullptr;
}

HidHandle* DeviceManager::ActiveDevice() {
  std::lock_guard lock(mutex_);
  return ActiveDeviceLocked();
}

HidHandle* DeviceManager::ActiveDeviceLocked() {
  if (active_device_ != nullptr) return active_device_;
  for (const auto& entry : entries_) {
    if (entry->device_type == selected_type_ && entry->mode == ConnectionMode::kWired &&
        entry->device) {
      active_entry_ = entry.get();
      active_device_ = entry->device.get();
      return active_device_;
    }
  }
  for (const auto& entry : entries_) {
    if (entry->device_type != selected_type_ || entry->mode != ConnectionMode::kReceiver) continue;
    if (entry->online_state != OnlineState::kOnline || !entry->device) return nullptr;
    active_entry_ = entry.get();
    active_device_ = entry->device.get();
    return active_device_;
  }
  return nullptr;
}

ConnectionMode DeviceManager::ActiveConnectionMode() const {
  std::lock_guard lock(mutex_);
  return ActiveConnectionModeLocked();
}

ConnectionMode DeviceManager::ActiveConnectionModeLocked() const {
  bool wireless = false;
  for (const auto& entry : entries_) {
    if (entry->device_type != selected_type_) continue;
    if (entry->mode == ConnectionMode::kWired) return ConnectionMode::kWired;
    if (entry->mode == ConnectionMode::kReceiver) wireless = true;
  }
  return wireless ? ConnectionMode::kReceiver : ConnectionMode::kNone;
}

bool DeviceManager::ActiveVidPid(int& vid, int& pid) {
  std::lock_guard lock(mutex_);
  if (ActiveDeviceLocked() == nullptr || active_entry_ == nullptr) return false;
  vid = active_entry_->vendor_id;
  pid = active_entry_->product_id;
  return true;
}

DeviceEntryInfo DeviceManager::InfoOf(const DeviceEntry& entry) const {
  DeviceEntryInfo info;
  info.index = entry.index;
  info.vendor_id = entry.vendor_id;
  info.product_id = entry.product_id;
  info.path = entry.path;
  info.release_number = entry.release_number;
  info.device_type = entry.device_type;
  info.mode = entry.mode;
  info.online_state = entry.online_state;
  info.dev_id = entry.dev_id;
  info.device_info = entry.device_info;
  return info;
}

bool DeviceManager::EntriesOfSelected(std::vector<DeviceEntryInfo>& list) const {
  std::lock_guard lock(mutex_);
  list.clear();
  if (entries_.empty()) return false;
  for (const auto& entry : entries_) {
    if (selected_type_ == 0 || entry->device_type == selected_type_) list.push_back(InfoOf(*entry));
  }
  return true;
}

bool DeviceManager::WirelessEntriesOfSelected(std::vector<DeviceEntryInfo>& list) const {
  std::lock_guard lock(mutex_);
  list.clear();
  if (entries_.empty()) return false;
  for (const auto& entry : entries_) {
    if (selected_type_ == 0 ||
        (entry->device_type == selected_type_ && entry->mode == ConnectionMode::kReceiver)) {
      list.push_back(InfoOf(*entry));
    }
  }
  return true;
}

std::vector<DeviceEntryInfo> DeviceManager::Entries() const {
  std::lock_guard lock(mutex_);
  std::vector<DeviceEntryInfo> list;
  for (const auto& entry : entries_) list.push_back(InfoOf(*entry));
  return list;
}

bool DeviceManager::HasUnnamedEntries() const {
  std::lock_guard lock(mutex_);
  return std::any_of(entries_.begin(), entries_.end(),
                     [](const auto& entry) { return !entry->answered; });
}

bool DeviceManager::NameUnnamedEntries() {
  std::vector<DeviceEntry*> unnamed;
  {
    std::lock_guard lock(mutex_);
    for (const auto& entry : entries_) {
      if (!entry->answered) unnamed.push_back(entry.get());
    }
  }
  // Only the worker rebuilds the list, so the entries outlive the queries made unlocked.
  bool named = false;
  for (DeviceEntry* entry : unnamed) named = IdentifyEntry(*entry) || named;
  return named;
}

bool DeviceManager::IsDevicePresent(int device_type) const {
  std::lock_guard lock(mutex_);
  for (const auto& entry : entries_) {
    if (entry->device_type == device_type && !entry->dev_id.empty() &&
        entry->online_state != OnlineState::kOffline) {
      return true;
    }
  }
  return false;
}

bool DeviceManager::ReleaseNumberOf(ConnectionMode mode, int& release_number) const {
  std::lock_guard lock(mutex_);
  if (!opened_) return false;
  for (const auto& entry : entries_) {
    if (entry->mode == mode) {
      release_number = entry->release_number;
      return true;
    }
  }
  return false;
}

void DeviceManager::SetOnlineState(int device_type, ConnectionMode mode, OnlineState state) {
  std::lock_guard lock(mutex_);
  for (const auto& entry : entries_) {
    if (entry->device_type == device_type && entry->mode == mode) entry->online_state = state;
  }
  // A receiver whose mouse went off must stop being the command target.
  ClearActiveCache();
}

bool DeviceManager::SendCommand(uint8_t* buffer, size_t length) {
  HidHandle* device = nullptr;
  {
    std::lock_guard lock(mutex_);
    last_outcome_ = CommandOutcome::kWriteFailed;
    if (!opened_) return false;
    device = ActiveDeviceLocked();
  }
  if (device == nullptr || buffer == nullptr) return false;
  // Only the worker rebuilds the list, and only it sends, so the handle stays valid.
  HeldNotifications held;
  ReadWake* stop = stop_.load();
  if (device == late_reply_from_) AwaitLateReply(*device, &held, stop);
  const CommandOutcome outcome = RunCommand(*device, buffer, length, &held, stop);
  std::lock_guard lock(mutex_);
  last_outcome_ = outcome;
  late_reply_from_ = outcome == CommandOutcome::kNoReply ? device : nullptr;
  for (auto& report : held) {
    if (held_.size() < kMaxHeldNotifications) held_.push_back(std::move(report));
  }
  return outcome == CommandOutcome::kAccepted;
}

CommandOutcome DeviceManager::LastCommandOutcome() const {
  std::lock_guard lock(mutex_);
  return last_outcome_;
}

}  // namespace corvane
