// The two notices that come and go by themselves: the DPI pop-up in the bottom-right
// corner of the work area and the saving pop-up in the middle of the screen (of the main
// window where the compositor places windows). Each stays two seconds after it was last
// asked to show.
#pragma once

#include "ui/dialogs/dialog_support.h"
#include "ui/dui/mdialog.h"

namespace corvane::DUI {
class MControlFont;
class MProgress;
}  // namespace corvane::DUI

namespace corvane::ui {

inline constexpr int kNoticeShowMs = 2000;

class DPIMsgDlg : public DUI::MDialog {
 public:
  static constexpr int kWidth = 300, kHeight = 130;
  static constexpr int kIdClose = 30, kIdValue = 31, kIdUnit = 32, kIdProgress = 33;
  static constexpr int kTimerHide = 100;

  explicit DPIMsgDlg(TextLookup texts);

  // Creates it hidden as a child of `owner`.
  bool Make(DUI::MWindow& owner);
  // The bar's full scale (the model's highest DPI).
  void SetMaxDpi(int max_dpi);
  // Shows `dpi` in the corner and (re)starts the two seconds.
  void ShowDpi(int dpi);
  int ShownDpi() const { return dpi_; }

  int OnInitDialog() override;
  void InitUI(const DUI::Rect& rect) override;
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t extra2) override;
  void OnTimer(int id) override;

 private:
  void MoveToCorner();

  DUI::MWindow* owner_ = nullptr;
  TextLookup texts_;
  DUI::MControlFont* value_ = nullptr;
  DUI::MProgress* progress_ = nullptr;
  int dpi_ = 0;
};

class SaveWaitDlg : public DUI::MDialog {
 public:
  static constexpr int kWidth = 500, kHeight = 200;
  static constexpr int kIdLogo = 31, kIdText = 32, kIdProgress = 33;
  static constexpr int kTimerHide = 200;

  explicit SaveWaitDlg(TextLookup texts);

  // Creates it hidden, centred on the screen, as a child of `owner`.
  bool Make(DUI::MWindow& owner);
  // Shows it and (re)starts the two seconds.
  void Show();

  int OnInitDialog() override;
  void InitUI(const DUI::Rect& rect) override;
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t extra2) override;
  void OnTimer(int id) override;

 private:
  void Centre();
  void Relabel();

  DUI::MWindow* owner_ = nullptr;
  TextLookup texts_;
  DUI::MControlFont* text_ = nullptr;
  DUI::MProgress* progress_ = nullptr;
};

}  // namespace corvane::ui
