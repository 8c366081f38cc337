// Device page shells and the pages built on them.
#include "ui/pages_panel.h"

#include "app/text_ids.h"
#include "ui/device_main_dlg.h"
#include "ui/dui/mtext.h"
#include "ui/pages/device_settings_page.h"
#include "ui/pages/dpi_page.h"
#include "ui/pages/keys_page.h"
#include "ui/pages/lighting_page.h"
#include "ui/pages/macro_page.h"

namespace corvane::ui {
namespace {

// Page container, title text and title control id of each device page, in the order the
// pages are built.
struct PageTitle {
  int page;
  int text_id;
  int title_id;
};
constexpr int kIdKeysTitle = 63, kIdDpiTitle = 111, kIdMacrosTitle = 153;
constexpr int kIdLightingTitle = 195, kIdDeviceTitle = 194;
constexpr PageTitle kPageTitles[] = {
    {kIdPageKeys, kTextButtonsTitle, kIdKeysTitle},
    {kIdPageDpi, kTextPerformanceTitle, kIdDpiTitle},
    {kIdPageMacros, kTextMacrosTitle, kIdMacrosTitle},
    {kIdPageLighting, kTextLightingTitle, kIdLightingTitle},
    {kIdPageDevice, kTextTabDeviceSettings, kIdDeviceTitle},
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
    auto* text = window_.Labelled(page->Create<DUI::MText>(title.title_id), title.text_id);
    text->SetFont("", 16, DUI::kFontBold);
    text->SetTextColor(kTitleColor);
  }
  size_t built = 0;
  const auto build = [this, &built](Page& page) {
    pages_[built] = &page;
    page.Build(*window_.GetControl(kPageTitles[built].page));
    ++built;
  };
  keys_page_ = std::make_unique<KeysPage>(window_);
  build(*keys_page_);
  dpi_page_ = std::make_unique<DpiPage>(window_);
  build(*dpi_page_);
  macro_page_ = std::make_unique<MacroPage>(window_);
  build(*macro_page_);
  lighting_page_ = std::make_unique<LightingPage>(window_);
  build(*lighting_page_);
  device_page_ = std::make_unique<DeviceSettingsPage>(window_);
  build(*device_page_);
}

void PagesPanel::Layout(const DUI::Rect& client, double scale) {
  const int width = client.right - 20 - 200;
  for (const PageTitle& title : kPageTitles) {
    if (DUI::MControl* text = window_.GetControl(title.title_id)) {
      text->SetRect(DUI::Rect{kPageMargin, 10, width - kPageMargin, 10 + kTitleHeight});
    }
  }
  const PageGeometry geometry{client, width, client.bottom - 50 - 80, scale};
  for (Page* page : pages_) page->Layout(geometry);
}

int64_t PagesPanel::OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t) {
  for (Page* page : pages_) {
    if (!page->Handles(id)) continue;
    const int64_t handled = page->OnMessage(id, code, extra);
    // The buttons page offers the same macros as the macro page's list.
    if (page == macro_page_.get() && handled != 0) keys_page_->SyncMacroList();
    return handled;
  }
  return 0;
}

void PagesPanel::Refresh() {
  for (Page* page : pages_) page->Refresh();
}

void PagesPanel::RefreshPage(DevicePage part) {
  // Only the pages that show `part`: a DPI change must not reload the macro page under an
  // edit in progress.
  for (Page* page : pages_) {
    if (page->Shows(part)) page->Refresh();
  }
  if (macro_page_->Shows(part)) keys_page_->SyncMacroList();
}

void PagesPanel::Relabel() {
  for (Page* page : pages_) page->Relabel();
}

void PagesPanel::SetVersionLine(const std::string& line) { device_page_->SetVersionLine(line); }

}  // namespace corvane::ui
