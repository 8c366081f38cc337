// The message box: controls, placement and result.
#include "ui/dialogs/ui_message_box.h"

#include "app/text_ids.h"
#include "ui/dui/manager.h"
#include "ui/dui/mcontrol_font.h"

namespace corvane::ui {
namespace {

constexpr int kFontPixels = 16;
constexpr int kBackMode = 1;
constexpr int kBackMargin = 30;
constexpr const char* kTitle = "MessageBox";

}  // namespace

CUIMessageBox::CUIMessageBox(std::string title, std::string body, int style, TextLookup texts)
    : title_(std::move(title)), body_(std::move(body)), style_(style), texts_(std::move(texts)) {
  LoadBKImage("bk_prompt.png");
  SetBackMode(kBackMode, kBackMargin);
}

void CUIMessageBox::InitUI(const DUI::Rect& rect) {
  SetLayeredWindow(true);
  const int w = rect.Width(), h = rect.Height(), c = w / 2;
  AddText(*this, kIdTitle, {20, 15, w - 20, 45}, title_, kFontPixels, kTextWhite, true);
  auto* body =
      AddText(*this, kIdBody, {20, 50, w - 20, h - 50}, body_, kFontPixels, kTextWhite, true);
  body->SetVAlignment(DUI::kVAlignCenter);
  body->SetMultiLine(true);
  if (style_ == kMessageBoxOneButton) {
    AddButton(*this, kIdFirst, {60, h - 50, w - 60, h - 14}, texts_(kTextOk), kFontPixels);
  } else if (style_ == kMessageBoxTwoButtons) {
    AddButton(*this, kIdFirst, {c - 120, h - 50, c - 20, h - 14}, texts_(kTextAccept), kFontPixels);
    AddButton(*this, kIdSecond, {c + 20, h - 50, c + 120, h - 14}, texts_(kTextCancel),
              kFontPixels);
  }
}

int64_t CUIMessageBox::OnMessage(int id, DUI::NotifyCode code, int64_t, int64_t) {
  if (code != DUI::NotifyCode::kClick) return 0;
  if (id == kIdFirst) {
    DoOK();
    return 1;
  }
  if (id == kIdSecond) {
    DoCancel();
    return 1;
  }
  return 0;
}

int ShowUIMessageBox(DUI::MWindow* owner, const std::string& body, const std::string& title,
                     int style, const TextLookup& texts) {
  CUIMessageBox box(title, body, style, texts);
  if (!box.Create(owner, kTitle, kDialogStyle & ~DUI::kStyleVisible, DUI::kExStyleToolWindow,
                  DUI::Rect{0, 0, CUIMessageBox::kWidth, CUIMessageBox::kHeight})) {
    return DUI::MWindow::kModalCancel;
  }
  // Read by its caption, as the box shows it; a box without one by the program's name.
  SetReaderName(box, title.empty() ? DUI::Manager::GetDeviceName() : title);
  CenterOnScreen(box);
  return box.ShowModal(1);
}

}  // namespace corvane::ui
