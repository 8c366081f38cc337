// Building the simulator from the catalogue, as --simulate, --sim-model and --sim-state
// ask: which model it presents, which of its devices are plugged in, and its saved state.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "sim/sim_backend.h"
#include "sim/sim_identity.h"

namespace corvane {

class DeviceCatalogue;

// Fills `identity` from the catalogue. An empty `model` takes the first model with both
// a wired and a wireless mode; otherwise `model` is matched against each model's
// device_type number, then device_attr, then name. Returns false with a one-line `error`
// when no model fits or the model has no usable mode.
bool SimIdentityFromCatalogue(const DeviceCatalogue& catalogue, std::string_view model,
                              SimIdentity& identity, std::string& error);

// Fault settings every simulator start applies, before the command line's: DEVICE:KNOB=VALUE
// items separated by spaces or commas. Lets a whole test suite run against a mouse that,
// say, fills reply byte 0 at random.
inline constexpr char kSimFaultsVariable[] = "CORVANE_SIM_FAULTS";

// The whole start-up: reads <program_dir>/config.xml, picks the model, checks that
// `mode_text` ("", "wired", "wireless", "both") plugs in at least one of its devices and
// attaches `state_file` when not empty, then applies the knobs of CORVANE_SIM_FAULTS. Null
// with a one-line `error` on any failure.
std::unique_ptr<SimBackend> CreateSimBackend(const std::filesystem::path& program_dir,
                                             std::string_view mode_text, std::string_view model,
                                             const std::string& state_file, std::string& error);

// Applies one `DEVICE:KNOB=VALUE` fault setting (DEVICE `wired` or `receiver`, KNOB a field
// of SimFaults as docs/simulator.md lists, VALUE a decimal number, or echo, zero or random
// for reply_byte0 and reply_bytes23) on top of the device's current knobs. Returns false
// with a one-line `error` on anything else.
bool ApplySimFault(SimBackend& backend, std::string_view setting, std::string& error);

}  // namespace corvane
