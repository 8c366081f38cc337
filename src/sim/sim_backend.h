// The simulated mouse and receiver as a HidBackend: the tool talks to it exactly as
// to hidapi, while tests and the "Simulated device" window use the control API below
// (press the DPI button, switch the mouse off, set the battery, inject faults).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/hid_backend.h"
#include "sim/sim_faults.h"
#include "sim/sim_identity.h"
#include "sim/sim_state.h"
#include "sim/sim_upgrade.h"

namespace corvane {

class SimHub;

class SimBackend : public HidBackend {
 public:
  SimBackend(const SimIdentity& identity, SimMode mode);
  // Saves the state to the attached state file, if any.
  ~SimBackend() override;
  SimBackend(const SimBackend&) = delete;
  SimBackend& operator=(const SimBackend&) = delete;

  // Interfaces of the plugged-in devices: per device the mouse (interface 0), keyboard
  // (1), configuration (2) and upgrade (3) collections, the wired device first.
  std::vector<HidInterfaceInfo> Enumerate() override;
  // Null when the path is not one of a plugged-in device's interfaces.
  std::unique_ptr<HidHandle> Open(const std::string& path) override;

  // Path of one interface, as Enumerate reports it.
  static std::string InterfacePath(SimLink link, SimCollection collection);

  // Loads `path` now (a missing file keeps the defaults) and saves to it when the
  // backend is destroyed. Returns false with a one-line `error` on a bad file.
  bool AttachStateFile(const std::string& path, std::string& error);
  // Writes the state to the attached file now. Returns false with `error` on failure
  // or when no file is attached.
  bool SaveStateFile(std::string& error);
  // Saves to the attached file one last time and detaches it, so the destructor does not
  // save again; lets a front end report a failed save. True when nothing is attached.
  bool DetachStateFile(std::string& error);

  // The mouse's DPI button: next stage, announced with a 0xC2 notification on the
  // wired configuration collection and, while the mouse is on, on the receiver's.
  void PressDpiButton();
  // Switches the wireless mouse on or off; the receiver announces it with 0xC0.
  void SetMouseOn(bool on);
  // Sets the battery values (a: charging state, b: level); with `announce`, a linked
  // receiver sends 0xC0 with them.
  void SetBattery(uint8_t a, uint8_t b, bool announce = true);
  // Queues one report of an unknown type on `link`'s configuration collection.
  void SendGarbageNotification(SimLink link);
  // Pulls the device out (open handles fail from then on) or plugs it back in; a
  // device the mode or the model does not have stays out.
  void Unplug(SimLink link);
  void Replug(SimLink link);
  // Whether the device of `link` is currently enumerated.
  bool IsPlugged(SimLink link) const;

  // A copy of everything the devices store; SetState replaces it.
  SimState State() const;
  void SetState(const SimState& state);
  SimFaults Faults(SimLink link) const;
  // Replaces the fault knobs of one device and restarts its unplug-after count.
  void SetFaults(SimLink link, const SimFaults& faults);
  // Progress of the current or last firmware transfer of one device.
  SimUpgradeStatus UpgradeStatus(SimLink link) const;
  // The last image one device accepted; empty when none.
  std::vector<uint8_t> UpgradeImage(SimLink link) const;

  const SimIdentity& Identity() const;
  SimMode Mode() const;

 private:
  std::shared_ptr<SimHub> hub_;
  std::string state_file_;
};

}  // namespace corvane
