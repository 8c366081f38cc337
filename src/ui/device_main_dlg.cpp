// The main window's frame, tabs, home page and dispatcher.
#include "ui/device_main_dlg.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>

#include "app/display_names.h"
#include "app/key_value_store.h"
#include "app/language_text.h"
#include "app/text_ids.h"
#include "base/text.h"
#include "device/device_manager.h"
#include "store/settings_database.h"
#include "ui/device_list_mirror.h"
#include "ui/device_main_parts.h"
#include "ui/dialogs/notice_popups.h"
#include "ui/dialogs/ui_message_box.h"
#include "ui/dialogs/update_dialogs.h"
#include "ui/dui/battery_ctrl.h"
#include "ui/dui/cdevice_list.h"
#include "ui/dui/cicon_button.h"
#include "ui/dui/colour_names.h"
#include "ui/dui/manager.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/dui/mpicture.h"
#include "ui/dui/mrender.h"
#include "ui/dui/mtab_ctrl.h"
#include "ui/pages/keys_page.h"
#include "ui/pages/macro_page.h"
#include "ui/pages_panel.h"
#include "ui/profile_follower.h"
#include "ui/program_settings_page.h"
#include "ui/tray_icon.h"
#include "worker/device_session.h"

namespace corvane::ui {

using DUI::Rect;
using namespace main_window;

DeviceMainDlg::DeviceMainDlg(DeviceSession& session, DeviceListMirror& mirror,
                             AutorunEntry& autorun)
    : session_(session), mirror_(mirror), autorun_(autorun) {
  tray_ = std::make_unique<TrayIcon>([this] { ShowFromTray(); }, [this] { Exit(); });
  follower_ = std::make_unique<ProfileFollower>(*this);
  // Swatches anywhere in the program are read out by their colour's word, in the language
  // of the moment.
  DUI::SetColourNamer([this](uint32_t colour) { return Text(DUI::ColourTextId(colour)); });
}

DeviceMainDlg::~DeviceMainDlg() {
  DUI::SetColourNamer(nullptr);
  // Neither the focus sources nor the worker may report to a window that is going away.
  follower_.reset();
  session_.Worker().Stop();
  tray_->Remove();
}

std::string DeviceMainDlg::Text(int id) const { return session_.Texts().Text(id); }

DUI::MControl* DeviceMainDlg::Labelled(DUI::MControl* control, int text_id) {
  if (auto* font = dynamic_cast<DUI::MControlFont*>(control)) {
    font->SetTitle(Text(text_id));
    // A control that changes what it says keeps one entry, so a language switch gives it
    // its latest text.
    for (Label& label : labels_) {
      if (label.control == control) {
        label.text_id = text_id;
        return control;
      }
    }
    labels_.push_back({control, text_id});
  }
  return control;
}

void DeviceMainDlg::OpenLink(const std::string& url) {
  if (url.empty()) return;
  const bool opened = open_link_ ? open_link_(url)
                                 : QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
  if (!opened) MessageBoxText(Text(kTextNoBrowser), Text(kTextNoBrowser) + "\n\n" + url, 0);
}

void DeviceMainDlg::Tooltip(DUI::MControl* control, int text_id) {
  if (control == nullptr) return;
  control->SetTooltip(Text(text_id));
  tooltips_.push_back({control, text_id});
}

void DeviceMainDlg::Named(DUI::MControl* control, int text_id) {
  if (control == nullptr) return;
  control->setAccessibleName(QString::fromStdString(Text(text_id)));
  names_.push_back({control, text_id});
}

void DeviceMainDlg::Described(DUI::MControl* control, int text_id) {
  if (control == nullptr) return;
  control->setAccessibleDescription(QString::fromStdString(Text(text_id)));
  descriptions_.push_back({control, text_id});
}

int DeviceMainDlg::MessageBox(int title_id, int body_id, int buttons) {
  return MessageBoxText(Text(title_id), Text(body_id),
                        buttons > 1 ? kMessageBoxTwoButtons : kMessageBoxOneButton);
}

DUI::MControl* DeviceMainDlg::Picture(const std::string& file, int id, int mode, int margin,
                                      bool visible) {
  auto* picture = Create<DUI::MPicture>(id, Rect{}, {}, visible);
  if (!file.empty()) picture->SetImage(file, 1);
  picture->SetShowMode(mode, margin);
  return picture;
}

int DeviceMainDlg::OnInitDialog() {
  DUI::MDialog::OnInitDialog();
  const QIcon icon =
      DUI::MRender::LoadIconFromFile(DUI::Manager::GetSkinFolder() + "DeviceDriver.ico");
  tray_->Add(icon, DUI::Manager::GetDeviceName(), Text(kTextTrayExit));
  tray_->SetAboutEntry(Text(kTextAbout), [this] { PostMessage(kMessageCommand, kCommandAbout, 0); });
  SetIcon(icon);
  // Read while the last session's model is still the saved one.
  session_.TakeOwedTasks();
  // Every start begins from "any identified model": the first rebuild then selects what
  // the device list finds instead of a model that may have gone.
  session_.Values().WriteDeviceType(kIdsOnlyDeviceType);
  session_.Worker().StartWithInitialTasks();
  SetMTimer(kAnimationIntervalMs);
  return 1;
}

int DeviceMainDlg::OnNcActivate(bool active) {
  // The notice is read once the window is back: its time starts then.
  if (active && TrayNoticeShown()) SetTimer(kTimerTrayNotice, kTrayNoticeMs);
  return 0;
}

void DeviceMainDlg::OnTimer(int id) {
  if (id != kTimerTrayNotice) return DUI::MDialog::OnTimer(id);
  KillTimer(kTimerTrayNotice);
  Show(kIdTrayNotice, false);
}

bool DeviceMainDlg::TrayNoticeShown() const {
  const DUI::MControl* notice = GetControl(kIdTrayNotice);
  return notice != nullptr && notice->IsVisible();
}

bool DeviceMainDlg::TrayVisible() const { return tray_->IsShown(); }

int64_t DeviceMainDlg::OnWindowMessage(uint32_t message, int64_t wparam, int64_t lparam) {
  switch (message) {
    case kMessageCommand:
      if (wparam == kCommandTrayExit) Exit();
      if (wparam == kCommandAbout) ShowAbout();
      break;
    case MessageNumber(WindowMessage::kTrayCallback):
      OnTrayActivated(static_cast<int>(lparam));
      return 0;
    case MessageNumber(WindowMessage::kExitRequest):
      if (lparam == kExitRequestCode) Exit();
      return 0;
    case MessageNumber(WindowMessage::kUpdateAvailable):
      OnUpdatePrompt(wparam);
      return 1;
    case MessageNumber(WindowMessage::kDownloadProgress):
      OnDownloadProgress(static_cast<int>(lparam));
      return 1;
    case MessageNumber(WindowMessage::kProfileChosen):
      OnProfileChosen(wparam, lparam);
      return 1;
    case DUI::kMessageClose:
      // The desktop's close request (keyboard shortcut, task bar) acts as the close
      // button; hiding without a way back would strand the program.
      OnCloseButton();
      return 0;
    case MessageNumber(WindowMessage::kRelabel):
      Relabel();
      break;
    default:
      break;
  }
  return DUI::MDialog::OnWindowMessage(message, wparam, lparam);
}

void DeviceMainDlg::OnTrayActivated(int reason) {
  constexpr int kLeftDown = 0x201, kLeftDouble = 0x203;
  if (reason == kLeftDown || reason == kLeftDouble) ShowFromTray();
}

int64_t DeviceMainDlg::OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t extra2) {
  if (id == kIdTabStrip) {
    OnTabChange(static_cast<int>(extra));
    return 1;
  }
  if (id == kIdSettingsReturn && code == DUI::NotifyCode::kClick) {
    LeaveSettingsPage();
    return 1;
  }
  if (settings_page_ && settings_page_->Handles(id)) {
    return settings_page_->OnMessage(id, code, extra);
  }
  if (code != DUI::NotifyCode::kClick) return pages_ ? pages_->OnMessage(id, code, extra, extra2) : 0;
  switch (id) {
    case kIdWebsite:
      OpenLink(session_.Catalogue().Software().website);
      return 1;
    case kIdClose:
      OnCloseButton();
      return 1;
    case kIdMinimize:
      OnMinimize();
      return 1;
    case kIdSettings:
      ShowSettingsPage();
      return 1;
    case kIdMaximize:
      OnMaximize();
      return 1;
    case kIdProfile:
      OnProfileButton();
      return 1;
    case kIdRestore:
    case kIdDpiRestore:
      RestoreDefaults();
      return 1;
    case kIdFirmwareMouse:
    case kIdFirmwareReceiver:
      OnFirmwareButton(id);
      return 1;
    case kIdDeviceList:
      OpenDevice();
      return 1;
    case kIdListPrev:
      device_list_->PrevPage();
      device_list_->SetSelectIndex(-1);
      return 1;
    case kIdListNext:
      device_list_->NextPage();
      device_list_->SetSelectIndex(-1);
      return 1;
    default:
      return pages_ ? pages_->OnMessage(id, code, extra, extra2) : 0;
  }
}

