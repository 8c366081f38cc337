// What the update jobs show and ask for: version labels, update buttons, the
// "update available" and download-progress messages and the firmware progress pop-up.
// The main window adapts it; the CLI and the tests implement it with recorders.
#pragma once

#include <string>

#include "app/text_ids.h"

namespace corvane {

// Which update an "update available" message offers.
inline constexpr int kSoftwareUpdateKind = 1;
inline constexpr int kFirmwareUpdateKind = 2;

// The language texts the update jobs show are named in app/text_ids.h.

class UpdateView {
 public:
  virtual ~UpdateView() = default;

  // Returns the localized text of the given id (section "LAN"); empty when unknown.
  virtual std::string LanguageText(int id) = 0;

  // Replace the text of the software / firmware version label.
  virtual void SetSoftwareVersionLabel(const std::string& text) = 0;
  virtual void SetFirmwareVersionLabel(const std::string& text) = 0;

  // Enable or disable the software / firmware update button.
  virtual void EnableSoftwareUpdateButton(bool enabled) = 0;
  virtual void EnableFirmwareUpdateButton(bool enabled) = 0;

  // Posts WindowMessage::kUpdateAvailable with wParam `kind` (kSoftwareUpdateKind or
  // kFirmwareUpdateKind), lParam 1.
  virtual void PostUpdateAvailable(int kind) = 0;

  // Posts WindowMessage::kDownloadProgress with wParam 0 and lParam `percent`.
  virtual void PostDownloadProgress(int percent) = 0;

  // Shows (percent, text) on the firmware progress pop-up; does nothing when none is open.
  virtual void ShowFirmwareProgress(int percent, const std::string& text) = 0;
};

}  // namespace corvane
