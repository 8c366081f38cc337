// The simulated devices behind SimBackend: interfaces, per-handle input queues, the
// firmware, the upgrade collections and the fault knobs, all under one lock so the
// worker thread and a test or GUI thread can use them at once.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "device/hid_backend.h"
#include "sim/sim_faults.h"
#include "sim/sim_firmware.h"
#include "sim/sim_identity.h"
#include "sim/sim_state.h"
#include "sim/sim_upgrade.h"

namespace corvane {

// Like hidraw, a reader that falls behind loses its oldest reports beyond this many.
inline constexpr size_t kSimMaxQueuedReports = 64;

class SimHub {
 public:
  using Clock = std::chrono::steady_clock;

  // One open handle's view of one collection: its own queue of input reports.
  struct Reader {
    SimLink link;
    SimCollection collection;
    struct Pending {
      Clock::time_point ready_at;
      std::vector<uint8_t> bytes;
    };
    std::deque<Pending> queue;
    bool gone = false;
    Clock::time_point last_delivery{};
  };

  SimHub(const SimIdentity& identity, SimMode mode);

  // Interfaces of every plugged-in device, wired first.
  std::vector<HidInterfaceInfo> Enumerate() const;
  // Registers a reader for `path`. Null when no plugged-in interface has that path.
  std::shared_ptr<Reader> Open(const std::string& path);
  void Close(const std::shared_ptr<Reader>& reader);

  // HidHandle::Write and ReadTimeout for `reader`; same results.
  int Write(Reader& reader, const uint8_t* data, size_t length);
  int Read(Reader& reader, uint8_t* data, size_t length, int timeout_ms);
  // HidHandle::ReadOrWake: Read that also returns 0 once `wake` is raised, woken at once.
  int ReadOrWake(Reader& reader, uint8_t* data, size_t length, int timeout_ms, ReadWake& wake);

  // Path of one interface of one device ("sim/wired/if2").
  static std::string InterfacePath(SimLink link, SimCollection collection);

  // Test and GUI controls; each is described at SimBackend.
  void PressDpiButton();
  void SetMouseOn(bool on);
  void SetBattery(uint8_t a, uint8_t b, bool announce);
  void SendGarbageNotification(SimLink link);
  void Unplug(SimLink link);
  void Replug(SimLink link);
  bool IsPlugged(SimLink link) const;
  SimState State() const;
  void SetState(const SimState& state);
  SimFaults Faults(SimLink link) const;
  void SetFaults(SimLink link, const SimFaults& faults);
  SimUpgradeStatus UpgradeStatus(SimLink link) const;
  std::vector<uint8_t> UpgradeImage(SimLink link) const;
  const SimIdentity& Identity() const { return identity_; }
  SimMode Mode() const { return mode_; }

 private:
  static int Index(SimLink link) { return static_cast<int>(link); }
  HidInterfaceInfo InfoOf(SimLink link, SimCollection collection) const;
  // Queues `bytes` for every reader of that collection (caller holds the lock).
  void Deliver(SimLink link, SimCollection collection, const std::vector<uint8_t>& bytes,
               Clock::time_point ready_at);
  void DeliverNotification(SimLink link, const SimReport& report);
  // Read, ending early with 0 once `signal` (when given) is raised.
  int ReadUntil(Reader& reader, uint8_t* data, size_t length, int timeout_ms, ReadWake* signal);
  void CommandArrived(SimLink link, const SimReport& command);
  // Fills the reply bytes the protocol leaves to the mouse as the fault knobs ask.
  void ShapeReply(const SimFaults& faults, SimReport& reply);
  void UnplugLocked(SimLink link);
  // Whether the mode and the model have this device at all.
  bool CanPlug(SimLink link) const;

  const SimIdentity identity_;
  const SimMode mode_;
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  SimState state_;
  SimFirmware firmware_;
  std::vector<SimUpgrade> upgrade_;
  SimFaults faults_[kSimLinkCount];
  bool plugged_[kSimLinkCount] = {false, false};
  int reports_written_[kSimLinkCount] = {0, 0};
  std::list<std::shared_ptr<Reader>> readers_;
  std::minstd_rand random_{std::random_device{}()};
};

}  // namespace corvane