void DeviceMainDlg::Show(int id, bool show) {
  if (DUI::MControl* control = GetControl(id)) control->SetVisible(show);
}

void DeviceMainDlg::OpenDevice() {
  const int type = device_list_->GetSelectDevice();
  DeviceManager& manager = DeviceManager::Instance();
  if (type == 0 || !manager.IsDevicePresent(type)) {
    MessageBox(kTextDeviceNotConnected, kTextNoDeviceNotice, 1);
    return;
  }
  if (type != current_device_) {
    current_device_ = type;
    manager.SelectDeviceType(type);
    session_.Values().WriteDeviceType(type);
    session_.Model().LoadDefinition(type);
    ApplyDefinition();
  }
  if (manager.ActiveConnectionMode() == ConnectionMode::kReceiver) {
    SetConnectionText(kTextWireless);
    session_.Worker().Post(WorkerTask::kOpenDevice);
  } else {
    SetConnectionText(kTextWired);
  }
  Show(kIdTabColumn, true);
  tabs_->SetTabCtrlVisible(true);
  OnTabChange(kTabPositionKeys);
  Show(kIdConnection, true);
  Show(kIdProfile, true);
  RefreshProfileButton();
  if (pages_) pages_->Refresh();
}

void DeviceMainDlg::OnTabChange(int index) {
  if (!tabs_->IsItemVisible(index)) return;
  const int previous = current_tab_;
  const int tab_id = tabs_->GetItemID(index);
  // A recording hears every key: left running behind another page it would take what is
  // typed there.
  if (tab_id != previous && pages_) pages_->Macros()->StopRecording();
  // Always: a page hidden under the settings page comes back even on its own tab.
  tabs_->SetCurSel(index);
  if (GetControl(kIdPageSettings)->IsVisible()) {
    CloseSettingsPage();
    Show(kIdTabColumn, tab_id != kTabHome);
    tabs_->SetTabCtrlVisible(tab_id != kTabHome);
  }
  if (previous == kTabHome) Show(kIdSidePicture, true);
  Show(kIdBattery, true);
  if (tab_id == kTabHome) {
    for (int id :
         {kIdSidePicture, kIdTabColumn, kIdConnection, kIdProfile, kIdRestore, kIdBattery}) {
      Show(id, false);
    }
    tabs_->SetTabCtrlVisible(false);
  }
  current_tab_ = tab_id;
  KeepKeyboardOnThePage();
}

