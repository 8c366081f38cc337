// The program's main window: frame, tab strip, home page with the device list, the page
// shells, the program settings page, window messages and the control dispatcher. The
// worker reports through MainWindowView, which queues every call onto this window.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/worker_task.h"
#include "ui/dui/mdialog.h"

namespace corvane {
class DeviceSession;
}

namespace corvane::DUI {
class BatteryCtrl;
class CDeviceList;
class MControlFont;
class MTabCtrl;
}  // namespace corvane::DUI

namespace corvane::ui {

class AutorunEntry;
class DPIMsgDlg;
class SaveWaitDlg;
class UpdateProcessDlg;
class UpdateTipDlg;
using TextLookup = std::function<std::string(int)>;
class DeviceListMirror;
class PagesPanel;
class ProfileFollower;
class ProgramSettingsPage;
class TrayIcon;

// The window's own messages are WindowMessage (base/worker_task.h); these are the
// control library's command message and the codes that come with the messages.
inline constexpr int kExitRequestCode = 610;
inline constexpr uint32_t kMessageCommand = 0x111;
inline constexpr int kCommandTrayExit = 100;
inline constexpr int kCommandAbout = 102;

// Frame control ids.
inline constexpr int kIdBackground = 30, kIdSidePicture = 31, kIdTitleBar = 32, kIdBottomBar = 33;
inline constexpr int kIdLogo = 34, kIdCaption = 35, kIdVersion = 36, kIdWebsite = 37;
inline constexpr int kIdClose = 38, kIdMinimize = 39, kIdSettings = 40, kIdMaximize = 41;
inline constexpr int kIdTrayNotice = 42;
// How long the no-tray notice stays once the window is active again.
inline constexpr int kTimerTrayNotice = 42;
inline constexpr int kTrayNoticeMs = 20000;
inline constexpr int kIdBattery = 43, kIdConnection = 44, kIdProfile = 45, kIdRestore = 46;
inline constexpr int kIdTabColumn = 47, kIdTabStrip = 48;
inline constexpr int kIdPageHome = 49, kIdPageKeys = 50, kIdPageDpi = 52, kIdPageMacros = 53;
inline constexpr int kIdPageLighting = 54, kIdPageDevice = 55, kIdPageSettings = 56;
inline constexpr int kIdDeviceList = 57, kIdListPrev = 60, kIdListNext = 61;
// The backdrop and words shown on the home page in place of the list while no mouse is there.
inline constexpr int kIdNoDeviceBackdrop = 58, kIdNoDeviceNotice = 59;
inline constexpr int kIdSettingsReturn = 273;
inline constexpr int kIdDpiRestore = 250, kIdFirmwareMouse = 248, kIdFirmwareReceiver = 249;

// Tab ids and positions.
inline constexpr int kTabHome = 1;
inline constexpr int kTabPositionHome = 0;
inline constexpr int kTabPositionKeys = 1;
inline constexpr int kTabPositionLighting = 4;

// The layout was designed for this client size.
inline constexpr int kDesignWidth = 1300;
inline constexpr int kDesignHeight = 788;

class DeviceMainDlg : public DUI::MDialog {
 public:
  // `session` (opened) and `mirror` must outlive the window.
  DeviceMainDlg(DeviceSession& session, DeviceListMirror& mirror, AutorunEntry& autorun);
  ~DeviceMainDlg() override;

  // Asks to be told of message boxes instead of showing them (tests); the handler gets
  // title, body and button count and returns the result (1 = OK).
  using MessageBoxHandler = std::function<int(const std::string&, const std::string&, int)>;
  void SetMessageBoxHandler(MessageBoxHandler handler) { message_box_ = std::move(handler); }
  // Called when the program should end (exit entry, exit mode, exit request).
  void SetExitHandler(std::function<void()> handler) { exit_ = std::move(handler); }
  // Called after every re-label (a language change), for texts shown outside the window.
  void SetRelabelHandler(std::function<void()> handler) { relabel_ = std::move(handler); }
  // Replaces the desktop's opening of web addresses (tests); returns whether it opened.
  using LinkOpener = std::function<bool(const std::string&)>;
  void SetLinkOpener(LinkOpener opener) { open_link_ = std::move(opener); }

