// Push buttons and toggle buttons.
#include "ui/dui/mbutton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include "ui/dui/accessibility.h"

namespace corvane::DUI {

MButton::MButton(QWidget* parent, MDialog* owner, int id) : MControlFont(parent, owner, id) {
  SetAlignment(kAlignCenter);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
}

void MButton::SetCheck(bool checked) {
  if (checked != checked_) {
    checked_ = checked;
    AccessibleCheckedChanged(this);
  }
  update();
}

void MButton::OnClicked() {
  if (toggle_) {
    checked_ = !checked_;
    AccessibleCheckedChanged(this);
  }
  update();
  Notify(NotifyCode::kClick);
}

void MButton::PaintFallback(QPainter& painter, bool with_text) {
  const ControlState state = State();
  QStyleOptionButton option;
  option.initFrom(this);
  option.rect = rect();
  option.state |= (state.pressed || state.checked) ? QStyle::State_Sunken : QStyle::State_Raised;
  if (state.hovered) option.state |= QStyle::State_MouseOver;
  if (with_text) option.text = QString::fromStdString(title_);
  style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
}

void MButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!PaintImageFrame(painter, rect())) {
    PaintFallback(painter, true);
    return;
  }
  DrawTitle(painter, rect());
}

}  // namespace corvane::DUI
