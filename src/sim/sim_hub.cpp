// Report routing and timing of the simulated devices. Output reports go to the
// firmware or the upgrade collection; replies and notifications are queued per open
// handle, and reads wait on a condition variable until a report is due.
#include "sim/sim_hub.h"

#include <algorithm>
#include <cstring>

#include "protocol/notifications.h"

namespace corvane {
namespace {

constexpr size_t kMaxWriteLength = kReportBufferSize;
constexpr auto kInterruptInterval = std::chrono::milliseconds(1);
// Type byte of the unknown-type reports queued by the garbage fault.
constexpr uint8_t kGarbageType = 0x7E;

const char* LinkName(SimLink link) { return link == SimLink::kWired ? "wired" : "receiver"; }

}  // namespace

SimHub::SimHub(const SimIdentity& identity, SimMode mode)
    : identity_(identity), mode_(mode), firmware_(state_, identity_) {
  upgrade_.reserve(kSimLinkCount);
  for (int i = 0; i < kSimLinkCount; ++i) {
    upgrade_.emplace_back(state_.upgrade_image[i]);
    plugged_[i] = CanPlug(static_cast<SimLink>(i));
  }
}

std::string SimHub::InterfacePath(SimLink link, SimCollection collection) {
  return std::string("sim/") + LinkName(link) + "/if" +
         std::to_string(static_cast<int>(collection));
}

HidInterfaceInfo SimHub::InfoOf(SimLink link, SimCollection collection) const {
  const SimInterfaceIdentity& id = link == SimLink::kWired ? identity_.wired : identity_.receiver;
  const bool wired = link == SimLink::kWired;
  const uint16_t vid = wired ? state_.usb_vid : state_.receiver_usb_vid;
  const uint16_t pid = wired ? state_.usb_pid : state_.receiver_usb_pid;
  HidInterfaceInfo info;
  info.path = InterfacePath(link, collection);
  info.vendor_id = vid != 0 ? vid : id.vendor_id;
  info.product_id = pid != 0 ? pid : id.product_id;
  info.release_number = link == SimLink::kWired ? state_.firmware_version : state_.receiver_version;
  info.interface_number = static_cast<int>(collection);
  switch (collection) {
    case SimCollection::kMouse:
      info.usage_page = 0x0001;
      info.usage = 0x0002;
      break;
    case SimCollection::kKeyboard:
      info.usage_page = 0x0001;
      info.usage = 0x0006;
      break;
    case SimCollection::kConfig:
      // The two collections the tool accepts; each device uses one of them.
      info.usage_page = link == SimLink::kWired ? 0xFF01 : 0x0001;
      info.usage = link == SimLink::kWired ? 0x0010 : 0x0000;
      break;
    case SimCollection::kUpgrade:
      info.usage_page = 0xFFEF;
      info.usage = 0x0000;
      break;
  }
  return info;
}

std::vector<HidInterfaceInfo> SimHub::Enumerate() const {
  std::lock_guard lock(mutex_);
  std::vector<HidInterfaceInfo> list;
  for (int l = 0; l < kSimLinkCount; ++l) {
    if (!plugged_[l]) continue;
    for (int c = 0; c < kSimCollectionCount; ++c) {
      list.push_back(InfoOf(static_cast<SimLink>(l), static_cast<SimCollection>(c)));
    }
  }
  return list;
}

std::shared_ptr<SimHub::Reader> SimHub::Open(const std::string& path) {
  std::lock_guard lock(mutex_);
  for (int l = 0; l < kSimLinkCount; ++l) {
    if (!plugged_[l]) continue;
    for (int c = 0; c < kSimCollectionCount; ++c) {
      if (InterfacePath(static_cast<SimLink>(l), static_cast<SimCollection>(c)) != path) continue;
      auto reader = std::make_shared<Reader>();
      reader->link = static_cast<SimLink>(l);
      reader->collection = static_cast<SimCollection>(c);
      readers_.push_back(reader);
      return reader;
    }
  }
  return nullptr;
}

void SimHub::Close(const std::shared_ptr<Reader>& reader) {
  std::lock_guard lock(mutex_);
  readers_.remove(reader);
}

int SimHub::Write(Reader& reader, const uint8_t* data, size_t length) {
  std::lock_guard lock(mutex_);
  const int l = Index(reader.link);
  if (reader.gone || !plugged_[l] || data == nullptr || length == 0 || length > kMaxWriteLength) {
    return -1;
  }
  SimReport report{};
  if (reader.collection == SimCollection::kConfig) {
    if (data[kReportIdByte] != kCommandReportId) return -1;
    std::memcpy(report.data(), data + 1, length - 1);  // zero padded, as the HID layer does
  } else if (reader.collection == SimCollection::kUpgrade) {
    if (data[kReportIdByte] != kUpgradeReportId || length > kUpgradeReportSize) return -1;
    std::memcpy(report.data(), data, length);
  } else {
    return -1;  // the ordinary mouse and keyboard collections take no output reports
  }
  ++reports_written_[l];
  if (reader.collection == SimCollection::kConfig) {
    CommandArrived(reader.link, report);
  } else {
    const SimReport ack = upgrade_[l].HandleReport(report);
    Deliver(reader.link, SimCollection::kUpgrade, std::vector<uint8_t>(ack.begin(), ack.end()),
            Clock::now());
  }
  const int limit = faults_[l].unplug_after_reports;
  if (limit >= 0 && reports_written_[l] >= limit) UnplugLocked(reader.link);
  return static_cast<int>(length);
}

void SimHub::CommandArrived(SimLink link, const SimReport& command) {
  SimFaults& faults = faults_[Index(link)];
  SimReport reply;
  if (faults.forced_status != 0) {
    reply.fill(0);
    reply[kReplyTypeByte] = command[WithoutReportId(kReportCommandByte)];
    reply[kReplyStatusByte] = faults.forced_status;
  } else {
    reply = firmware_.HandleCommand(link, command);
  }
  ShapeReply(faults, reply);
  const Clock::time_point due = Clock::now() + std::chrono::milliseconds(faults.reply_delay_ms);
  if (faults.garbage_notifications > 0) {
    --faults.garbage_notifications;
    std::vector<uint8_t> garbage(kSimReportSize, 0xA5);
    garbage[kNotificationTypeByte] = kGarbageType;
    Deliver(link, SimCollection::kConfig, garbage, due);
  }
  if (faults.busy_status_replies > 0) {
    --faults.busy_status_replies;
    SimReport busy{};
    busy[kReplyTypeByte] = command[WithoutReportId(kReportCommandByte)];
    busy[kReplyStatusByte] = Byte(ReplyStatus::kBusy);
    busy[kReplySequenceByte] = command[WithoutReportId(kReportSequenceByte)];
    ShapeReply(faults, busy);
    Deliver(link, SimCollection::kConfig, std::vector<uint8_t>(busy.begin(), busy.end()), due);
  }
  if (faults.drop_replies > 0) {
    --faults.drop_replies;
    return;
  }
  Deliver(link, SimCollection::kConfig, std::vector<uint8_t>(reply.begin(), reply.end()), due);
}

void SimHub::ShapeReply(const SimFaults& faults, SimReport& reply) {
  auto random_byte = [this] { return static_cast<uint8_t>(random_() & 0xFF); };
  // Bytes 2 and 3 of a reply: a spare byte and the sequence echo.
  constexpr int kSpareByte = kReplySequenceByte - 1;
  if (faults.reply_byte0 == SimReplyBytes::kZero) reply[kReplyTypeByte] = 0;
  if (faults.reply_byte0 == SimReplyBytes::kRandom) {
    do {
      reply[kReplyTypeByte] = random_byte();
    } while (IsNotificationType(reply[kReplyTypeByte]));
  }
  if (faults.reply_bytes23 == SimReplyBytes::kZero) reply[kSpareByte] = reply[kReplySequenceByte] = 0;
  if (faults.reply_bytes23 == SimReplyBytes::kRandom) {
    reply[kSpareByte] = random_byte();
    reply[kReplySequenceByte] = random_byte();
  }
}

void SimHub::Deliver(SimLink link, SimCollection collection, const std::vector<uint8_t>& bytes,
                     Clock::time_point ready_at) {
  for (auto& reader : readers_) {
    if (reader->link != link || reader->collection != collection || reader->gone) continue;
    if (reader->queue.size() >= kSimMaxQueuedReports) reader->queue.pop_front();
    reader->queue.push_back({ready_at, bytes});
  }
  arrived_.notify_all();
}

int SimHub::Read(Reader& reader, uint8_t* data, size_t length, int timeout_ms) {
  return ReadUntil(reader, data, length, timeout_ms, nullptr);
}

int SimHub::ReadOrWake(Reader& reader, uint8_t* data, size_t length, int timeout_ms,
                       ReadWake& wake) {
  return ReadUntil(reader, data, length, timeout_ms, &wake);
}

int SimHub::ReadUntil(Reader& reader, uint8_t* data, size_t length, int timeout_ms,
                      ReadWake* signal) {
  // Registered before the lock is taken and ended after it is released (see ReadWake).
  ReadWake::Waiter waiter(signal, [this] {
    std::lock_guard lock(mutex_);
    arrived_.notify_all();
  });
  std::unique_lock lock(mutex_);
  const bool forever = timeout_ms < 0;
  const Clock::time_point deadline =
      Clock::now() + std::chrono::milliseconds(std::max(timeout_ms, 0));
  for (;;) {
    if (reader.gone) return -1;
    const Clock::time_point now = Clock::now();
    Clock::time_point wake = deadline;
    if (!reader.queue.empty()) {
      Clock::time_point due = reader.queue.front().ready_at;
      if (faults_[Index(reader.link)].interrupt_interval) {
        due = std::max(due, reader.last_delivery + kInterruptInterval);
      }
      if (due <= now) {
        const std::vector<uint8_t> bytes = std::move(reader.queue.front().bytes);
        reader.queue.pop_front();
        reader.last_delivery = now;
        const size_t n = std::min(length, bytes.size());
        if (n > 0) std::memcpy(data, bytes.data(), n);
        return static_cast<int>(n);
      }
      wake = forever ? due : std::min(deadline, due);
    }
    if (!forever && now >= deadline) return 0;
    if (signal != nullptr && signal->Raised()) return 0;
    if (forever && reader.queue.empty()) {
      arrived_.wait(lock);
    } else {
      arrived_.wait_until(lock, wake);
    }
  }
}

void SimHub::DeliverNotification(SimLink link, const SimReport& report) {
  if (!plugged_[Index(link)]) return;
  Deliver(link, SimCollection::kConfig, std::vector<uint8_t>(report.begin(), report.end()),
          Clock::now());
}

void SimHub::PressDpiButton() {
  std::lock_guard lock(mutex_);
  const SimReport report = firmware_.PressDpiButton();
  // The mouse tells whichever way it is connected: the cable always, the receiver when on.
  DeliverNotification(SimLink::kWired, report);
  if (state_.mouse_on) DeliverNotification(SimLink::kReceiver, report);
}

void SimHub::SetMouseOn(bool on) {
  std::lock_guard lock(mutex_);
  if (state_.mouse_on == on) return;
  state_.mouse_on = on;
  DeliverNotification(SimLink::kReceiver, firmware_.LinkNotification());
}

void SimHub::SetBattery(uint8_t a, uint8_t b, bool announce) {
  std::lock_guard lock(mutex_);
  state_.battery_a = a;
  state_.battery_b = b;
  if (announce && state_.mouse_on)
    DeliverNotification(SimLink::kReceiver, firmware_.LinkNotification());
}

void SimHub::SendGarbageNotification(SimLink link) {
  std::lock_guard lock(mutex_);
  SimReport report;
  report.fill(0xA5);
  report[kNotificationTypeByte] = kGarbageType;
  DeliverNotification(link, report);
}

void SimHub::UnplugLocked(SimLink link) {
  plugged_[Index(link)] = false;
  for (auto& reader : readers_) {
    if (reader->link == link) reader->gone = true;
  }
  arrived_.notify_all();
}

void SimHub::Unplug(SimLink link) {
  std::lock_guard lock(mutex_);
  UnplugLocked(link);
}

bool SimHub::CanPlug(SimLink link) const {
  const SimInterfaceIdentity& id = link == SimLink::kWired ? identity_.wired : identity_.receiver;
  return id.exists && SimModeHasLink(mode_, link);
}

void SimHub::Replug(SimLink link) {
  std::lock_guard lock(mutex_);
  plugged_[Index(link)] = CanPlug(link);
  faults_[Index(link)].unplug_after_reports = -1;
  reports_written_[Index(link)] = 0;
}

bool SimHub::IsPlugged(SimLink link) const {
  std::lock_guard lock(mutex_);
  return plugged_[Index(link)];
}

SimState SimHub::State() const {
  std::lock_guard lock(mutex_);
  return state_;
}

void SimHub::SetState(const SimState& state) {
  std::lock_guard lock(mutex_);
  state_ = state;
}

SimFaults SimHub::Faults(SimLink link) const {
  std::lock_guard lock(mutex_);
  return faults_[Index(link)];
}

void SimHub::SetFaults(SimLink link, const SimFaults& faults) {
  std::lock_guard lock(mutex_);
  faults_[Index(link)] = faults;
  reports_written_[Index(link)] = 0;
}

SimUpgradeStatus SimHub::UpgradeStatus(SimLink link) const {
  std::lock_guard lock(mutex_);
  return upgrade_[Index(link)].Status();
}

std::vector<uint8_t> SimHub::UpgradeImage(SimLink link) const {
  std::lock_guard lock(mutex_);
  return state_.upgrade_image[Index(link)];
}

}  // namespace corvane
