// Background painting settings of one window: a fill colour and a border colour used
// when the window has no background image, or under a translucent one.
#pragma once

#include <QColor>
#include <cstdint>

class QPainter;
class QRect;

namespace corvane::DUI {

class PaintManager {
 public:
  // Sets the fill and border colours, both 24-bit with red in the low byte.
  void SetBackColor(uint32_t fill, uint32_t border);
  // True once SetBackColor was called.
  bool HasBackColor() const { return has_color_; }
  // Paints the fill and a one-pixel border over `area`; does nothing without colours.
  void Paint(QPainter& painter, const QRect& area) const;

 private:
  bool has_color_ = false;
  QColor fill_;
  QColor border_;
};

}  // namespace corvane::DUI
