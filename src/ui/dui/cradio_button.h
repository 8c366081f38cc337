// A radio button: like a check box, but checking it unchecks the other radio buttons of
// the same group name in the same dialog, and clicking a checked one keeps it checked.
#pragma once

#include <string>

#include "ui/dui/ccheck_button.h"

namespace corvane::DUI {

class CRadioButton : public CCheckButton {
 public:
  CRadioButton(QWidget* parent, MDialog* owner, int id);

  // Sets the group name; radios without a group are independent.
  void SetGroup(const std::string& group) { group_ = group; }
  // The group name.
  const std::string& GetGroup() const { return group_; }
  // Checks (and unchecks the rest of the group) or unchecks, without notifying.
  void SetCheck(bool checked) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void OnClicked() override;

 private:
  std::string group_;
};

}  // namespace corvane::DUI
