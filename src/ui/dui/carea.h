// A plain coloured area that can hold other controls (separators, colour previews,
// grouping panels).
#pragma once

#include "ui/dui/mcontrol.h"

namespace corvane::DUI {

class CArea : public MControl {
 public:
  CArea(QWidget* parent, MDialog* owner, int id);

  // Sets the fill colour (24-bit, red in the low byte).
  void SetColor(uint32_t colorref);
  // The fill colour (24-bit, red in the low byte).
  uint32_t GetColor() const { return ColorToColorRef(color_); }

 protected:
  bool HoldsChildren() const override { return true; }
  void paintEvent(QPaintEvent* event) override;
  // Fills the control's shape with the colour.
  virtual void PaintShape(QPainter& painter);

  QColor color_;
  bool transparent_ = true;
};

}  // namespace corvane::DUI
