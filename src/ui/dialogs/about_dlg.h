// The about box: logo, the mouse's firmware version and the website line; its close
// button ends it.
#pragma once

#include <string>

#include "ui/dialogs/dialog_support.h"
#include "ui/dui/mdialog.h"

namespace corvane::ui {

class AboutDlg : public DUI::MDialog {
 public:
  static constexpr int kWidth = 500, kHeight = 300;
  static constexpr int kIdClose = 30, kIdLogo = 32, kIdVersion2 = 33, kIdVersion = 34;
  static constexpr int kIdWebsite = 35;

  // `release` is the firmware release number (0x123 shows as 1.23).
  AboutDlg(int release, TextLookup texts);

  // Opens centred over `owner` and waits until it is closed.
  int Open(DUI::MWindow& owner);

  // "<label>: v1.23" for release 0x123: its hexadecimal text's first character and its
  // last two characters.
  static std::string VersionText(const std::string& label, int release);

  int OnInitDialog() override;
  void InitUI(const DUI::Rect& rect) override;
  int64_t OnMessage(int id, int code, int64_t extra, int64_t extra2) override;

 private:
  int release_;
  TextLookup texts_;
};

}  // namespace corvane::ui
