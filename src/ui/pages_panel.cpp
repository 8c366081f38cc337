// Device page shells and the DPI and performance read-out.
#include "ui/pages_panel.h"

#include "app/text_ids.h"
#include "settings/dpi_stages.h"
#include "settings/performance_options.h"
#include "store/settings_database.h"
#include "ui/device_main_dlg.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/pages/lighting_page.h"
#include "worker/device_session.h"

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
constexpr int kIdDpiSummary = 112;
constexpr int kTitleHeight = 40;
constexpr int kPageMargin = 30;
constexpr uint32_t kTitleColor = 0xFFFFFFFFu;
constexpr uint32_t kValueColor = 0xFFC8D0DA;

}  // namespace

PagesPanel::PagesPanel(DeviceMainDlg& window)
    : window_(window), lighting_(std::make_unique<LightingPage>(window)) {}

PagesPanel::~PagesPanel() = default;

void PagesPanel::Build() {
  for (const PageTitle& title : kPageTitles) {
    DUI::MControl* page = window_.GetControl(title.page);
    auto* text = static_cast<DUI::MControlFont*>(window_.Labelled(
        page->CreateArea("MText", title.title_id, DUI::Rect{}, ""), title.text_id));
    text->SetFont("", 16, DUI::kFontBold);
    text->SetTextColor(kTitleColor);
  }
  DUI::MControl* dpi_page = window_.GetControl(kIdPageDpi);
  dpi_summary_ = static_cast<DUI::MControlFont*>(
      dpi_page->CreateArea("MText", kIdDpiSummary, DUI::Rect{}, ""));
  dpi_summary_->SetMultiLine(true);
  dpi_summary_->SetTextColor(kValueColor);
  dpi_summary_->SetFont("", 14, 0);
  lighting_->Build();
}

void PagesPanel::Layout(const DUI::Rect& client, double scale) {
  const int width = client.right - 20 - 200;
  for (const PageTitle& title : kPageTitles) {
    if (DUI::MControl* text = window_.GetControl(title.title_id)) {
      text->SetRect(DUI::Rect{kPageMargin, 10, width - kPageMargin, 10 + kTitleHeight});
    }
  }
  const int top = 10 + kTitleHeight + static_cast<int>(20 * scale);
  dpi_summary_->SetRect(
      DUI::Rect{kPageMargin, top, width - kPageMargin, top + static_cast<int>(300 * scale)});
  lighting_->Layout(client, scale);
}

int64_t PagesPanel::OnMessage(int id, int code, int64_t extra, int64_t) {
  if (LightingPage::Handles(id)) return lighting_->OnMessage(id, code, extra);
  return 0;
}

void PagesPanel::Refresh() {
  dpi_summary_->SetTitle(BuildDpiSummary());
  lighting_->Reload();
}

void PagesPanel::RefreshPage(DevicePage page) {
  if (page == DevicePage::kDpi || page == DevicePage::kPerformance) Refresh();
  if (page == DevicePage::kLighting) lighting_->Reload();
}

void PagesPanel::Relabel() { Refresh(); }

std::string PagesPanel::DpiSummary() const { return dpi_summary_->GetTitle(); }

std::string PagesPanel::BuildDpiSummary() const {
  DeviceSession& session = window_.Session();
  DpiStages dpi(session.Store(), session.State(), session.Worker());
  const DpiPageView view = dpi.View();
  std::string text = window_.Text(kTextDpiStages) + ":";
  for (std::size_t i = 0; i < view.stages.size(); ++i) {
    text += (static_cast<int>(i) == view.index ? "  [" : "  ") +
            std::to_string(view.stages[i].value) + (static_cast<int>(i) == view.index ? "]" : "");
  }
  PerformanceOptions options(session.Store(), session.State(), session.Worker());
  const PerformanceView performance = options.Load();
  text += "\n" + window_.Text(kTextReportRate) + ": ";
  if (performance.selected_rate &&
      *performance.selected_rate < static_cast<int>(performance.rates.size())) {
    text += performance.rates[*performance.selected_rate].text;
  } else {
    text += "-";
  }
  text += "\n" + window_.Text(kTextResponseTime) + ": " + std::to_string(performance.response_time);
  return text;
}

}  // namespace corvane::ui
