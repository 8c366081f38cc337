// Picture-only buttons.
#include "ui/dui/cimage_button.h"

#include <QPainter>

namespace corvane::DUI {

CImageButton::CImageButton(QWidget* parent, MDialog* owner, int id)
    : MButton(parent, owner, id) {}

void CImageButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!PaintImageFrame(painter, rect())) PaintFallback(painter, true);
}

}  // namespace corvane::DUI
