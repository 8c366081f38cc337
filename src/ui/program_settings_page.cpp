// Building and acting on the program settings page.
#include "ui/program_settings_page.h"

#include <QDesktopServices>
#include <QUrl>
#include <string>

#include "app/key_value_store.h"
#include "app/language_selection.h"
#include "app/language_text.h"
#include "app/text_ids.h"
#include "settings/battery_warnings.h"
#include "ui/autorun_entry.h"
#include "ui/device_main_dlg.h"
#include "ui/profile_follower.h"
#include "ui/dui/ccheck_button.h"
#include "ui/dui/cradio_button.h"
#include "ui/dui/mbutton.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/dui/mpicture.h"
#include "update/version_check.h"
#include "worker/device_session.h"
#include "worker/update_jobs.h"

namespace corvane::ui {
namespace {

constexpr const char* kExitModeGroup = "IDC_SET_STC_EXITMODE";
constexpr int kNoText = 0;
constexpr uint32_t kUpToDateColor = 0xFF00C800;
constexpr uint32_t kCheckFailedColor = 0xFFE8A33C;
constexpr int kRowHeight = 34;
constexpr int kColumn = 60;

}  // namespace

ProgramSettingsPage::ProgramSettingsPage(DeviceMainDlg& window, AutorunEntry& autorun)
    : window_(window), autorun_(autorun) {}

DUI::MControl* ProgramSettingsPage::Add(const char* class_name, int id, int text_id,
                                        const char* image, int frames) {
  const bool area = std::string(class_name) == "MText" || std::string(class_name) == "MPicture";
  DUI::MControl* control = area ? page_->CreateArea(class_name, id, DUI::Rect{}, "")
                                : page_->CreateControl(class_name, id, DUI::Rect{}, "");
  if (image != nullptr) control->SetImage(image, frames);
  if (text_id != kNoText) window_.Labelled(control, text_id);
  return control;
}

void ProgramSettingsPage::Build(DUI::MControl* page) {
  page_ = page;
  static_cast<DUI::MPicture*>(Add("MPicture", 272, kNoText, "img_area_bkg.png", 1))
      ->SetShowMode(DUI::MPicture::kShowSliced, 30);
  window_.Tooltip(Add("CImageButton", kIdSettingsReturn, kNoText, "img_return.png", 4), kTextBack);
  Add("MText", kIdSetVersion, kNoText, nullptr, 0);
  Add("MText", kIdSetUpdateState, kNoText, nullptr, 0)->SetTextColor(kUpToDateColor);
  Add("MButton", kIdSetUpdateCheck, kTextCheckSoftwareUpdate, "img_button.png", 4);
  Add("MButton", kIdSetRestore, kTextProgramRestoreDefaults, "img_button.png", 4);
  Add("MText", 278, kTextLanguage, nullptr, 0);
  auto* languages = static_cast<DUI::MComboBox*>(
      Add("MComboBox", kIdSetLanguage, kNoText, "img_combobox.png", 4));
  window_.Named(languages, kTextLanguage);
  for (const SelectableLanguage& language : kSelectableLanguages) {
    languages->AddString(std::string(language.name), language.language_id);
  }
  Add("MText", 280, kTextStartup, nullptr, 0);
  Add("CCheckButton", kIdSetAutorun, kTextAutorun, "btn_checkbox.png", 8);
  Add("CCheckButton", kIdSetAutorunMinimized, kTextAutorunMinimized, "btn_checkbox.png", 8);
  Add("MText", 285, kTextCloseButtonMode, nullptr, 0);
  for (int id : {kIdSetHideToTray, kIdSetExit}) {
    auto* radio = static_cast<DUI::CRadioButton*>(
        Add("CRadioButton", id, id == kIdSetHideToTray ? kTextHideToTray : kTextExitProgram,
            "btn_radiobox.png", 8));
    radio->SetGroup(kExitModeGroup);
  }
  Add("MText", 288, kTextWebsiteLine, nullptr, 0);
  const int links[] = {kTextWebsite, kTextFeedback, kTextFaq};
  for (int i = 0; i < 3; ++i) Add("CTextButton", kIdSetWebsite + i, links[i], nullptr, 0);
  Add("MButton", kIdSetAbout, kTextAbout, "img_button.png", 4);
  Add("MText", kIdSetBatteryLabel, kTextBatteryWarnings, nullptr, 0);
  Add("CCheckButton", kIdSetBatteryWarnings, kTextBatteryWarningsBox, "btn_checkbox.png", 8);
  Add("MText", kIdSetFollowLabel, kTextFollowFocus, nullptr, 0);
  Add("MText", kIdSetFollowSource, kNoText, nullptr, 0);
  Relabel();
  Refresh();
}

void ProgramSettingsPage::Layout(const DUI::Rect& page_rect) {
  const int w = page_rect.Width();
  auto place = [this](int id, DUI::Rect rect) {
    if (DUI::MControl* control = window_.GetControl(id)) control->SetRect(rect);
  };
  place(272, DUI::Rect{20, 10, w - 20, page_rect.Height() - 10});
  place(kIdSettingsReturn, DUI::Rect{30, 20, 62, 52});
  int y = 70;
  place(kIdSetVersion, DUI::Rect{kColumn, y, kColumn + 300, y + 28});
  place(kIdSetUpdateState, DUI::Rect{kColumn + 310, y, kColumn + 600, y + 28});
  y += kRowHeight + 6;
  place(kIdSetUpdateCheck, DUI::Rect{kColumn, y, kColumn + 200, y + 32});
  place(kIdSetRestore, DUI::Rect{kColumn + 220, y, kColumn + 420, y + 32});
  y += kRowHeight * 2;
  place(278, DUI::Rect{kColumn, y, kColumn + 200, y + 28});
  place(kIdSetLanguage, DUI::Rect{kColumn + 220, y, kColumn + 420, y + 30});
  y += kRowHeight * 2;
  place(280, DUI::Rect{kColumn, y, kColumn + 200, y + 28});
  place(kIdSetAutorun, DUI::Rect{kColumn + 220, y, kColumn + 620, y + 26});
  place(kIdSetAutorunMinimized,
        DUI::Rect{kColumn + 220, y + kRowHeight, kColumn + 620, y + kRowHeight + 26});
  y += kRowHeight * 3;
  place(285, DUI::Rect{kColumn, y, kColumn + 200, y + 28});
  place(kIdSetHideToTray, DUI::Rect{kColumn + 220, y, kColumn + 620, y + 26});
  place(kIdSetExit, DUI::Rect{kColumn + 220, y + kRowHeight, kColumn + 620, y + kRowHeight + 26});
  y += kRowHeight * 3;
  place(288, DUI::Rect{kColumn, y, w - kColumn, y + 28});
  for (int i = 0; i < 3; ++i) {
    const int x = kColumn + i * 220;
    place(kIdSetWebsite + i, DUI::Rect{x, y + kRowHeight, x + 200, y + kRowHeight + 28});
  }
  place(kIdSetAbout, DUI::Rect{kColumn + 660, y + kRowHeight, kColumn + 860, y + kRowHeight + 32});
  y += kRowHeight * 3;
  place(kIdSetBatteryLabel, DUI::Rect{kColumn, y, kColumn + 200, y + 28});
  place(kIdSetBatteryWarnings, DUI::Rect{kColumn + 220, y, kColumn + 720, y + 26});
  y += kRowHeight * 2;
  place(kIdSetFollowLabel, DUI::Rect{kColumn, y, kColumn + 200, y + 28});
  place(kIdSetFollowSource, DUI::Rect{kColumn + 220, y, kColumn + 820, y + 28});
}

bool ProgramSettingsPage::Handles(int id) const {
  return id == kIdSetUpdateCheck || id == kIdSetRestore || id == kIdSetLanguage ||
         id == kIdSetAutorun || id == kIdSetAutorunMinimized || id == kIdSetHideToTray ||
         id == kIdSetExit || (id >= kIdSetWebsite && id <= kIdSetAbout) ||
         id == kIdSetBatteryWarnings;
}

int64_t ProgramSettingsPage::OnMessage(int id, DUI::NotifyCode code, int64_t extra) {
  DeviceSession& session = window_.Session();
  auto checked = [this](int control) {
    return static_cast<DUI::MButton*>(window_.GetControl(control))->GetCheck();
  };
  if (id == kIdSetLanguage) {
    if (code != DUI::NotifyCode::kValueChanged) return 0;
    auto* combo = static_cast<DUI::MComboBox*>(window_.GetControl(kIdSetLanguage));
    window_.ChangeLanguage(static_cast<int>(combo->GetItemData(static_cast<int>(extra))));
    return 1;
  }
  if (code != DUI::NotifyCode::kClick) return 0;
  switch (id) {
    case kIdSetUpdateCheck:
      session.Worker().Post(WorkerTask::kSoftwareCheck);
      break;
    case kIdSetRestore:
      window_.RestoreDefaults();
      break;
    case kIdSetAbout:
      window_.SendMessage(kMessageCommand, kCommandAbout, 0);
      break;
    case kIdSetAutorun:
      if (checked(kIdSetAutorun)) {
        autorun_.Enable();
      } else {
        autorun_.Disable();
        session.Values().WriteAutorunMinimize(false);
      }
      Refresh();
      break;
    case kIdSetAutorunMinimized:
      session.Values().WriteAutorunMinimize(checked(kIdSetAutorunMinimized));
      break;
    case kIdSetHideToTray:
    case kIdSetExit:
      session.Values().WriteHideOnClose(checked(kIdSetHideToTray));
      break;
    case kIdSetBatteryWarnings:
      WriteBatteryWarningsEnabled(session.Values(), checked(kIdSetBatteryWarnings));
      break;
    default:
      OpenLink(id);
      break;
  }
  return 1;
}

void ProgramSettingsPage::OpenLink(int id) {
  const SoftwareInfo& software = window_.Session().Catalogue().Software();
  const std::string& link = id == kIdSetWebsite    ? software.website
                            : id == kIdSetFeedback ? software.feedback
                                                   : software.qa;
  // An empty address would only make the desktop report an error of its own.
  if (!link.empty()) QDesktopServices::openUrl(QUrl(QString::fromStdString(link)));
}

void ProgramSettingsPage::Refresh() {
  DeviceSession& session = window_.Session();
  static_cast<DUI::MComboBox*>(window_.GetControl(kIdSetLanguage))
      ->SelectData(session.Texts().LanguageId());
  const bool autorun = autorun_.IsEnabled();
  static_cast<DUI::MButton*>(window_.GetControl(kIdSetAutorun))->SetCheck(autorun);
  auto* minimized = static_cast<DUI::MButton*>(window_.GetControl(kIdSetAutorunMinimized));
  minimized->SetCheck(autorun && session.Values().ReadAutorunMinimize());
  minimized->SetEnabled(autorun);
  const bool hide = session.Values().ReadHideOnClose();
  static_cast<DUI::MButton*>(window_.GetControl(hide ? kIdSetHideToTray : kIdSetExit))
      ->SetCheck(true);
  static_cast<DUI::MButton*>(window_.GetControl(kIdSetBatteryWarnings))
      ->SetCheck(ReadBatteryWarningSettings(session.Values()).enabled);
  ShowFollowSource();
}

void ProgramSettingsPage::ShowFollowSource() {
  const std::string source = window_.Follower().SourceName();
  const int text = source == "x11"              ? kTextFocusSourceX11
                   : source == "desktop script" ? kTextFocusSourceScript
                   : source == "processes"      ? kTextFocusSourceProcesses
                                                : kTextFocusSourceOff;
  static_cast<DUI::MControlFont*>(window_.GetControl(kIdSetFollowSource))
      ->SetTitle(window_.Text(text));
}

void ProgramSettingsPage::Relabel() {
  DeviceSession& session = window_.Session();
  static_cast<DUI::MControlFont*>(window_.GetControl(kIdSetVersion))
      ->SetTitle(window_.Text(kTextSoftwareVersion) + ": v" +
                 session.Catalogue().Software().version);
  const VersionCheckState software = session.Updates().Software();
  SetSoftwareCheckLabel(SoftwareCheckLabel(software, window_.Text(kTextNewVersion),
                                           window_.Text(kTextUpToDate),
                                           window_.Text(kTextUpdateCheckFailed)));
  EnableSoftwareUpdate(software.failed || software.state != kUpdateUpToDate);
  ShowFollowSource();
}

void ProgramSettingsPage::SetSoftwareCheckLabel(const std::string& text) {
  auto* label = static_cast<DUI::MControlFont*>(window_.GetControl(kIdSetUpdateState));
  label->SetTitle(text);
  // Green is for good news only.
  label->SetTextColor(text == window_.Text(kTextUpdateCheckFailed) ? kCheckFailedColor
                                                                    : kUpToDateColor);
}

void ProgramSettingsPage::EnableSoftwareUpdate(bool enabled) {
  window_.GetControl(kIdSetUpdateCheck)->SetEnabled(enabled);
}

}  // namespace corvane::ui
