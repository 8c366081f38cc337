// Conversions of the shared value types of the control layer.
#include "ui/dui/dui_types.h"

#include <algorithm>

namespace corvane::DUI {

QRect Rect::ToQRect() const {
  return QRect(left, top, std::max(0, Width()), std::max(0, Height()));
}

Rect Rect::FromQRect(const QRect& rect) {
  return Rect{rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

QColor ColorFromArgb(uint32_t argb) {
  return QColor((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, (argb >> 24) & 0xFF);
}

QColor ColorFromColorRef(uint32_t colorref) {
  return QColor(colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF);
}

uint32_t ColorToColorRef(const QColor& color) {
  return static_cast<uint32_t>(color.red()) | (static_cast<uint32_t>(color.green()) << 8) |
         (static_cast<uint32_t>(color.blue()) << 16);
}

}  // namespace corvane::DUI
