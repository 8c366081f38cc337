// RefreshDevices and ReenumerateDevices: manager steps first, then what the window is
// told, so the window never sees a half-built list.
#include "worker/device_refresh.h"

namespace corvane {
namespace {

void RebuildEntries(DeviceManager& manager) {
  manager.ClearActiveCache();
  manager.CloseAll();
  manager.EnumerateDevice();
  manager.SetOpened(true);
}

// Returns whether at least one identified entry was told to the list.
bool TellDeviceList(const std::vector<DeviceEntryInfo>& entries, DeviceListView& view) {
  view.SetAllDeviceState(OnlineState::kOffline);
  bool told = false;
  for (const DeviceEntryInfo& entry : entries) {
    if (entry.device_type < 1) continue;
    view.SetDeviceState(entry.device_type, entry.mode, entry.online_state);
    view.SetDeviceVersion(entry.device_type, entry.release_number);
    told = true;
  }
  return told;
}

void ShowConnection(DeviceManager& manager, DeviceListView& view, bool has_entries) {
  if (!has_entries) {
    view.SetIdlePoll(false);
    view.SetLinkFlag(false);
    view.SetConnectionText(kTextNoDevice);
    view.ShowDeviceControls(false);
    return;
  }
  view.SetIdlePoll(true);
  const ConnectionMode mode = manager.ActiveConnectionMode();
  view.SetConnectionText(mode == ConnectionMode::kWired      ? kTextWired
                         : mode == ConnectionMode::kReceiver ? kTextWireless
                                                             : kTextNoDevice);
  view.SetLinkFlag(mode != ConnectionMode::kNone);
  view.ShowDeviceControls(mode != ConnectionMode::kNone);
}

}  // namespace

void SetKnownDevices(DeviceManager& manager, const std::vector<KnownDevice>& catalogue) {
  manager.ClearKnownDevices();
  for (const KnownDevice& known : catalogue) {
    manager.AddKnownDevice(known.vendor_id, known.product_id, known.device_type, known.mode,
                           known.dev_id);
  }
}

bool RefreshDevices(DeviceManager& manager, const std::vector<KnownDevice>& catalogue,
                    DeviceListView& view) {
  const int saved = view.SavedDeviceType();
  SetKnownDevices(manager, catalogue);
  RebuildEntries(manager);
  std::vector<DeviceEntryInfo> wireless;
  const bool has_entries = manager.WirelessEntriesOfSelected(wireless);
  // The selection is left alone; the next ReenumerateDevices corrects the list.
  view.LoadDefinition(saved);
  return has_entries;
}

bool ReenumerateDevices(DeviceManager& manager, DeviceListView& view) {
  const int saved = view.SavedDeviceType();
  RebuildEntries(manager);
  manager.SelectDeviceType(0);
  std::vector<DeviceEntryInfo> entries;
  const bool has_entries = manager.EntriesOfSelected(entries);
  manager.SelectDeviceType(saved);

  const bool told = TellDeviceList(entries, view);
  view.ShowDeviceList(view.GetOnlineDevCount() > 0);
  if (told) {
    view.SetSelectDevice(saved);
    const int selected = view.GetSelectDevice();
    manager.SelectDeviceType(selected);
    view.SetSavedDeviceType(selected);
    manager.ClearActiveCache();
    view.LoadDefinition(selected);
  }
  ShowConnection(manager, view, has_entries);
  view.HideSettingsPage();
  view.ClosePopups();
  return has_entries;
}

}  // namespace corvane
