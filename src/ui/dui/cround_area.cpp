// Round coloured marks.
#include "ui/dui/cround_area.h"

#include <QPainter>
#include <algorithm>

namespace corvane::DUI {

CRoundArea::CRoundArea(QWidget* parent, MDialog* owner, int id) : CArea(parent, owner, id) {}

void CRoundArea::SetArgbColor(uint32_t argb) {
  color_ = ColorFromArgb(argb);
  transparent_ = false;
  update();
}

void CRoundArea::PaintShape(QPainter& painter) {
  const int side = std::min(width(), height());
  QRectF circle(0, 0, side, side);
  circle.moveCenter(QRectF(rect()).center());
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(color_);
  painter.drawEllipse(circle);
}

}  // namespace corvane::DUI
