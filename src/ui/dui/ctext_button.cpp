// Link-like text buttons.
#include "ui/dui/ctext_button.h"

#include <QPainter>

namespace corvane::DUI {

CTextButton::CTextButton(QWidget* parent, MDialog* owner, int id) : MButton(parent, owner, id) {}

void CTextButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintImageFrame(painter, rect());
  QColor color = ColorFromArgb(text_color_);
  if (!isEnabled()) color.setAlpha(110);
  painter.setPen(color);
  const QString text = QString::fromStdString(title_);
  TextFit fit = TitleFit(text, rect());
  fit.font.setUnderline(State().hovered);
  painter.setFont(fit.font);
  painter.drawText(rect(), FlagsFor(fit), fit.shown);
  RecordTitleLayout(fit, text, rect());
}

}  // namespace corvane::DUI
