// Background colours of a window.
#include "ui/dui/paint_manager.h"

#include <QPainter>

#include "ui/dui/dui_types.h"

namespace corvane::DUI {

void PaintManager::SetBackColor(uint32_t fill, uint32_t border) {
  fill_ = ColorFromColorRef(fill);
  border_ = ColorFromColorRef(border);
  has_color_ = true;
}

void PaintManager::Paint(QPainter& painter, const QRect& area) const {
  if (!has_color_) return;
  painter.fillRect(area, fill_);
  painter.setPen(border_);
  painter.drawRect(area.adjusted(0, 0, -1, -1));
}

}  // namespace corvane::DUI
