// Who the simulated devices claim to be: the ids of the wired mouse and of the
// receiver, the firmware ids they report, and which of them are plugged in.
// Filled by hand in tests or from the catalogue by SimIdentityFromCatalogue.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// Which simulated devices are plugged in.
enum class SimMode { kWired, kWireless, kBoth };

// The two simulated devices: the mouse on its cable and the receiver it talks through.
enum class SimLink { kWired = 0, kReceiver = 1 };
inline constexpr int kSimLinkCount = 2;

// The four top-level collections each simulated device presents, in interface order.
enum class SimCollection { kMouse = 0, kKeyboard = 1, kConfig = 2, kUpgrade = 3 };
inline constexpr int kSimCollectionCount = 4;

// One USB identity: the ids on the bus and the firmware's 4-character id. Release
// numbers are firmware versions and live in SimState. A model without a wired or
// without a wireless mode has `exists` false there; that device is never plugged in.
struct SimInterfaceIdentity {
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  std::string dev_id;
  bool exists = true;
};

struct SimIdentity {
  int device_type = 0;
  std::string product_name;
  SimInterfaceIdentity wired;
  SimInterfaceIdentity receiver;
};

// Parses "wired", "wireless", "both"; empty text means both. False for anything else.
bool ParseSimMode(std::string_view text, SimMode& mode);

// The lower-case name of a mode ("wired", "wireless", "both").
const char* SimModeName(SimMode mode);

// Whether `mode` plugs in the device of `link`.
bool SimModeHasLink(SimMode mode, SimLink link);

}  // namespace corvane
