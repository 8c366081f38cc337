// Building, laying out and acting on the device settings page.
#include "ui/pages/device_settings_page.h"

#include <utility>

#include "app/text_ids.h"
#include "settings/device_state.h"
#include "settings/performance_options.h"
#include "ui/device_main_dlg.h"
#include "ui/dui/carea.h"
#include "ui/dui/cround_area.h"
#include "ui/dui/manager.h"
#include "ui/dui/mbutton.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/dui/mpicture.h"
#include "ui/dui/mtext.h"
#include "ui/dui/number_edit.h"
#include "update/version_check.h"
#include "worker/device_session.h"
#include "worker/update_jobs.h"

namespace corvane::ui {
namespace {

constexpr uint32_t kBackdropColor = 0x181412;  // the window background, red in the low byte
constexpr int kIdPageFrame = 192;
// Section backgrounds, their round marks (the first two share their background's id) and
// captions.
constexpr int kIdMouseSection = 237, kIdReceiverSection = 238, kIdRestoreSection = 239;
constexpr int kIdResponseSection = 137, kIdRestoreMark = 242;
constexpr int kIdMouseCaption = 243, kIdReceiverCaption = 244, kIdRestoreCaption = 245;
constexpr int kIdResponseCaption = 138;
constexpr int kNoMark = 0;
constexpr uint32_t kCaptionColor = 0xFFFFFFFFu;
constexpr uint32_t kValueColor = 0xFFC8D0DAu;
// Sections: background, round mark, caption (id and text), and what sits inside.
struct Section {
  int back;
  int mark;
  int caption;
  int caption_text;
};
constexpr Section kSections[] = {
    {kIdMouseSection, kIdMouseSection, kIdMouseCaption, kTextMouseFirmware},
    {kIdReceiverSection, kIdReceiverSection, kIdReceiverCaption, kTextReceiverFirmware},
    {kIdRestoreSection, kIdRestoreMark, kIdRestoreCaption, kTextRestoreDefaults},
    {kIdResponseSection, kNoMark, kIdResponseCaption, kTextResponseTime},
};

}  // namespace

DeviceSettingsPage::DeviceSettingsPage(DeviceMainDlg& window) : window_(window) {}

template <typename T>
T* DeviceSettingsPage::Add(int id, int text_id, const char* image, int frames) {
  return AddControl<T>(window_, *page_, id, text_id, image, frames);
}

void DeviceSettingsPage::Build(DUI::MControl& container) {
  page_ = &container;
  // An opaque backdrop in the window's colour under everything on the page (the title
  // included, made earlier): the model's side picture must not show between sections.
  auto* backdrop = Add<DUI::CArea>(kIdPageFrame);
  backdrop->SetColor(kBackdropColor);
  backdrop->lower();
  for (const Section& section : kSections) {
    Add<DUI::MPicture>(section.back, kNoText, "img_area_content.png", 1)
        ->SetShowMode(DUI::MPicture::kShowSliced, 10);
    if (section.mark != kNoMark) {
      Add<DUI::CRoundArea>(section.mark)->SetArgbColor(DUI::Manager::m_select_color);
    }
    auto* caption = Add<DUI::MText>(section.caption, section.caption_text);
    caption->SetFont("", 16, DUI::kFontBold);
    caption->SetTextColor(kCaptionColor);
  }
  mouse_ = Add<DUI::MText>(kIdMouseVersion);
  receiver_ = Add<DUI::MText>(kIdReceiverVersion);
  check_result_ = Add<DUI::MText>(kIdFirmwareCheckResult);
  for (auto* line : {mouse_, receiver_, check_result_}) {
    line->SetTextColor(kValueColor);
    line->SetFont("", 14, 0);
  }
  for (auto [id, section] : {std::pair{kIdFirmwareMouse, kTextMouseFirmware},
                             {kIdFirmwareReceiver, kTextReceiverFirmware}}) {
    auto* check = Add<DUI::MButton>(id, kTextCheckFirmware, "img_button.png", 4);
    check->SetFont("", 16, 0);
    window_.Described(check, section);
  }
  Add<DUI::MButton>(kIdDpiRestore, kTextRestoreDefaults, "img_button.png", 4);
  response_ = Add<DUI::NumberEdit>(kIdResponseTime, kNoText, "img_edit.png", 4);
  response_->SetAlignment(DUI::kAlignCenter);
  response_->SetHint(window_.Text(kTextResponseTime));
  Relabel();
}

void DeviceSettingsPage::Layout(const PageGeometry& geometry) {
  const int width = geometry.width, height = geometry.height;
  const double scale = geometry.scale;
  auto place = [this](int id, DUI::Rect rect) {
    for (DUI::MControl* control : DUI::ControlsOf<DUI::MControl>(page_)) {
      if (control->GetID() == id && control->parentWidget() == page_) control->SetRect(rect);
    }
  };
  const int left = 30, mid = width / 2 - 10, right = width - 30;
  const int h = static_cast<int>(130 * scale);
  place(kIdPageFrame, {0, 0, width, height});
  int y = 60;
  // The marks share ids with the backgrounds; place backgrounds first, marks after.
  for (const Section& section : kSections) {
    const bool right_column = section.back == kIdResponseSection;
    const int x0 = right_column ? mid + 20 : left, x1 = right_column ? right : mid;
    const int top = right_column ? 60 : y;
    place(section.back, {x0, top, x1, top + h});
    place(section.caption, {x0 + 40, top + 12, x1 - 20, top + 40});
    if (!right_column) y += h + 10;
  }
  for (const Section& section : kSections) {
    if (section.mark == kNoMark) continue;
    for (DUI::CRoundArea* mark : DUI::ControlsOf<DUI::CRoundArea>(page_)) {
      if (mark->GetID() != section.mark) continue;
      const DUI::Rect back = [&] {
        for (DUI::MPicture* picture : DUI::ControlsOf<DUI::MPicture>(page_)) {
          if (picture->GetID() == section.back) return picture->GetRect();
        }
        return DUI::Rect{};
      }();
      mark->SetRect({back.left + 18, back.top + 20, back.left + 30, back.top + 32});
    }
  }
  const int first = 60, second = 60 + h + 10, third = 60 + 2 * (h + 10);
  mouse_->SetRect({left + 40, first + 48, mid - 20, first + 74});
  place(kIdFirmwareMouse, {left + 40, first + h - 46, left + 240, first + h - 12});
  check_result_->SetRect({left + 250, first + h - 46, mid - 20, first + h - 12});
  receiver_->SetRect({left + 40, second + 48, mid - 20, second + 74});
  place(kIdFirmwareReceiver, {left + 40, second + h - 46, left + 240, second + h - 12});
  place(kIdDpiRestore, {left + 40, third + 50, left + 240, third + 84});
  response_->SetRect({mid + 60, first + 56, mid + 180, first + 90});
}

int64_t DeviceSettingsPage::OnMessage(int id, DUI::NotifyCode code, int64_t) {
  if (id != kIdResponseTime) return 0;
  DeviceSession& session = window_.Session();
  PerformanceOptions options(session.Store(), session.State(), session.Worker());
  if (code == DUI::NotifyCode::kEditFinished) {
    const OptionResult result = options.CommitResponseTime(response_->GetTitle());
    const std::string shown = std::to_string(result.value);
    if (response_->GetTitle() != shown) response_->SetTitle(shown);
    return 1;
  }
  if (code == DUI::NotifyCode::kClick) {
    const OptionResult result = options.ConfirmResponseTime(response_->GetTitle());
    if (result.show_save_wait) window_.ShowSavingPopup();
    return 1;
  }
  return 0;
}

void DeviceSettingsPage::Refresh() {
  DeviceSession& session = window_.Session();
  PerformanceOptions options(session.Store(), session.State(), session.Worker());
  response_->SetConfirmedText(std::to_string(options.Load().response_time));
  Relabel();
}

std::string DeviceSettingsPage::VersionText(int label_id, const std::string& version) const {
  // An unknown version is not news about updates: the label alone, with a dash.
  if (version.empty()) return window_.Text(label_id) + ": -";
  // Release "105" reads V1.05: the first character, a point, the last two.
  const std::string minor = version.size() >= 2 ? version.substr(version.size() - 2) : version;
  return window_.Text(label_id) + ": V" + version.substr(0, 1) + "." + minor;
}

void DeviceSettingsPage::Relabel() {
  const DeviceState& state = window_.Session().State();
  mouse_->SetTitle(VersionText(kTextMouseFirmware, state.MouseVersion()));
  receiver_->SetTitle(VersionText(kTextReceiverFirmware, state.ReceiverVersion()));
  // The last check's result, in the words of the language shown now.
  const VersionCheckState firmware = window_.Session().Updates().Firmware();
  check_result_->SetTitle(FirmwareCheckLabel(firmware, window_.Text(kTextNewVersion),
                                             window_.Text(kTextUpToDate),
                                             window_.Text(kTextUpdateCheckFailed)));
}

std::vector<std::string> DeviceSettingsPage::FirmwareLines() const {
  const DeviceState& state = window_.Session().State();
  std::vector<std::string> lines{VersionText(kTextMouseFirmware, state.MouseVersion())};
  if (!state.ReceiverVersion().empty()) {
    lines.push_back(VersionText(kTextReceiverFirmware, state.ReceiverVersion()));
  }
  return lines;
}

void DeviceSettingsPage::SetFirmwareCheckLabel(const std::string& text) {
  check_result_->SetTitle(text);
}

void DeviceSettingsPage::SetVersionLine(const std::string&) {
  // The worker has stored both versions before it formats the line.
  Relabel();
}

}  // namespace corvane::ui
