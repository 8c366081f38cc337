// Device page shells and the pages built on them.
#include "ui/pages_panel.h"

#include "app/text_ids.h"
#include "ui/device_main_dlg.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/pages/device_settings_page.h"
#include "ui/pages/dpi_page.h"
#include "ui/pages/keys_page.h"
#include "ui/pages/lighting_page.h"
#include "ui/pages/macro_page.h"

namespace corvane::ui {
namespace {

// Page container, title text and title control id of each device page.
struct PageTitle {
  int page;
  int text_id;
  int title_id;
};
constexpr PageTitle kPageTitles[] = {
    {kIdPageKeys, kTextButtonsTitle, 63},         {kIdPageDpi, kTextPerformanceTitle, 111},
    {kIdPageMacros, kTextMacrosTitle, 153},       {kIdPageLighting, kTextLightingTitle, 195},
    {kIdPageDevice, kTextTabDeviceSettings, 194},
};
constexpr int kTitleHeight = 40;
constexpr int kPageMargin = 30;
constexpr uint32_t kTitleColor = 0xFFFFFFFFu;

}  // namespace

PagesPanel::PagesPanel(DeviceMainDlg& window) : window_(window) {}
PagesPanel::~PagesPanel() = default;

void PagesPanel::Build() {
  for (const PageTitle& title : kPageTitles) {
    DUI::MControl* page = window_.GetControl(title.page);
    auto* text = static_cast<DUI::MControlFont*>(window_.Labelled(
        page->CreateArea("MText", title.title_id, DUI::Rect{}, ""), title.text_id));
    text->SetFont("", 16, DUI::kFontBold);
    text->SetTextColor(kTitleColor);
  }
  keys_page_ = std::make_unique<KeysPage>(window_);
  keys_page_->Build(window_.GetControl(kIdPageKeys));
  dpi_page_ = std::make_unique<DpiPage>(window_);
  dpi_page_->Build(window_.GetControl(kIdPageDpi));
  macro_page_ = std::make_unique<MacroPage>(window_);
  macro_page_->Build();
  lighting_page_ = std::make_unique<LightingPage>(window_);
  lighting_page_->Build();
  device_page_ = std::make_unique<DeviceSettingsPage>(window_);
  device_page_->Build(window_.GetControl(kIdPageDevice));
}

void PagesPanel::Layout(const DUI::Rect& client, double scale) {
  const int width = client.right - 20 - 200;
  for (const PageTitle& title : kPageTitles) {
    if (DUI::MControl* text = window_.GetControl(title.title_id)) {
      text->SetRect(DUI::Rect{kPageMargin, 10, width - kPageMargin, 10 + kTitleHeight});
    }
  }
  const int height = client.bottom - 50 - 80;
  keys_page_->Layout(window_.GetControl(kIdPageKeys)->GetRect(), scale);
  dpi_page_->Layout(width, height, scale);
  macro_page_->Layout(width, height);
  lighting_page_->Layout(client, scale);
  device_page_->Layout(width, height, scale);
}

int64_t PagesPanel::OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t) {
  if (keys_page_->Handles(id)) return keys_page_->OnMessage(id, code, extra);
  if (dpi_page_->Handles(id)) return dpi_page_->OnMessage(id, code, extra);
  if (device_page_->Handles(id)) return device_page_->OnMessage(id, code, extra);
  if (LightingPage::Handles(id)) return lighting_page_->OnMessage(id, code, extra);
  const int64_t handled = macro_page_->OnMessage(id, code, extra);
  // The buttons page offers the same macros as the macro page's list.
  if (handled != 0) keys_page_->SyncMacroList();
  return handled;
}

void PagesPanel::Refresh() {
  keys_page_->Refresh();
  dpi_page_->Refresh();
  macro_page_->Load();
  lighting_page_->Reload();
  device_page_->Refresh();
}

void PagesPanel::RefreshPage(DevicePage page) {
  // A DPI change must not reload the macro page under an edit in progress.
  if (page == DevicePage::kDpi || page == DevicePage::kPerformance) {
    dpi_page_->Refresh();
    device_page_->Refresh();
  }
  if (page == DevicePage::kButtons) keys_page_->Refresh();
  if (page == DevicePage::kMacro) {
    macro_page_->Load();
    keys_page_->SyncMacroList();
  }
  if (page == DevicePage::kLighting) lighting_page_->Reload();
}

void PagesPanel::Relabel() {
  keys_page_->Relabel();  // keeps the picked button; Refresh would go back to the first
  dpi_page_->Relabel();
  macro_page_->Load();    // the macros' display names follow the language
  macro_page_->Relabel();
  lighting_page_->Reload();  // captions and the mode list follow the language
  device_page_->Relabel();
}

void PagesPanel::SetVersionLine(const std::string& line) { device_page_->SetVersionLine(line); }

}  // namespace corvane::ui
