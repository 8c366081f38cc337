// Update progress dialogs.
#include "ui/dialogs/update_dialogs.h"

#include "app/text_ids.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/dui/mprogress.h"

namespace corvane::ui {
namespace {

constexpr int kFontPixels = 14;
constexpr int kBackMargin = 16;
constexpr int kFullRange = 100;
constexpr uint32_t kWarningRed = 0xFFC80A0Au;
constexpr uint32_t kSwpShow = DUI::kSwpNoSize | DUI::kSwpNoMove | DUI::kSwpShowWindow;
constexpr const char* kDownloadFormat = "下载文件中: %1%";
constexpr const char* kUpdating = "升级中";

}  // namespace

UpdateProcessDlg::UpdateProcessDlg(TextLookup texts) : texts_(std::move(texts)) {}

bool UpdateProcessDlg::Make(DUI::MWindow& owner) {
  if (!Create(&owner, "UpdateProcessDlg", kDialogStyle & ~DUI::kStyleVisible,
              DUI::kExStyleToolWindow, {0, 0, kWidth, kHeight})) {
    return false;
  }
  CenterWindow();
  return true;
}

int UpdateProcessDlg::OnInitDialog() {
  SetWindowPos(0, 0, 0, 0, 0, kSwpShow);
  return DUI::MDialog::OnInitDialog();
}

void UpdateProcessDlg::InitUI(const DUI::Rect& rect) {
  const int w = rect.Width();
  SetLayeredWindow(true);
  SetBackMode(1, kBackMargin);
  LoadBKImage("img_area_content.png");
  text_ = AddText(*this, kIdText, {10, 30, w - 20, 50}, "", kFontPixels, kTextWhite, false);
  progress_ = Create<DUI::MProgress>(kIdProgress, {10, 60, w - 20, 80});
  progress_->SetRange(0, kFullRange);
  // Without a way out, a finished download without installer would leave this window
  // over the main window for good.
  AddCloseButton(*this, kIdClose, {w - 30, 5, w - 8, 27}, texts_(kTextClose));
}

void UpdateProcessDlg::SetProgress(int percent) {
  if (progress_ == nullptr) return;
  progress_->SetProgress(percent);
  text_->SetTitle(QString(kDownloadFormat).arg(percent).toStdString());
}

int UpdateProcessDlg::GetProgress() const {
  return progress_ != nullptr ? progress_->GetProgress() : 0;
}

int64_t UpdateProcessDlg::OnMessage(int id, DUI::NotifyCode code, int64_t, int64_t) {
  if (id == kIdClose && code == DUI::NotifyCode::kClick) {
    progress_ = nullptr;
    DoCancel();
    return 1;
  }
  return 0;
}

UpdateTipDlg::UpdateTipDlg(TextLookup texts) : texts_(std::move(texts)) {}

bool UpdateTipDlg::Make(DUI::MWindow& owner) {
  if (!Create(&owner, "UpdateTipDlg", kDialogStyle & ~DUI::kStyleVisible, DUI::kExStyleToolWindow,
              {0, 0, kWidth, kHeight})) {
    return false;
  }
  CenterWindow();
  return true;
}

void UpdateTipDlg::InitUI(const DUI::Rect& rect) {
  const int w = rect.Width();
  SetLayeredWindow(true);
  LoadBKImage("img_upgrade_bkg.png");
  auto* warning = AddText(*this, kIdText, {20, 10, w - 20, 60}, texts_(kTextDoNotUnplug),
                          kFontPixels, kWarningRed, true);
  warning->SetMultiLine(true);
  status_ = AddText(*this, kIdText, {20, 60, w - 20, 80}, kUpdating, kFontPixels, kTextWhite, true);
  progress_ = Create<DUI::MProgress>(kIdProgress, {20, 80, w - 20, 116});
}

void UpdateTipDlg::SetProgress(const std::string& text, int percent) {
  if (progress_ == nullptr) return;
  status_->SetTitle(
      QString("%1: %2%").arg(QString::fromStdString(text)).arg(percent).toStdString());
  progress_->SetProgress(percent);
}

}  // namespace corvane::ui
