// Link-like text buttons.
#include "ui/dui/ctext_button.h"

#include <QPainter>

namespace corvane::DUI {

CTextButton::CTextButton(QWidget* parent, MDialog* owner, int id) : MButton(parent, owner, id) {}

void CTextButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintImageFrame(painter, rect());
  QFont font = TitleFont();
  font.setUnderline(State().hovered);
  QColor color = ColorFromArgb(text_color_);
  if (!isEnabled()) color.setAlpha(110);
  painter.setFont(font);
  painter.setPen(color);
  const QString text = QString::fromStdString(title_);
  const bool wrap = (TitleFlags() & Qt::TextWordWrap) != 0;
  painter.drawText(rect(), TitleFlags(), text);
  RecordTitleLayout({wrap ? TextFitMode::kWrapped : TextFitMode::kFits, font, wrap, text}, text,
                    rect());
}

}  // namespace corvane::DUI
