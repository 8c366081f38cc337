// The two ways the worker rebuilds the device list: RefreshDevices (reload the
// catalogue and enumerate) and ReenumerateDevices (enumerate and tell the window's
// device list, selection and connection line).
#pragma once

#include <vector>

#include "device/device_entry.h"
#include "device/device_manager.h"
#include "worker/device_view.h"

namespace corvane {

// Replaces the manager's known devices with `catalogue`, in order.
void SetKnownDevices(DeviceManager& manager, const std::vector<KnownDevice>& catalogue);

// Replaces the known devices with `catalogue`, re-enumerates and loads the saved
// model's definition; the selection is left alone. Returns whether entries exist.
bool RefreshDevices(DeviceManager& manager, const std::vector<KnownDevice>& catalogue,
                    DeviceView& view);

// Re-enumerates, tells the device list every identified entry, selects the saved
// model (or the list's choice) and updates the connection line. Returns whether
// entries exist.
bool ReenumerateDevices(DeviceManager& manager, DeviceView& view);

}  // namespace corvane
