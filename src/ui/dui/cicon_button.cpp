// Buttons with an icon and a title.
#include "ui/dui/cicon_button.h"

#include <QPainter>

namespace corvane::DUI {

CIconButton::CIconButton(QWidget* parent, MDialog* owner, int id) : MButton(parent, owner, id) {}

bool CIconButton::SetIcon(const std::string& file) {
  const bool loaded = icon_.Load(file, 1);
  update();
  return loaded;
}

void CIconButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!PaintImageFrame(painter, rect())) PaintFallback(painter, false);
  QRect text_area = rect();
  if (!icon_.IsNull()) {
    const QSize size = icon_.FrameSize().boundedTo(QSize(height(), height()));
    const QRect icon_rect(kIconPadding, (height() - size.height()) / 2, size.width(),
                          size.height());
    icon_.Draw(painter, 0, icon_rect);
    text_area.setLeft(icon_rect.right() + 1);
    text_area.setRight(width() - kIconPadding);
  }
  DrawTitle(painter, text_area);
}

}  // namespace corvane::DUI