void DeviceMainDlg::KeepKeyboardOnThePage() {
  // Hiding the control that had the keyboard (a card, a button of the page left) hands it
  // on in the Tab order, to the footer's website link: one Enter away from a browser.
  QWidget* focus = QApplication::focusWidget();
  if (focus != nullptr && focus->isVisible() && focus != GetControl(kIdWebsite)) return;
  if (GetControl(kIdPageSettings)->IsVisible()) {
    GetControl(kIdPageSettings)->setFocus(Qt::OtherFocusReason);
  } else if (current_tab_ != kTabHome) {
    tabs_->setFocus(Qt::OtherFocusReason);
  } else if (device_list_ != nullptr && device_list_->isVisible()) {
    device_list_->setFocus(Qt::OtherFocusReason);  // home, with a mouse to open
  }
}

void DeviceMainDlg::ShowSettingsPage() {
  if (pages_) pages_->Macros()->StopRecording();
  Show(kIdTabColumn, false);
  tabs_->SetTabCtrlVisible(false);
  // The logo sits on the frame above every page; the settings page covers its place.
  for (int id : {kIdSidePicture, kIdBattery, kIdSettings, kIdMaximize, kIdLogo}) Show(id, false);
  // The page covers the device pages; hide the one below so it does not show through.
  for (const TabSpec& tab : kTabs) Show(tab.page, false);
  settings_page_->Refresh();
  Show(kIdPageSettings, true);
  KeepKeyboardOnThePage();
}

