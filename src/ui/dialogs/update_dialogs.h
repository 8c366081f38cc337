// The two update progress dialogs: UpdateProcessDlg follows a software download (fed by
// message 1694), UpdateTipDlg follows a firmware download and transfer (fed by the
// worker's progress reports).
#pragma once

#include <string>

#include "ui/dialogs/dialog_support.h"
#include "ui/dui/mdialog.h"

namespace corvane::DUI {
class MControlFont;
class MProgress;
}  // namespace corvane::DUI

namespace corvane::ui {

class UpdateProcessDlg : public DUI::MDialog {
 public:
  static constexpr int kWidth = 360, kHeight = 100;
  static constexpr int kIdText = 31, kIdProgress = 32, kIdClose = 30;

  explicit UpdateProcessDlg(TextLookup texts);

  // Creates it centred over `owner` (not yet shown).
  bool Make(DUI::MWindow& owner);
  // Shows `percent` on the bar and in the text.
  void SetProgress(int percent);
  int GetProgress() const;

  int OnInitDialog() override;
  void InitUI(const DUI::Rect& rect) override;
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t extra2) override;

 private:
  TextLookup texts_;
  DUI::MControlFont* text_ = nullptr;
  DUI::MProgress* progress_ = nullptr;
};

class UpdateTipDlg : public DUI::MDialog {
 public:
  static constexpr int kWidth = 391, kHeight = 130;
  static constexpr int kIdText = 31, kIdProgress = 32;

  explicit UpdateTipDlg(TextLookup texts);

  // Creates it centred over `owner` (not yet shown).
  bool Make(DUI::MWindow& owner);
  // Shows "<text>: <percent>%" and the bar at `percent`.
  void SetProgress(const std::string& text, int percent);

  void InitUI(const DUI::Rect& rect) override;

 private:
  TextLookup texts_;
  DUI::MControlFont* status_ = nullptr;
  DUI::MProgress* progress_ = nullptr;
};

}  // namespace corvane::ui
