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
  // Stops filling (children still show).
  void SetTransparent(bool transparent);

  MControl* CreateArea(const std::string& class_name, int id, const Rect& rect,
                       const std::string& text, int visible = 1, int enabled = 1) override;
  MControl* CreateControl(const std::string& class_name, int id, const Rect& rect,
                          const std::string& text, int visible = 1, int enabled = 1) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  // Fills the control's shape with the colour.
  virtual void PaintShape(QPainter& painter);

  QColor color_;
  bool transparent_ = true;
};

}  // namespace corvane::DUI
