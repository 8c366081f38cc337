// Check boxes.
#include "ui/dui/ccheck_button.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace corvane::DUI {

CCheckButton::CCheckButton(QWidget* parent, MDialog* owner, int id) : MButton(parent, owner, id) {
  SetToggle(true);
  SetAlignment(kAlignLeft);
}

QRect CCheckButton::PaintIndicator(QPainter& painter, bool radio) {
  const ControlState state = State();
  QRect box;
  if (!image_.IsNull()) {
    const QSize size = image_.FrameSize().boundedTo(QSize(height(), height()));
    box = QRect(0, (height() - size.height()) / 2, size.width(), size.height());
    image_.Draw(painter, SkinImage::FrameForState(image_.Frames(), state), box);
  } else {
    box = QRect(0, (height() - kFallbackBox) / 2, kFallbackBox, kFallbackBox);
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = box;
    option.state |= state.checked ? QStyle::State_On : QStyle::State_Off;
    if (state.hovered) option.state |= QStyle::State_MouseOver;
    style()->drawPrimitive(radio ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox,
                           &option, &painter, this);
  }
  return QRect(box.right() + 1 + kTextGap, 0, width() - box.right() - 1 - kTextGap, height());
}

void CCheckButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DrawTitle(painter, PaintIndicator(painter, false));
}

}  // namespace corvane::DUI
