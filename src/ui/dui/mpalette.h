// A colour picker: a hue/saturation field with a value bar at its right. Dragging in
// either part notifies the owner with kPaletteSelect for each new colour; letting go notifies
// kClick with the colour chosen. The arrow keys move the hue (left/right) and the
// saturation (up/down) one step at a time, each step a complete choice (kPaletteSelect, then kClick).
#pragma once

#include <QImage>

#include "ui/dui/mcontrol.h"

namespace corvane::DUI {

class MPalette : public MControl {
 public:
  static constexpr int kBarWidth = 14;
  static constexpr int kBarGap = 8;
  static constexpr int kMaxHue = 359;
  static constexpr int kMaxLevel = 255;
  static constexpr int kKeyStep = 4;
  static constexpr int kMarkerRoom = 6;

  MPalette(QWidget* parent, MDialog* owner, int id);

  // The chosen colour (24-bit, red in the low byte).
  uint32_t GetSelectColor() const { return color_; }
  // Shows `colorref` as the chosen colour without notifying.
  void SetSelectColor(uint32_t colorref);
  // Chooses `colorref` as a person does: shows it, then notifies kPaletteSelect and kClick.
  void ChooseColor(uint32_t colorref);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  enum class Part { kNone, kField, kBar };
  QRect FieldRect() const;
  QRect BarRect() const;
  // Takes the colour under `point` in `part`; notifies 27 when it changed.
  void PickAt(Part part, const QPoint& point);
  void Picked();
  // The colour becomes the one the hue, saturation and value show.
  void TakeHsv();
  void RenderField();

  int hue_ = 0;
  int saturation_ = kMaxLevel;
  int value_ = kMaxLevel;
  uint32_t color_ = 0x0000FF;
  Part dragging_ = Part::kNone;
  QImage field_;
};

}  // namespace corvane::DUI
