// What device jobs tell the window, and the little they ask of it, split by role: the
// device list and connection, the battery, the pages, and the update prompts. The worker
// never touches a widget: the window implements every role by queuing each call to its
// own thread; the CLI and the tests implement them with RecordingDeviceView. A new call
// goes into the role it belongs to here and into those two implementations; the worker's
// wrapper (WorkerView) only wraps the device list role.
#pragma once

#include <string>

#include "app/text_ids.h"
#include "base/device_values.h"
#include "base/worker_task.h"

namespace corvane {

// Pages a job can ask the window to redraw from the store.
enum class DevicePage { kButtons, kMacro, kPerformance, kLighting, kDpi };

// The device list, the selected model and the connection line, and what the worker keeps
// alongside them (the saved model, its definition, the link flag and the idle poll).
// Connection line texts are kTextNoDevice, kTextWired and kTextWireless of app/text_ids.h.
class DeviceListView {
 public:
  virtual ~DeviceListView() = default;

  // The saved model (key/value store `DeviceType`, 0 when absent) and writing it back.
  virtual int SavedDeviceType() = 0;
  virtual void SetSavedDeviceType(int device_type) = 0;
  // Loads the definition file of a model (the window owns the loaded definition).
  virtual void LoadDefinition(int device_type) = 0;

  // Connection line: shows language text `text_id` (kTextNoDevice/Wired/Wireless).
  virtual void SetConnectionText(int text_id) = 0;
  // The link flag (mouse shown as connected) and the device controls' visibility.
  virtual void SetLinkFlag(bool linked) = 0;
  virtual void ShowDeviceControls(bool show) = 0;
  // The worker's idle notification poll (on while device entries exist).
  virtual void SetIdlePoll(bool on) = 0;

  // Device list control.
  virtual void SetAllDeviceState(OnlineState state) = 0;
  virtual void SetDeviceState(int device_type, ConnectionMode mode, OnlineState state) = 0;
  virtual void SetDeviceVersion(int device_type, int release_number) = 0;
  // Number of models the list shows as online.
  virtual int GetOnlineDevCount() = 0;
  // Asks the list to select a model; it may pick another when that one is absent.
  virtual void SetSelectDevice(int device_type) = 0;
  // The model the list has selected (0 = none).
  virtual int GetSelectDevice() = 0;
  // Shows or hides the device list.
  virtual void ShowDeviceList(bool show) = 0;
  // Hides the program settings page (if showing) and shows its buttons again.
  virtual void HideSettingsPage() = 0;
  // Closes the tool's pop-up windows.
  virtual void ClosePopups() = 0;
};

// The battery gauge and the device list's battery of a model; values passed on unchanged.
class BatteryView {
 public:
  virtual ~BatteryView() = default;
  virtual void SetBatteryInfo(BatteryStatus battery) = 0;
  virtual void SetDeviceBattery(int device_type, BatteryStatus battery) = 0;
};

// The device pages: redraws from the store and what the mouse's own buttons change.
class PageView {
 public:
  virtual ~PageView() = default;
  // The firmware version line, already formatted.
  virtual void SetVersionLine(const std::string& line) = 0;
  // Redraw a page from the store.
  virtual void RefreshPage(DevicePage page) = 0;
  // DPI stage list and pop-up after the mouse's own DPI button.
  virtual void SelectDpiStageCount(int count) = 0;
  virtual void SelectDpiStage(int index, int dpi) = 0;
  virtual void ShowDpiPopup(int dpi) = 0;
  // Stops a running macro recording (the mouse went away).
  virtual void StopMacroRecording() = 0;
};

// The update prompts: version labels, update buttons, messages and firmware progress.
class UpdatePromptView {
 public:
  virtual ~UpdatePromptView() = default;
  // Firmware/download progress: text and percentage for the update dialog.
  virtual void SetUpgradeProgress(const std::string& text, int percent) = 0;
  // Hands `message` with its two values to the window, which acts on it later (the update
  // jobs' kUpdateAvailable and kDownloadProgress; the values are as WindowMessage says).
  virtual void Post(WindowMessage message, long long first, long long second) = 0;

  // The update controls. A view without them (a headless front end) keeps the defaults,
  // which ignore the calls.
  // Replace the text of the software / firmware version label.
  virtual void SetSoftwareVersionLabel(const std::string& /*text*/) {}
  virtual void SetFirmwareVersionLabel(const std::string& /*text*/) {}
  // Enable or disable the software / firmware update button.
  virtual void EnableSoftwareUpdateButton(bool /*enabled*/) {}
  virtual void EnableFirmwareUpdateButton(bool /*enabled*/) {}
  // Closes the firmware progress pop-up when one is open.
  virtual void CloseUpgradeProgress() {}
};

// A front end: one object in every role.
class DeviceView : public DeviceListView,
                   public BatteryView,
                   public PageView,
                   public UpdatePromptView {};

}  // namespace corvane
