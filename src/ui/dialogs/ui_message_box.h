// The program's message box: a title, a body and one button (style 0) or two (style 4);
// any other style shows no button and only a close message ends it. Closing it from
// outside with wParam 2 counts as the second button.
#pragma once

#include <string>

#include "ui/dialogs/dialog_support.h"
#include "ui/dui/mdialog.h"

namespace corvane::ui {

inline constexpr int kMessageBoxOneButton = 0;
inline constexpr int kMessageBoxTwoButtons = 4;

class CUIMessageBox : public DUI::MDialog {
 public:
  static constexpr int kWidth = 430;
  static constexpr int kHeight = 230;
  static constexpr int kIdTitle = 31, kIdBody = 32, kIdFirst = 33, kIdSecond = 34;

  CUIMessageBox(std::string title, std::string body, int style, TextLookup texts);

  void InitUI(const DUI::Rect& rect) override;
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t extra2) override;

 private:
  std::string title_;
  std::string body_;
  int style_;
  TextLookup texts_;
};

// Asks and waits: 1 for the first button, 2 for the second (or a close from outside).
// Texts are already in the current language.
int ShowUIMessageBox(DUI::MWindow* owner, const std::string& body, const std::string& title,
                     int style, const TextLookup& texts);

}  // namespace corvane::ui
