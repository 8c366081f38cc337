// Coloured areas that hold controls.
#include "ui/dui/carea.h"

#include <QPainter>

namespace corvane::DUI {

CArea::CArea(QWidget* parent, MDialog* owner, int id) : MControl(parent, owner, id) {}

void CArea::SetColor(uint32_t colorref) {
  color_ = ColorFromColorRef(colorref);
  transparent_ = false;
  update();
}

void CArea::paintEvent(QPaintEvent*) {
  if (transparent_) return;
  QPainter painter(this);
  PaintShape(painter);
}

void CArea::PaintShape(QPainter& painter) { painter.fillRect(rect(), color_); }

}  // namespace corvane::DUI
