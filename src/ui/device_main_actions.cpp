// The main window's actions that open dialogs: profile chooser and the chosen profile,
// restore defaults, firmware buttons, update prompts and their progress, the about box,
// the DPI and saving pop-ups, and closing every pop-up when the device changes.
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <algorithm>
#include <unistd.h>

#include "app/display_names.h"
#include "focus/app_candidates.h"
#include "app/text_ids.h"
#include "exchange/profile_file.h"
#include "base/worker_task.h"
#include "ui/profile_follower.h"
#include "worker/device_session.h"
#include "store/settings_database.h"
#include "ui/device_main_dlg.h"
#include "ui/dialogs/dialog_support.h"
#include "ui/dialogs/about_dlg.h"
#include "ui/dialogs/notice_popups.h"
#include "ui/dialogs/link_apps_dlg.h"
#include "ui/dialogs/profile_dlg.h"
#include "ui/dialogs/ui_message_box.h"
#include "ui/dialogs/update_dialogs.h"
#include "ui/dui/cdevice_list.h"
#include "ui/pages_panel.h"
#include "ui/pages/device_settings_page.h"
#include "ui/pages/macro_page.h"
#include "worker/update_jobs.h"

namespace corvane::ui {
namespace {

constexpr int kUpdateSoftware = 1;
constexpr int kUpdateFirmware = 2;
constexpr const char* kProfileFilter = "XML (*.xml)";

// Windows the close-pop-ups operation closes (with its wParam) or hides, in order.
struct PopupClose {
  const char* title;
  int64_t wparam;
};
constexpr PopupClose kClosedPopups[] = {
    {"CloseWindowTipDlg", 0}, {"CustomKeyDlg", 0}, {"MessageBox", DUI::MWindow::kModalCancel},
    {"WaitDlg", 0},           {"Menu Window", 0},
};
constexpr const char* kHiddenPopups[] = {"KeyboardTip Window", "ComboWnd", "PaletteDlg"};

// "1.23" from "123": the first character, a point, the last two ("5.5" from "5").
std::string DottedFirmware(const std::string& version) {
  const std::string head = version.substr(0, 1);
  const std::string tail = version.size() >= 2 ? version.substr(version.size() - 2) : version;
  return head + "." + tail;
}

}  // namespace

TextLookup DeviceMainDlg::Texts() const {
  return [this](int id) { return Text(id); };
}

int DeviceMainDlg::MessageBoxText(const std::string& title, const std::string& body, int style) {
  if (message_box_) return message_box_(title, body, style == kMessageBoxTwoButtons ? 2 : 1);
  return ShowUIMessageBox(this, body, title, style, Texts());
}

void DeviceMainDlg::OnProfileButton() {
  if (!link_) {
    MessageBox(kTextNotice, kTextDeviceNotConnected, 1);
    return;
  }
  DUI::Rect button = profile_button_->GetRect();
  ProfileDlg chooser(*this, session_.Store(), session_.Store().GetActiveProfile(), Texts());
  chooser.Open(button);
}

void DeviceMainDlg::OpenLinkDialog(int profile) {
  SettingsDatabase& store = session_.Store();
  std::vector<std::string> choices = RunningApps("/proc", getuid());
  for (std::string& installed : InstalledApps(DesktopDataDirs())) {
    if (std::find(choices.begin(), choices.end(), installed) == choices.end()) {
      choices.push_back(std::move(installed));
    }
  }
  const std::string name = DisplayProfileName(store.GetProfileName(profile).value_or(""),
                                              Text(kTextProfile));
  LinkAppsDlg dialog(store, profile, name, std::move(choices), Texts());
  if (dialog.Open(*this)) follower_->Reload();
}

void DeviceMainDlg::ActivateProfile(int profile) {
  session_.Store().SetActiveProfile(profile);
  RefreshProfileButton();
  session_.Worker().Post(WorkerTask::kUploadProfile);
}

void DeviceMainDlg::OnProfileChosen(int64_t what, int64_t profile) {
  SettingsDatabase& store = session_.Store();
  if (what == kProfileActivate) {
    follower_->ChosenByHand(static_cast<int>(profile));
    ActivateProfile(static_cast<int>(profile));
    return;
  }
  if (what == kProfileLink) {
    OpenLinkDialog(static_cast<int>(profile));
    return;
  }
  if (what != kProfileImport && what != kProfileExport) return;
  const bool lighting = session_.Model().HasLighting();
  const auto name = store.GetProfileName(static_cast<int>(profile));
  if (what == kProfileExport) {
    const QString path = AskXmlSaveFile(
        GetSafeHwnd(), QString::fromStdString(name.value_or("") + ".xml"), kProfileFilter);
    if (path.isEmpty()) return;
    const ExchangeResult result =
        ExportProfile(store, static_cast<int>(profile), lighting, path.toStdString(), Texts());
    if (!result.ok()) {
      MessageBoxText(Text(kTextExport),
                     ExchangeFailureMessage(result.status, path.toStdString(), Texts()),
                     kMessageBoxOneButton);
    }
    return;
  }
  const QString path =
      QFileDialog::getOpenFileName(GetSafeHwnd(), QString(), QString(), kProfileFilter);
  if (path.isEmpty()) return;
  ProfileImportTarget target;
  target.has_lighting = lighting;
  target.sensor = session_.State().Sensor();
  for (const ButtonDefinition& button : session_.Model().Definition().buttons) {
    target.buttons.push_back(button.key_value);
  }
  const ExchangeResult result = ImportProfile(store, static_cast<int>(profile), target,
                                              path.toStdString(), session_.Worker());
  // A file that was refused is said, in the window's language; the profile is unchanged.
  if (!result.ok()) {
    MessageBoxText(Text(kTextImport),
                   ExchangeFailureMessage(result.status, path.toStdString(), Texts()),
                   kMessageBoxOneButton);
  }
  RefreshProfileButton();
  if (pages_) pages_->Refresh();
}

void DeviceMainDlg::RestoreDefaults() {
  if (!link_) {
    MessageBox(kTextNotice, kTextDeviceNotConnected, 1);
    return;
  }
  if (MessageBox(kTextRestoreDefaultsTitle, kTextRestoreDefaultsBody, 2) != kModalOk) return;
  if (pages_) pages_->Refresh();
  session_.Worker().Post(WorkerTask::kRestoreDefaults);
  ShowSavingPopup();
}

void DeviceMainDlg::OnFirmwareButton(int id) {
  if (id == kIdFirmwareMouse && !session_.Model().Definition().firmware_url.empty()) {
    session_.Worker().Post(WorkerTask::kFirmwareCheck);
    return;
  }
  // Without an address to ask there is no check: saying "up to date" would be a guess.
  MessageBox(id == kIdFirmwareMouse ? kTextMouseFirmware : kTextReceiverFirmware,
             kTextNoFirmwareCheck, 1);
}

void DeviceMainDlg::OnUpdatePrompt(int64_t kind) {
  const std::string ask = Text(kTextUpdateNow);
  if (kind == kUpdateSoftware) {
    const std::string body =
        Text(kTextNewVersion) + ":V" + session_.Updates().Software().new_version + ", " + ask;
    if (MessageBoxText(Text(kTextSoftwareUpdate), body, kMessageBoxTwoButtons) != kModalOk) {
      return;
    }
    session_.Worker().Post(WorkerTask::kSoftwareInstall);
    UpdateProcessDlg progress(Texts());
    if (!progress.Make(*this)) return;
    update_progress_ = &progress;
    const int closed = progress.ShowModal(kShowModalCode);
    update_progress_ = nullptr;
    // Closed by the person before the download ended: stop it.
    if (closed == kModalCancel) session_.Updates().StopTransfer();
    return;
  }
  if (kind != kUpdateFirmware) return;
  const std::string body = Text(kTextNewVersion) + ":V" +
                           DottedFirmware(session_.Updates().Firmware().new_version) + ", " + ask;
  if (MessageBoxText(Text(kTextMouseFirmware), body, kMessageBoxTwoButtons) != kModalOk) return;
  session_.Worker().Post(WorkerTask::kFirmwareInstall);
  update_tip_.reset();
  update_tip_ = std::make_unique<UpdateTipDlg>(Texts());
  if (update_tip_->Make(*this)) update_tip_->ShowWindow(DUI::kShowShow);
}

void DeviceMainDlg::OnDownloadProgress(int percent) {
  if (update_progress_ != nullptr) update_progress_->SetProgress(percent);
}

void DeviceMainDlg::SetUpgradeProgress(const std::string& text, int percent) {
  if (update_tip_) update_tip_->SetProgress(text, percent);
}

void DeviceMainDlg::CloseUpgradeProgress() { update_tip_.reset(); }

void DeviceMainDlg::ShowAbout() {
  // The same lines as the device settings page, so the two never disagree.
  std::vector<std::string> lines;
  if (pages_ && pages_->DeviceSettings() != nullptr) lines = pages_->DeviceSettings()->FirmwareLines();
  AboutDlg about(lines, Texts());
  about.Open(*this);
}

void DeviceMainDlg::ShowDpiPopup(int dpi) {
  if (!session_.State().ShowDpiTips()) return;
  if (!dpi_popup_) {
    dpi_popup_ = std::make_unique<DPIMsgDlg>(Texts());
    if (!dpi_popup_->Make(*this)) return;
  }
  dpi_popup_->SetMaxDpi(session_.State().MaxDpi());
  dpi_popup_->ShowDpi(dpi);
}

void DeviceMainDlg::ShowSavingPopup() {
  if (!session_.State().ShowSaveTips()) return;
  if (!save_popup_) {
    save_popup_ = std::make_unique<SaveWaitDlg>(Texts());
    if (!save_popup_->Make(*this)) return;
  }
  save_popup_->Show();
}

void DeviceMainDlg::ClosePopups() {
  for (const PopupClose& popup : kClosedPopups) {
    if (DUI::MWindow* window = DUI::MWindow::FindWindow(popup.title)) {
      window->PostMessage(DUI::kMessageClose, popup.wparam, 0);
    }
  }
  for (const char* title : kHiddenPopups) {
    if (DUI::MWindow* window = DUI::MWindow::FindWindow(title)) window->ShowWindow(DUI::kShowHide);
  }
  // Drop-down lists and pop-up menus are Qt menus rather than windows of their own.
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* menu = qobject_cast<QMenu*>(widget);
    if (menu != nullptr && menu->isVisible()) menu->close();
  }
  if (save_popup_) save_popup_->ShowWindow(DUI::kShowHide);
  if (pages_ && pages_->Macros()) pages_->Macros()->StopRecording();
}

}  // namespace corvane::ui
