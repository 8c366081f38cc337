// SimBackend: the HidBackend face of the simulated devices, and the control API that
// tests and the GUI's "Simulated device" window use. The work is done by SimHub.
#include "sim/sim_backend.h"

#include "base/trace.h"
#include "sim/sim_handle.h"
#include "sim/sim_hub.h"
#include "sim/sim_state_file.h"

namespace corvane {

SimBackend::SimBackend(const SimIdentity& identity, SimMode mode)
    : hub_(std::make_shared<SimHub>(identity, mode)) {}

SimBackend::~SimBackend() {
  std::string error;
  if (!DetachStateFile(error)) Trace("simulator state not saved: %s", error.c_str());
  // Handles that outlive the backend see their devices go away.
  hub_->Unplug(SimLink::kWired);
  hub_->Unplug(SimLink::kReceiver);
}

std::vector<HidInterfaceInfo> SimBackend::Enumerate() { return hub_->Enumerate(); }

std::unique_ptr<HidHandle> SimBackend::Open(const std::string& path) {
  auto reader = hub_->Open(path);
  if (!reader) return nullptr;
  return std::make_unique<SimHandle>(hub_, std::move(reader), path);
}

std::string SimBackend::InterfacePath(SimLink link, SimCollection collection) {
  return SimHub::InterfacePath(link, collection);
}

bool SimBackend::AttachStateFile(const std::string& path, std::string& error) {
  SimState state = hub_->State();
  if (!SimStateFile::Load(path, state, error)) return false;
  hub_->SetState(state);
  state_file_ = path;
  return true;
}

bool SimBackend::SaveStateFile(std::string& error) {
  if (state_file_.empty()) {
    error = "no simulator state file attached";
    return false;
  }
  return SimStateFile::Save(state_file_, hub_->State(), error);
}

bool SimBackend::DetachStateFile(std::string& error) {
  if (state_file_.empty()) return true;
  const bool saved = SaveStateFile(error);
  state_file_.clear();
  return saved;
}

void SimBackend::PressDpiButton() { hub_->PressDpiButton(); }
void SimBackend::SetMouseOn(bool on) { hub_->SetMouseOn(on); }
void SimBackend::SetBattery(uint8_t a, uint8_t b, bool announce) {
  hub_->SetBattery(a, b, announce);
}
void SimBackend::SendGarbageNotification(SimLink link) { hub_->SendGarbageNotification(link); }
void SimBackend::Unplug(SimLink link) { hub_->Unplug(link); }
void SimBackend::Replug(SimLink link) { hub_->Replug(link); }
bool SimBackend::IsPlugged(SimLink link) const { return hub_->IsPlugged(link); }
SimState SimBackend::State() const { return hub_->State(); }
void SimBackend::SetState(const SimState& state) { hub_->SetState(state); }
SimFaults SimBackend::Faults(SimLink link) const { return hub_->Faults(link); }
void SimBackend::SetFaults(SimLink link, const SimFaults& faults) { hub_->SetFaults(link, faults); }
SimUpgradeStatus SimBackend::UpgradeStatus(SimLink link) const { return hub_->UpgradeStatus(link); }
std::vector<uint8_t> SimBackend::UpgradeImage(SimLink link) const {
  return hub_->UpgradeImage(link);
}
const SimIdentity& SimBackend::Identity() const { return hub_->Identity(); }
SimMode SimBackend::Mode() const { return hub_->Mode(); }

}  // namespace corvane
