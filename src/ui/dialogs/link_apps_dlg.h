// "Link to applications…" of the profile chooser: the applications linked to one profile,
// with those running now and those installed (desktop entries) to pick from, and a field
// for any other name. Links are stored at once; an application taken from another profile
// leaves that one (one profile per application).
#pragma once

#include <string>
#include <vector>

#include "ui/dialogs/dialog_support.h"
#include "ui/dui/mdialog.h"

namespace corvane {
class SettingsDatabase;
}

namespace corvane::DUI {
class DListBox;
class MEdit;
}  // namespace corvane::DUI

namespace corvane::ui {

class LinkAppsDlg : public DUI::MDialog {
 public:
  static constexpr int kWidth = 440, kHeight = 470;
  static constexpr int kIdTitle = 31, kIdClose = 32, kIdLinkedLabel = 33, kIdLinked = 34;
  static constexpr int kIdUnlink = 35, kIdChoicesLabel = 36, kIdChoices = 37, kIdName = 38;
  static constexpr int kIdLink = 39;

  // `choices`: the running and installed applications offered.
  LinkAppsDlg(SettingsDatabase& store, int profile, std::string profile_name,
              std::vector<std::string> choices, TextLookup texts);

  // Opens centred and waits until it is closed. Returns whether any link changed.
  bool Open(DUI::MWindow& owner);

  int OnInitDialog() override;
  void InitUI(const DUI::Rect& rect) override;
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t extra2) override;

 private:
  // "<profile> — Link to applications…": shown at the top, and what a reader calls the dialog.
  std::string Heading() const;
  void FillLinked();
  void LinkTyped();

  SettingsDatabase& store_;
  int profile_;
  std::string profile_name_;
  std::vector<std::string> choices_;
  TextLookup texts_;
  DUI::DListBox* linked_ = nullptr;
  DUI::DListBox* choice_list_ = nullptr;
  DUI::MEdit* name_ = nullptr;
  bool changed_ = false;
};

}  // namespace corvane::ui
