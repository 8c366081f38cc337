// A number field: digits with an optional leading minus. Finishing an edit (Enter or
// leaving the field) notifies code 29 so the owner can correct the number in place, and
// then code 2 to confirm it when the text differs from the last one confirmed.
#pragma once

#include <string>

#include "ui/dui/medit.h"

namespace corvane::DUI {

class NumberEdit : public MEdit {
 public:
  static constexpr int kMaxDigits = 6;

  NumberEdit(QWidget* parent, MDialog* owner, int id);

  // Shows `text` as the confirmed value (a page load), without notifying.
  void SetConfirmedText(const std::string& text);

 private:
  void Confirm();
  std::string confirmed_;
};

}  // namespace corvane::DUI