  int64_t OnWindowMessage(uint32_t message, int64_t wparam, int64_t lparam) override;
  int OnInitDialog() override;
  void InitUI(const DUI::Rect& rect) override;
  void UISize(const DUI::Rect& rect) override;
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t extra2) override;
  int OnNcActivate(bool active) override;
  void OnTimer(int id) override;
  // Escape leaves the program settings page, as its back button does.
  bool HandleEscape() override;

  // Brings the window back from the tray or from behind others.
  void ShowFromTray();
  // Sets every text again in the current language, including composite ones.
  void Relabel();
  // Switches the language and re-labels (the language list's action). Returns false for
  // a language id of 0 or below.
  bool ChangeLanguage(int language_id);

  // What the worker changes, on the GUI thread (MainWindowView queues the calls here).
  void SetConnectionText(int text_id);
  void SetLinkFlag(bool linked) { link_ = linked; }
  void SetIdlePoll(bool on) { idle_poll_ = on; }
  void ShowDeviceControls(bool show);
  void ShowDeviceList(bool show);
  // Shows the list's paging buttons only when more models are present than fit.
  void UpdateListPaging();
  void SetBatteryInfo(int level, int state);
  // Closes the program settings page, if it shows, as its return button does: the page
  // it covered (the opened device's or the home page) comes back.
  void HideSettingsPage();
  // Shows what the loaded model's definition asks for: its picture beside the device
  // pages and the lighting tab only for a model with lighting.
  void ApplyDefinition();
  void RefreshProfileButton();
  DUI::CDeviceList* DeviceList() const { return device_list_; }
  PagesPanel* Pages() const { return pages_.get(); }
  ProgramSettingsPage* SettingsPage() const { return settings_page_.get(); }
  DeviceSession& Session() { return session_; }

  // State the tests look at.
  int CurrentTabId() const { return current_tab_; }
  int ConnectionTextId() const { return connection_text_; }
  bool LinkFlag() const { return link_; }
  bool IdlePoll() const { return idle_poll_; }
  double LayoutScale() const { return scale_; }
  bool TrayVisible() const;
  // True while the notice shows that closing minimises for want of a tray.
  bool TrayNoticeShown() const;
  TrayIcon& Tray() { return *tray_; }

  // A text of the current language.
  std::string Text(int id) const;
  // Registers a control whose title is language text `text_id`, sets it, and returns it.
  DUI::MControl* Labelled(DUI::MControl* control, int text_id);
  // The same, handing back the control with its own type.
  template <typename T>
  T* Labelled(T* control, int text_id) {
    DUI::MControl* base = control;
    Labelled(base, text_id);
    return control;
  }
  // Registers a control whose tooltip is language text `text_id`.
  void Tooltip(DUI::MControl* control, int text_id);
  // For screen readers: the name of a control that shows no words of its own, and the
  // description that tells a control from another one showing the same words.
  void Named(DUI::MControl* control, int text_id);
  void Described(DUI::MControl* control, int text_id);
  // Shows a message box (or asks the test handler); returns the button chosen.
  int MessageBox(int title_id, int body_id, int buttons);
  // The same with texts already looked up; `style` 0 (one button) or 4 (two).
  int MessageBoxText(const std::string& title, const std::string& body, int style);
  // Texts of the current language, for the dialogs.
  TextLookup Texts() const;
  // Opens a web address in the desktop's browser; when none opens, says so with the
  // address, so it can be copied by hand. An empty address does nothing.
  void OpenLink(const std::string& url);

