// The about box: logo, the program's version (the build's project version), the firmware
// lines (the mouse's, and the receiver's when there is one, as the device settings page
// words them) and the website line; its close button ends it.
#pragma once

#include <string>
#include <vector>

#include "ui/dialogs/dialog_support.h"
#include "ui/dui/mdialog.h"

namespace corvane::ui {

// "Version: 1.2.3" in the current language, with the version this program was built as.
std::string ProgramVersionLine(const TextLookup& texts);

class AboutDlg : public DUI::MDialog {
 public:
  static constexpr int kWidth = 500, kHeight = 300;
  static constexpr int kIdClose = 30, kIdLogo = 32, kIdVersion2 = 33, kIdVersion = 34;
  static constexpr int kIdWebsite = 35, kIdProgramVersion = 36;

  // `firmware` holds at most two lines; an empty list shows none.
  AboutDlg(std::vector<std::string> firmware, TextLookup texts);

  // Opens centred over `owner` and waits until it is closed.
  int Open(DUI::MWindow& owner);

  int OnInitDialog() override;
  void InitUI(const DUI::Rect& rect) override;
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t extra2) override;

 private:
  std::vector<std::string> firmware_;
  TextLookup texts_;
};

}  // namespace corvane::ui
