// Building and acting on the program settings page.
#include "ui/program_settings_page.h"

#include <string>

#include "app/key_value_store.h"
#include "app/language_selection.h"
#include "app/language_text.h"
#include "app/text_ids.h"
#include "settings/battery_warnings.h"
#include "ui/autorun_entry.h"
#include "ui/device_main_dlg.h"
#include "ui/dui/ccheck_button.h"
#include "ui/dui/cimage_button.h"
#include "ui/dui/cradio_button.h"
#include "ui/dui/ctext_button.h"
#include "ui/dui/mbutton.h"
#include "ui/dui/mcombo_box.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/dui/mpicture.h"
#include "ui/dui/mtext.h"
#include "ui/pages/page.h"
#include "ui/profile_follower.h"
#include "update/version_check.h"
#include "worker/device_session.h"
#include "worker/update_jobs.h"

namespace corvane::ui {
namespace {

constexpr const char* kExitModeGroup = "IDC_SET_STC_EXITMODE";
constexpr uint32_t kUpToDateColor = 0xFF00C800;
constexpr uint32_t kCheckFailedColor = 0xFFE8A33C;
constexpr int kRowHeight = 34;
constexpr int kColumn = 60;
constexpr int kIdSettingsBackground = 272, kIdLanguageCaption = 278, kIdStartupCaption = 280;
constexpr int kIdCloseModeCaption = 285, kIdLinksCaption = 288;

}  // namespace

ProgramSettingsPage::ProgramSettingsPage(DeviceMainDlg& window, AutorunEntry& autorun)
    : window_(window), autorun_(autorun) {}

template <typename T>
T* ProgramSettingsPage::Add(int id, int text_id, const char* image, int frames) {
  return AddControl<T>(window_, *page_, id, text_id, image, frames);
}

void ProgramSettingsPage::Build(DUI::MControl& container) {
  page_ = &container;
  Add<DUI::MPicture>(kIdSettingsBackground, kNoText, "img_area_bkg.png", 1)
      ->SetShowMode(DUI::MPicture::kShowSliced, 30);
  window_.Tooltip(Add<DUI::CImageButton>(kIdSettingsReturn, kNoText, "img_return.png", 4),
                  kTextBack);
  Add<DUI::MText>(kIdSetVersion);
  Add<DUI::MText>(kIdSetUpdateState)->SetTextColor(kUpToDateColor);
  Add<DUI::MButton>(kIdSetUpdateCheck, kTextCheckSoftwareUpdate, "img_button.png", 4);
  Add<DUI::MButton>(kIdSetRestore, kTextProgramRestoreDefaults, "img_button.png", 4);
  Add<DUI::MText>(kIdLanguageCaption, kTextLanguage);
  auto* languages = Add<DUI::MComboBox>(kIdSetLanguage, kNoText, "img_combobox.png", 4);
  window_.Named(languages, kTextLanguage);
  for (const SelectableLanguage& language : kSelectableLanguages) {
    languages->AddString(std::string(language.name), language.language_id);
  }
  Add<DUI::MText>(kIdStartupCaption, kTextStartup);
  Add<DUI::CCheckButton>(kIdSetAutorun, kTextAutorun, "btn_checkbox.png", 8);
  Add<DUI::CCheckButton>(kIdSetAutorunMinimized, kTextAutorunMinimized, "btn_checkbox.png", 8);
  Add<DUI::MText>(kIdCloseModeCaption, kTextCloseButtonMode);
  for (int id : {kIdSetHideToTray, kIdSetExit}) {
    auto* radio = Add<DUI::CRadioButton>(
        id, id == kIdSetHideToTray ? kTextHideToTray : kTextExitProgram, "btn_radiobox.png", 8);
    radio->SetGroup(kExitModeGroup);
  }
  Add<DUI::MText>(kIdLinksCaption, kTextWebsiteLine);
  const int links[] = {kTextWebsite, kTextFeedback, kTextFaq};
  for (int i = 0; i < 3; ++i) Add<DUI::CTextButton>(kIdSetWebsite + i, links[i]);
  Add<DUI::MButton>(kIdSetAbout, kTextAbout, "img_button.png", 4);
  Add<DUI::MText>(kIdSetBatteryLabel, kTextBatteryWarnings);
  Add<DUI::CCheckButton>(kIdSetBatteryWarnings, kTextBatteryWarningsBox, "btn_checkbox.png", 8);
  Add<DUI::MText>(kIdSetFollowLabel, kTextFollowFocus);
  Add<DUI::MText>(kIdSetFollowSource);
  Relabel();
  Refresh();
}

void ProgramSettingsPage::Layout(const DUI::Rect& page_rect) {
  const int w = page_rect.Width();
  auto place = [this](int id, DUI::Rect rect) {
    if (DUI::MControl* control = window_.GetControl(id)) control->SetRect(rect);
  };
  place(kIdSettingsBackground, DUI::Rect{20, 10, w - 20, page_rect.Height() - 10});
  place(kIdSettingsReturn, DUI::Rect{30, 20, 62, 52});
  int y = 70;
  place(kIdSetVersion, DUI::Rect{kColumn, y, kColumn + 300, y + 28});
  place(kIdSetUpdateState, DUI::Rect{kColumn + 310, y, kColumn + 600, y + 28});
  y += kRowHeight + 6;
  place(kIdSetUpdateCheck, DUI::Rect{kColumn, y, kColumn + 200, y + 32});
  place(kIdSetRestore, DUI::Rect{kColumn + 220, y, kColumn + 420, y + 32});
  y += kRowHeight * 2;
  place(kIdLanguageCaption, DUI::Rect{kColumn, y, kColumn + 200, y + 28});
  place(kIdSetLanguage, DUI::Rect{kColumn + 220, y, kColumn + 420, y + 30});
  y += kRowHeight * 2;
  place(kIdStartupCaption, DUI::Rect{kColumn, y, kColumn + 200, y + 28});
  place(kIdSetAutorun, DUI::Rect{kColumn + 220, y, kColumn + 620, y + 26});
  place(kIdSetAutorunMinimized,
        DUI::Rect{kColumn + 220, y + kRowHeight, kColumn + 620, y + kRowHeight + 26});
  y += kRowHeight * 3;
  place(kIdCloseModeCaption, DUI::Rect{kColumn, y, kColumn + 200, y + 28});
  place(kIdSetHideToTray, DUI::Rect{kColumn + 220, y, kColumn + 620, y + 26});
  place(kIdSetExit, DUI::Rect{kColumn + 220, y + kRowHeight, kColumn + 620, y + kRowHeight + 26});
  y += kRowHeight * 3;
  place(kIdLinksCaption, DUI::Rect{kColumn, y, w - kColumn, y + 28});
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
    return window_.GetControl<DUI::MButton>(control)->GetCheck();
  };
  if (id == kIdSetLanguage) {
    if (code != DUI::NotifyCode::kValueChanged) return 0;
    auto* combo = window_.GetControl<DUI::MComboBox>(kIdSetLanguage);
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
  window_.OpenLink(link);
}

void ProgramSettingsPage::Refresh() {
  DeviceSession& session = window_.Session();
  window_.GetControl<DUI::MComboBox>(kIdSetLanguage)->SelectData(session.Texts().LanguageId());
  const bool autorun = autorun_.IsEnabled();
  window_.GetControl<DUI::MButton>(kIdSetAutorun)->SetCheck(autorun);
  auto* minimized = window_.GetControl<DUI::MButton>(kIdSetAutorunMinimized);
  minimized->SetCheck(autorun && session.Values().ReadAutorunMinimize());
  minimized->SetEnabled(autorun);
  const bool hide = session.Values().ReadHideOnClose();
  window_.GetControl<DUI::MButton>(hide ? kIdSetHideToTray : kIdSetExit)->SetCheck(true);
  window_.GetControl<DUI::MButton>(kIdSetBatteryWarnings)
      ->SetCheck(ReadBatteryWarningSettings(session.Values()).enabled);
  ShowFollowSource();
}

void ProgramSettingsPage::ShowFollowSource() {
  const std::string source = window_.Follower().SourceName();
  const int text = source == "x11"              ? kTextFocusSourceX11
                   : source == "desktop script" ? kTextFocusSourceScript
                   : source == "processes"      ? kTextFocusSourceProcesses
                                                : kTextFocusSourceOff;
  window_.GetControl<DUI::MControlFont>(kIdSetFollowSource)->SetTitle(window_.Text(text));
}

void ProgramSettingsPage::Relabel() {
  DeviceSession& session = window_.Session();
  window_.GetControl<DUI::MControlFont>(kIdSetVersion)
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
  auto* label = window_.GetControl<DUI::MControlFont>(kIdSetUpdateState);
  label->SetTitle(text);
  // Green is for good news only.
  label->SetTextColor(text == window_.Text(kTextUpdateCheckFailed) ? kCheckFailedColor
                                                                    : kUpToDateColor);
}

void ProgramSettingsPage::EnableSoftwareUpdate(bool enabled) {
  window_.GetControl(kIdSetUpdateCheck)->SetEnabled(enabled);
}

}  // namespace corvane::ui