void DeviceMainDlg::CloseSettingsPage() {
  Show(kIdPageSettings, false);
  Show(kIdLogo, true);
  for (int id : {kIdClose, kIdMinimize, kIdSettings}) Show(id, true);
}

bool DeviceMainDlg::HandleEscape() {
  // An editor open on the buttons page closes first, as its close button does.
  if (pages_ && pages_->Keys() != nullptr && pages_->Keys()->CloseEditor()) return true;
  if (!GetControl(kIdPageSettings)->IsVisible()) return false;
  LeaveSettingsPage();
  return true;
}

void DeviceMainDlg::HideSettingsPage() {
  if (GetControl(kIdPageSettings)->IsVisible()) LeaveSettingsPage();
}

void DeviceMainDlg::LeaveSettingsPage() {
  CloseSettingsPage();
  if (idle_poll_ && current_tab_ != kTabHome) {
    Show(kIdTabColumn, true);
    tabs_->SetTabCtrlVisible(true);
    tabs_->SetCurSel(kTabPositionKeys);
    current_tab_ = tabs_->GetItemID(kTabPositionKeys);
    Show(kIdSidePicture, true);
    Show(kIdBattery, true);
  } else {
    // No device page to return to: home, without the controls of a device page.
    tabs_->SetCurSel(kTabPositionHome);
    current_tab_ = kTabHome;
    for (int id : {kIdConnection, kIdProfile, kIdRestore}) Show(id, false);
  }
  KeepKeyboardOnThePage();
}

std::string DeviceMainDlg::DevicePicture(const std::string& file) const {
  std::error_code error;
  const bool present =
      IsSafeFileStem(file) &&
      std::filesystem::is_regular_file(
          std::filesystem::path(DUI::Manager::GetSkinFolder()) / "device" / file, error);
  return present ? "device/" + file : kDefaultDevicePicture;
}

void DeviceMainDlg::ApplyDefinition() {
  const DeviceDefinition definition = session_.Model().Definition();
  GetControl<DUI::MPicture>(kIdSidePicture)->SetImage(DevicePicture(definition.mouse_image), 1);
  tabs_->SetItemVisible(kTabPositionLighting, definition.lighting);
  // A model without lighting cannot stay on the lighting page.
  if (current_tab_ == kTabs[kTabPositionLighting].id && !definition.lighting) {
    OnTabChange(kTabPositionKeys);
  }
  UISize(GetClientRect());
}

void DeviceMainDlg::OnCloseButton() {
  if (!session_.Values().ReadHideOnClose()) {
    Exit();
    return;
  }
  // Without a tray there is no way back to a hidden window: minimise instead.
  if (TrayVisible()) {
    ShowWindow(DUI::kShowHide);
  } else {
    NoteNoTray();
    OnMinimize();
  }
}

void DeviceMainDlg::NoteNoTray() {
  if (no_tray_noted_) return;
  no_tray_noted_ = true;
  Show(kIdTrayNotice, true);
  // Above the page it lies over (the settings page covers the whole client area).
  GetControl(kIdTrayNotice)->raise();
}

void DeviceMainDlg::Exit() {
  tray_->Remove();
  if (exit_) {
    exit_();
  } else {
    QApplication::exit(0);
  }
}

void DeviceMainDlg::ShowFromTray() {
  ShowWindow(DUI::kShowNormal);
  if (QWidget* widget = GetSafeHwnd()) {
    // A window minimised for want of a tray comes back at its normal size. A Wayland
    // client is neither told it was minimised nor allowed to undo it: the window is shown
    // afresh, which the compositor maps like a new one.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) &&
        widget->isVisible()) {
      widget->hide();
    }
    if (widget->isMinimized() || !widget->isVisible()) widget->showNormal();
    widget->raise();
    widget->activateWindow();
  }
}

