// The worker's task numbers and the main window's message numbers: the one place they
// are spelled. Everything that posts, runs, records or prints one uses these names.
#pragma once

#include <cstdint>

namespace corvane {

// A job the worker runs, posted by the window, the pages, the CLI or the worker itself.
// A number without a job (one not listed here, read from the command line) is dropped.
enum class WorkerTask : int {
  kStartup = 1,            // rebuild the device list, then read the mouse back
  kArrival = 2,            // a matching interface arrived: rebuild, then read back
  kRemoval = 3,            // a receiver interface left: re-enumerate, then read back
  kOpenDevice = 4,         // a model was chosen in the device list
  kUploadProfile = 5,      // send every setting of the active profile
  kButtonTable = 6,        // pending macro, then the button table
  kLightingMode = 8,       // the lighting mode
  kDpiStageValues = 9,     // the DPI stages
  kDpiStageColours = 10,   // the DPI stage colours
  kReportRate = 11,        // the report rate
  kSensorOptions = 12,     // lift-off and sensor options
  kPowerOptions = 13,      // power and response-time options
  kLightingReadback = 17,  // reset the lighting and read it back
  kFactoryDpi = 18,        // the definition's DPI stages, stored and sent
  kRestoreDefaults = 20,   // the mouse's and the store's factory values
  kPointerSettings = 22,   // the operating system's pointer settings
  kSoftwareCheck = 23,     // software version check
  kFirmwareCheck = 24,     // firmware version check
  kSoftwareInstall = 26,   // software download and install
  kFirmwareInstall = 27,   // firmware download and transfer
};

// The number as posted and printed.
constexpr int TaskNumber(WorkerTask task) { return static_cast<int>(task); }
// A number from outside (the command line); may name no job.
constexpr WorkerTask TaskFromNumber(int number) { return static_cast<WorkerTask>(number); }

// Messages to the main window.
enum class WindowMessage : uint32_t {
  kTrayCallback = 1690,      // the tray icon's mouse message in lParam
  kExitRequest = 1691,       // exit when lParam is kExitRequestCode
  kUpdateAvailable = 1692,   // wParam: 1 software, 2 firmware; lParam 1
  kDownloadProgress = 1694,  // lParam: percent
  kProfileChosen = 1705,     // wParam 0: lParam became active; 1 import, 2 export
  kMacroListMenu = 1709,     // macro page pop-up menus; wParam is the menu command
  kRecordListMenu = 1710,
  kInsertEventMenu = 1711,
  kRelabel = 2022,  // re-label every text in the current language
};

// The number as the window's message loop sees it.
constexpr uint32_t MessageNumber(WindowMessage message) { return static_cast<uint32_t>(message); }

}  // namespace corvane
