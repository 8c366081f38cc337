// What the desktop interface publishes (the session-bus properties) assembled from the
// device list, the catalogue, the store and the device state, and which of its signals a
// change between two such snapshots calls for. Qt-free; the bus adaptor only marshals.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/device_values.h"
#include "device/command_transaction.h"

namespace corvane {

class DeviceCatalogue;
class DeviceManager;
class DeviceState;
class SettingsDatabase;

// One interface of a mouse in the device list (the `entries` of `corvane-cli devices`).
struct DesktopDevice {
  std::string model;  // the catalogue's name
  int device_type = 0;
  int connection = 0;   // 0 cable, 1 receiver (the catalogue's mode)
  bool online = false;  // the receiver reports the mouse linked (always true on a cable)
  int battery = 0;      // level in percent as the mouse reports it
  bool charging = false;
  std::string firmware;  // the mouse's firmware version text; empty when not known
  bool active = false;   // the interface the selected model is talked to through
  bool operator==(const DesktopDevice&) const = default;
};

struct DesktopProfile {
  int id = 0;
  std::string name;
  bool active = false;
  bool operator==(const DesktopProfile&) const = default;
};

struct DesktopStatus {
  std::vector<DesktopDevice> devices;
  int active_profile = 0;  // 0 when no model's settings are open
  std::vector<DesktopProfile> profiles;
  std::vector<int> dpi_stages;  // the active profile's stage values, count long
  int active_dpi_stage = 0;     // index into dpi_stages
  bool operator==(const DesktopStatus&) const = default;

  // The active stage's value; 0 without stages.
  int ActiveDpi() const;
};

struct DesktopSources {
  const DeviceManager& manager;
  const DeviceCatalogue& catalogue;
  SettingsDatabase& store;
  DeviceState& state;
  // The latest battery reading of the selected mouse (newer than its stored device
  // information); nullopt: none since it was read.
  std::optional<BatteryStatus> live_battery;
};

DesktopStatus AssembleDesktopStatus(const DesktopSources& sources);

// Property names as the interface spells them.
inline constexpr const char* kPropertyDevices = "Devices";
inline constexpr const char* kPropertyActiveProfile = "ActiveProfile";
inline constexpr const char* kPropertyProfiles = "Profiles";
inline constexpr const char* kPropertyDpiStages = "DpiStages";
inline constexpr const char* kPropertyActiveDpiStage = "ActiveDpiStage";

struct DesktopChanges {
  std::vector<DesktopDevice> battery;   // interfaces whose battery or charging changed (new)
  std::vector<DesktopDevice> online;    // interfaces that came, went (online false) or changed
  bool profile = false;                 // the active profile changed
  bool dpi_stage = false;               // the active stage or its value changed
  std::vector<std::string> properties;  // names of the properties whose value changed
  bool Empty() const { return properties.empty(); }
};

// What changed from `before` to `after`. An interface is the same one when model,
// device type and connection agree.
DesktopChanges CompareDesktopStatus(const DesktopStatus& before, const DesktopStatus& after);

// Why a method of the interface was not carried out, as the bus reports it.
struct DesktopError {
  std::string name;     // a D-Bus error name
  std::string message;  // one line for the caller
};

inline constexpr const char* kErrorNotConnected = "example.corvane.Corvane1.Error.NotConnected";
inline constexpr const char* kErrorNoSuchProfile = "example.corvane.Corvane1.Error.NoSuchProfile";
inline constexpr const char* kErrorRefused = "example.corvane.Corvane1.Error.Refused";
inline constexpr const char* kErrorNoReply = "example.corvane.Corvane1.Error.NoReply";
inline constexpr const char* kErrorWriteFailed = "example.corvane.Corvane1.Error.WriteFailed";
inline constexpr const char* kErrorInvalidArgs = "org.freedesktop.DBus.Error.InvalidArgs";

// Requests checked before anything is stored. `linked`: the window shows the mouse as
// connected (its own controls refuse otherwise).
std::optional<DesktopError> CheckProfileRequest(const DesktopStatus& status, int id, bool linked);
std::optional<DesktopError> CheckStageRequest(const DesktopStatus& status, int stage, bool linked);
std::optional<DesktopError> CheckStageValueRequest(const DesktopStatus& status, int stage, int dpi,
                                                   bool linked);
// A command the mouse did not take, as an error of the interface; the store keeps the values.
DesktopError CommandError(uint8_t command, CommandOutcome outcome);

}  // namespace corvane