bool DeviceMainDlg::ChangeLanguage(int language_id) {
  if (language_id <= 0) return false;
  session_.Texts().SetLanguageId(language_id);
  session_.Values().WriteLcid(language_id);
  DUI::Manager::SetFontName(kFrameFont);
  Relabel();
  return true;
}

void DeviceMainDlg::Relabel() {
  for (const Label& label : labels_) {
    if (auto* font = dynamic_cast<DUI::MControlFont*>(label.control)) {
      font->SetTitle(Text(label.text_id));
      font->SetFontName(kFrameFont);
    }
  }
  for (const Label& tip : tooltips_) tip.control->SetTooltip(Text(tip.text_id));
  for (const Label& name : names_) {
    name.control->setAccessibleName(QString::fromStdString(Text(name.text_id)));
  }
  for (const Label& description : descriptions_) {
    description.control->setAccessibleDescription(
        QString::fromStdString(Text(description.text_id)));
  }
  for (int i = 0; i < static_cast<int>(std::size(kTabs)); ++i)
    tabs_->SetItemText(i, Text(kTabs[i].text_id));
  version_label_->SetTitle(VersionLine());
  NameBattery();
  device_list_->SetVersionDesc(Text(kTextDeviceVersion));
  SetConnectionText(connection_text_);
  tray_->SetExitText(Text(kTextTrayExit));
  tray_->SetAboutEntry(Text(kTextAbout), [this] { PostMessage(kMessageCommand, kCommandAbout, 0); });
  RefreshProfileButton();
  if (pages_) pages_->Relabel();
  if (settings_page_) settings_page_->Relabel();
  if (relabel_) relabel_();
}

void DeviceMainDlg::RefreshProfileButton() {
  // Profiles were created, chosen or the model's store changed: its links may differ.
  if (follower_) follower_->Reload();
  if (profile_button_ == nullptr) return;
  SettingsDatabase& store = session_.Store();
  const std::optional<std::string> name = store.GetProfileName(store.GetActiveProfile());
  profile_button_->SetTitle(name ? DisplayProfileName(*name, Text(kTextProfile))
                                 : Text(kTextProfile));
}

void DeviceMainDlg::SetConnectionText(int text_id) {
  connection_text_ = text_id;
  if (connection_) {
    connection_->SetTitle(Text(text_id));
    connection_->SetRect(ConnectionRect());
  }
}

void DeviceMainDlg::ShowDeviceControls(bool show) {
  // Only while a device page is up: the home page keeps its controls hidden.
  if (current_tab_ == kTabHome) return;
  // The connection line stays: with the mouse gone it is what says so on every page.
  Show(kIdConnection, true);
  for (int id : {kIdProfile, kIdBattery}) Show(id, show);
}

void DeviceMainDlg::ShowDeviceList(bool show) {
  device_list_->SetVisible(show);
  // With no list the home page says in words that no mouse is there, and, when its
  // receiver is, that the mouse is off or away rather than missing.
  for (int id : {kIdNoDeviceBackdrop, kIdNoDeviceNotice}) Show(id, !show);
  if (!show) {
    const std::vector<DeviceEntryInfo> entries = DeviceManager::Instance().Entries();
    const bool receiver = std::any_of(entries.begin(), entries.end(), [](const auto& entry) {
      return entry.mode == ConnectionMode::kReceiver;
    });
    Labelled(GetControl(kIdNoDeviceNotice), receiver ? kTextMouseOffNotice : kTextNoDeviceNotice);
  }
  UpdateListPaging();
  // The keyboard starts on the list, the home page's one task; a hidden list could not
  // take it at start-up, nor keep it while the mouse was away.
  QWidget* focused = GetSafeHwnd()->focusWidget();
  if (show && current_tab_ == kTabHome && (focused == nullptr || !focused->isVisible())) {
    device_list_->setFocus();
  }
}

void DeviceMainDlg::UpdateListPaging() {
  const bool paged = device_list_->IsVisible() &&
                     device_list_->GetOnlineDevCount() > device_list_->CardsPerPage();
  Show(kIdListPrev, paged);
  Show(kIdListNext, paged);
}

}  // namespace corvane::ui
