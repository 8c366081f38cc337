// The program settings page: version and update check, restore defaults, the language
// list, start at login (and minimised), the close-button mode, the three links, battery
// warnings and the source that profiles follow the focused application with.
#pragma once

#include <cstdint>
#include <string>

#include "ui/dui/dui_types.h"

namespace corvane::DUI {
class MControl;
}

namespace corvane::ui {

class AutorunEntry;
class DeviceMainDlg;

inline constexpr int kIdSetVersion = 274, kIdSetUpdateState = 275, kIdSetUpdateCheck = 276;
inline constexpr int kIdSetRestore = 277;
inline constexpr int kIdSetLanguage = 279, kIdSetAutorun = 281, kIdSetAutorunMinimized = 282;
inline constexpr int kIdSetHideToTray = 286, kIdSetExit = 287;
inline constexpr int kIdSetWebsite = 289, kIdSetFeedback = 290, kIdSetFaq = 291;
inline constexpr int kIdSetAbout = 292;
inline constexpr int kIdSetBatteryLabel = 293, kIdSetBatteryWarnings = 294;
inline constexpr int kIdSetFollowLabel = 295, kIdSetFollowSource = 296;

class ProgramSettingsPage {
 public:
  ProgramSettingsPage(DeviceMainDlg& window, AutorunEntry& autorun);

  // Creates the page's controls inside `container`.
  void Build(DUI::MControl& container);
  // Places them within the page rectangle.
  void Layout(const DUI::Rect& page_rect);
  // True for the ids this page acts on.
  bool Handles(int id) const;
  // A notification of one of its controls. Returns 1 when handled.
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra);
  // Shows the stored choices again (language, autorun boxes, close-button mode).
  void Refresh();
  // Sets the composite texts again (version line, the software check's result).
  void Relabel();
  // What the software check reported (called on the GUI thread): the label's text and
  // whether the update button is enabled. Relabel shows the same in a new language.
  void SetSoftwareCheckLabel(const std::string& text);
  void EnableSoftwareUpdate(bool enabled);
  // Names the focus source profiles follow applications with (or that none is in use).
  void ShowFollowSource();

 private:
  template <typename T>
  T* Add(int id, int text_id = 0, const char* image = nullptr, int frames = 0);
  void OpenLink(int id);

  DeviceMainDlg& window_;
  AutorunEntry& autorun_;
  DUI::MControl* page_ = nullptr;
};

}  // namespace corvane::ui
