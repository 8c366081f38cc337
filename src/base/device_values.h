// Values that describe a connected mouse as every concern sees them: how it is
// connected, whether its receiver reports it linked, and its battery.
#pragma once

namespace corvane {

// How the selected model is reached: its own cable, a 2.4 GHz receiver, or not at all.
// The numbers are the catalogue's `mode` values and what the device list is told.
enum class ConnectionMode : int { kNone = -1, kWired = 0, kReceiver = 1 };

constexpr int ModeNumber(ConnectionMode mode) { return static_cast<int>(mode); }
// A catalogue `mode` value as read; one that is neither 0 nor 1 stays as it is and
// matches neither a wired nor a receiver interface.
constexpr ConnectionMode ModeFromCatalogue(int value) { return static_cast<ConnectionMode>(value); }

// Whether a receiver's mouse is linked. A receiver says "not linked" either by a link
// report (kOffline) or when asked by the online poll (kOfflinePolled).
enum class OnlineState : int { kOffline = 0, kOnline = 1, kOfflinePolled = 2 };

constexpr int StateNumber(OnlineState state) { return static_cast<int>(state); }

// The battery as the mouse reports it; passed on unchanged (device information bytes
// 13 and 12, link report bytes 2 and 3).
struct BatteryStatus {
  int level = 0;
  int charging = 0;
  bool operator==(const BatteryStatus&) const = default;
};

// The device type of an interface identified by its vendor and product ids alone (its
// catalogue entry names no full firmware id).
inline constexpr int kIdsOnlyDeviceType = 101;

}  // namespace corvane
