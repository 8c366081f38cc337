// DPI pop-up and saving pop-up.
#include "ui/dialogs/notice_popups.h"

#include "app/text_ids.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/dui/mpicture.h"
#include "ui/dui/mprogress.h"
#include "ui/dui/window_placement.h"

namespace corvane::ui {
namespace {

constexpr uint32_t kUnitGrey = 0xFFC8C8C8u;
constexpr int kValuePixels = 36;
constexpr int kUnitPixels = 20;
constexpr int kCornerGap = 2;  // from the work area's right and bottom edges
constexpr int kAnimationMs = 2;
constexpr uint32_t kBackFill = 0x1A1A1A;
constexpr uint32_t kBackBorder = 0x3E556D;

// Where a notice goes: the work area where the program places its windows (X11), the
// owner's client area where only a pop-up surface of the owner keeps a spot (Wayland).
DUI::Rect NoticeArea(const DUI::MWindow* owner) {
  if (owner == nullptr || !DUI::CompositorPlacesWindows()) return WorkArea();
  DUI::Rect area = owner->GetClientRect();
  owner->ClientToScreen(area);
  return area;
}

// A pop-up surface needs its owner on screen (Wayland); elsewhere a notice shows alone.
bool CanShowOver(const DUI::MWindow* owner) {
  return !DUI::CompositorPlacesWindows() || (owner != nullptr && owner->IsWindowVisible());
}

}  // namespace

DPIMsgDlg::DPIMsgDlg(TextLookup texts) : texts_(std::move(texts)) {}

bool DPIMsgDlg::Make(DUI::MWindow& owner) {
  owner_ = &owner;
  SetPlacedOnOwner(true);
  if (!Create(&owner, "DPIMsgDlg", kDialogStyle & ~DUI::kStyleVisible, DUI::kExStyleToolWindow,
              {0, 0, kWidth, kHeight})) {
    return false;
  }
  SetReaderName(*this, texts_(kTextDpiStages));
  ShowWindow(DUI::kShowHide);
  return true;
}

int DPIMsgDlg::OnInitDialog() {
  GetPaintManager().SetBackColor(kBackFill, kBackBorder);
  SetWindowPos(DUI::kInsertTopmost, 0, 0, 0, 0, DUI::kSwpNoSize | DUI::kSwpNoMove);
  MoveToCorner();
  return DUI::MDialog::OnInitDialog();
}

void DPIMsgDlg::InitUI(const DUI::Rect& rect) {
  const int w = rect.Width(), h = rect.Height();
  AddCloseButton(*this, kIdClose, {w - 34, 6, w - 8, 32}, texts_(kTextClose));
  value_ = AddText(*this, kIdValue, {20, 20, w - 100, 80}, "1600", kValuePixels, kTextWhite, false);
  AddText(*this, kIdUnit, {w - 100, 40, w - 20, 80}, "DPI", kUnitPixels, kUnitGrey, false);
  progress_ = Create<DUI::MProgress>(kIdProgress, {20, h - 36, w - 20, h - 26});
}

void DPIMsgDlg::SetMaxDpi(int max_dpi) {
  if (progress_ != nullptr) progress_->SetRange(0, max_dpi);
}

void DPIMsgDlg::MoveToCorner() {
  MoveWindow(DUI::CornerOf(NoticeArea(owner_), kWidth, kHeight, kCornerGap));
}

void DPIMsgDlg::ShowDpi(int dpi) {
  dpi_ = dpi;
  value_->SetTitle(std::to_string(dpi));
  progress_->SetProgress(dpi);
  MoveToCorner();  // the work area may have changed
  if (!CanShowOver(owner_)) return;
  ShowWindow(DUI::kShowShow);
  SetTimer(kTimerHide, kNoticeShowMs);
  InvalidateRect();
}

int64_t DPIMsgDlg::OnMessage(int id, DUI::NotifyCode code, int64_t, int64_t) {
  if (id == kIdClose && code == DUI::NotifyCode::kClick) {
    KillTimer(kTimerHide);
    ShowWindow(DUI::kShowHide);
    return 1;
  }
  return 0;
}

void DPIMsgDlg::OnTimer(int id) {
  if (id != kTimerHide) return;
  KillTimer(kTimerHide);
  ShowWindow(DUI::kShowHide);
}

SaveWaitDlg::SaveWaitDlg(TextLookup texts) : texts_(std::move(texts)) {}

bool SaveWaitDlg::Make(DUI::MWindow& owner) {
  owner_ = &owner;
  SetPlacedOnOwner(true);
  if (!Create(&owner, "SaveWaitDlg", kDialogStyle & ~DUI::kStyleVisible, DUI::kExStyleToolWindow,
              {0, 0, kWidth, kHeight})) {
    return false;
  }
  // It only tells: clicks go through to the page beneath (a second change made while it
  // shows must not be lost), and it never takes the keyboard.
  GetSafeHwnd()->setWindowFlag(Qt::WindowTransparentForInput);
  GetSafeHwnd()->setWindowFlag(Qt::WindowDoesNotAcceptFocus);
  GetSafeHwnd()->setAttribute(Qt::WA_ShowWithoutActivating);
  Centre();
  return true;
}

void SaveWaitDlg::Centre() {
  if (DUI::CompositorPlacesWindows()) {
    MoveWindow(DUI::CentredIn(NoticeArea(owner_), kWidth, kHeight));
  } else {
    CenterOnScreen(*this);
  }
}

int SaveWaitDlg::OnInitDialog() {
  GetPaintManager().SetBackColor(kBackFill, kBackBorder);
  SetMTimer(kAnimationMs);
  return DUI::MDialog::OnInitDialog();
}

void SaveWaitDlg::InitUI(const DUI::Rect& rect) {
  const int w = rect.Width(), h = rect.Height();
  auto* logo = Create<DUI::MPicture>(kIdLogo, {0, 20, w, 80});
  logo->SetImage("logo.png", 1);
  logo->SetShowMode(DUI::MPicture::kShowCentered, 0);
  text_ = AddText(*this, kIdText, {20, 90, w - 20, 130}, texts_(kTextSaving), kUnitPixels,
                  kTextWhite, true);
  progress_ = Create<DUI::MProgress>(kIdProgress, {40, h - 50, w - 40, h - 40});
  progress_->AddMTimer();
}

void SaveWaitDlg::Relabel() {
  // Made once and shown again after a change of language: its words follow each time.
  const std::string saving = texts_(kTextSaving);
  text_->SetTitle(saving);
  SetReaderName(*this, saving);
  progress_->setAccessibleName(QString::fromStdString(saving));
}

void SaveWaitDlg::Show() {
  Relabel();
  progress_->SetRun(true, -1);
  progress_->SetProgress(0);
  KillTimer(kTimerHide);
  SetTimer(kTimerHide, kNoticeShowMs);
  if (!CanShowOver(owner_)) return;
  if (DUI::CompositorPlacesWindows()) Centre();  // over the owner, wherever it is now
  ShowWindow(DUI::kShowShow);
}

int64_t SaveWaitDlg::OnMessage(int, DUI::NotifyCode code, int64_t, int64_t) {
  return code == DUI::NotifyCode::kClick ? 1 : 0;
}

void SaveWaitDlg::OnTimer(int id) {
  if (id != kTimerHide) return;
  KillTimer(kTimerHide);
  ShowWindow(DUI::kShowHide);
}

}  // namespace corvane::ui
