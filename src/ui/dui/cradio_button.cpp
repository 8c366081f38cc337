// Radio buttons and their groups.
#include "ui/dui/cradio_button.h"

#include <QPainter>

#include "ui/dui/mdialog.h"

namespace corvane::DUI {

CRadioButton::CRadioButton(QWidget* parent, MDialog* owner, int id)
    : CCheckButton(parent, owner, id) {}

void CRadioButton::SetCheck(bool checked) {
  if (checked && !group_.empty() && GetOwner() != nullptr) {
    if (QWidget* root = GetOwner()->GetSafeHwnd()) {
      for (CRadioButton* other : ControlsOf<CRadioButton>(root)) {
        if (other != this && other->group_ == group_) other->MButton::SetCheck(false);
      }
    }
  }
  MButton::SetCheck(checked);
}

void CRadioButton::OnClicked() {
  SetCheck(true);
  Notify(NotifyCode::kClick);
}

void CRadioButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DrawTitle(painter, PaintIndicator(painter, true));
}

}  // namespace corvane::DUI
