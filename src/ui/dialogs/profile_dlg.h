// The profile chooser, opened above the profile button: a click on a profile makes it
// active; a profile can be renamed in place; the import and export buttons hand the
// selected profile to the main window, and so does "Link to applications…", under the
// line naming the selected profile's linked applications. Everything is reported to the
// main window with message 1705: (0, id) activate, (1, id) import, (2, id) export, (3, id)
// link. Clicking anywhere else closes it, activating a profile that was just renamed.
#pragma once

#include "ui/dialogs/dialog_support.h"
#include "ui/dui/mdialog.h"

namespace corvane {
class SettingsDatabase;
}

namespace corvane::DUI {
class DListBox;
}

namespace corvane::ui {

inline constexpr uint32_t kMessageProfileDialog = 1705;
inline constexpr int kProfileActivate = 0, kProfileImport = 1, kProfileExport = 2;
inline constexpr int kProfileLink = 3;

class ProfileDlg : public DUI::MDialog {
 public:
  static constexpr int kIdBackground = 30, kIdList = 31, kIdImport = 32, kIdExport = 33;
  static constexpr int kIdLinkedApps = 34, kIdLinkApps = 35;
  static constexpr int kHeightAbove = 210;  // from the button's top − 210 ...
  static constexpr int kGapAbove = 5;       // ... to its top − 5
  // The linked applications' line and "Link to applications…" below the list: the chooser
  // grows upwards by their height, so the list keeps its size.
  static constexpr int kLinkRowsHeight = 60;

  // `owner` receives message 1705; `current` is the active profile's id.
  ProfileDlg(DUI::MWindow& owner, SettingsDatabase& store, int current, TextLookup texts);

  // Opens above `button` (client rectangle of the owner) and waits until it closes.
  int Open(const DUI::Rect& button);

  void InitUI(const DUI::Rect& rect) override;
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t extra2) override;
  int OnNcActivate(bool active) override;
  int64_t OnWindowMessage(uint32_t message, int64_t wparam, int64_t lparam) override;

 private:
  // Clicked elsewhere: keep an edit in progress, activate a renamed profile and close.
  void LoseActivation();
  void Report(int what, int64_t profile);

  DUI::MWindow& owner_;
  SettingsDatabase& store_;
  int current_;
  TextLookup texts_;
  DUI::DListBox* list_ = nullptr;
  bool renamed_ = false;
  int64_t renamed_id_ = 0;
  bool closing_ = false;
  bool was_active_ = false;
};

}  // namespace corvane::ui