  // Dialog actions (device_main_actions.cpp).
  void OnProfileButton();
  // Message 1705: activate (0), import (1) or export (2) `profile`. An activation is a
  // choice by hand: the profile also becomes the one to return to from linked applications.
  void OnProfileChosen(int64_t what, int64_t profile);
  // "Link to applications…" of the chooser for `profile`.
  void OpenLinkDialog(int profile);
  // Makes `profile` active, shows its name and sends it to the mouse.
  void ActivateProfile(int profile);
  // Profiles that follow the focused application.
  ProfileFollower& Follower() { return *follower_; }
  // Restore-defaults buttons: asks, then restores and shows the saving pop-up.
  void RestoreDefaults();
  // Firmware buttons 248 (mouse) and 249 (receiver).
  void OnFirmwareButton(int id);
  // Message 1692: software (1) or firmware (2) update offered.
  void OnUpdatePrompt(int64_t kind);
  // Message 1694: download progress for the software progress dialog.
  void OnDownloadProgress(int percent);
  // The firmware progress dialog's text and bar; closing it.
  void SetUpgradeProgress(const std::string& text, int percent);
  void CloseUpgradeProgress();
  // WM_COMMAND 102.
  void ShowAbout();
  // Pop-ups that show only when the model's definition asks for them.
  void ShowDpiPopup(int dpi);
  void ShowSavingPopup();
  // Closes message boxes and menus and hides pop-ups (the device changed).
  void ClosePopups();

 private:
  struct Label {
    DUI::MControl* control;
    int text_id;
  };

  void BuildFrame(const DUI::Rect& rect);
  void BuildTabs();
  void BuildHomePage(const DUI::Rect& rect);
  DUI::MControl* Picture(const std::string& file, int id, int mode, int margin,
                         bool visible = true);
  void LayoutFrame(const DUI::Rect& rect);
  void OnTabChange(int index);
  void OpenDevice();
  void OnCloseButton();
  // Closing minimised the window for want of a tray: says so, the first time only.
  void NoteNoTray();
  void ShowSettingsPage();
  // Hides the settings page and brings back the frame buttons it covered.
  void CloseSettingsPage();
  void LeaveSettingsPage();
  // After a page change: the keyboard stays on the window's pages (the tab strip, or the
  // settings page) when the control that had it went away with the page.
  void KeepKeyboardOnThePage();
  // The skin's picture "device/<file>", or the default mouse when the skin lacks it.
  std::string DevicePicture(const std::string& file) const;
  void OnTrayActivated(int reason);
  void Exit();
  std::string VersionLine() const;
  // Names the battery gauge by its level and charging, in the current language.
  void NameBattery();
  // The connection plate: at least its design width, wider when the text needs it.
  DUI::Rect ConnectionRect() const;
  void Show(int id, bool show);

  DeviceSession& session_;
  DeviceListMirror& mirror_;
  AutorunEntry& autorun_;
  std::unique_ptr<TrayIcon> tray_;
  std::unique_ptr<ProfileFollower> follower_;
  std::unique_ptr<PagesPanel> pages_;
  std::unique_ptr<ProgramSettingsPage> settings_page_;
  std::vector<Label> labels_;
  std::vector<Label> tooltips_;
  std::vector<Label> names_;
  std::vector<Label> descriptions_;
  DUI::MTabCtrl* tabs_ = nullptr;
  DUI::CDeviceList* device_list_ = nullptr;
  DUI::BatteryCtrl* battery_ = nullptr;
  DUI::MControlFont* connection_ = nullptr;
  DUI::MControlFont* profile_button_ = nullptr;
  DUI::MControlFont* version_label_ = nullptr;
  std::unique_ptr<DPIMsgDlg> dpi_popup_;
  std::unique_ptr<SaveWaitDlg> save_popup_;
  std::unique_ptr<UpdateTipDlg> update_tip_;
  UpdateProcessDlg* update_progress_ = nullptr;  // while its modal loop runs
  MessageBoxHandler message_box_;
  LinkOpener open_link_;
  std::function<void()> exit_;
  std::function<void()> relabel_;
  int current_tab_ = kTabHome;
  int current_device_ = 0;
  int connection_text_ = 0;
  bool link_ = false;
  bool idle_poll_ = false;
  bool no_tray_noted_ = false;
  double scale_ = 1.0;
};

}  // namespace corvane::ui
