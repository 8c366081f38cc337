// A horizontal level slider: a groove filled in the accent colour up to the thumb (a
// 1-frame skin image, or a plain round knob). Dragging or clicking moves it and notifies
// the owner with kValueChanged and the new position; letting go notifies kClick with it.
#pragma once

#include <QString>
#include <functional>

#include "ui/dui/mcontrol.h"

namespace corvane::DUI {

class LightSlider : public MControl {
 public:
  static constexpr int kGrooveHeight = 4;
  static constexpr int kFallbackThumb = 14;

  LightSlider(QWidget* parent, MDialog* owner, int id);

  // Sets the range; a `max` not above `min` is ignored. The position is clamped into it.
  void SetRange(int min, int max);
  // Moves the thumb without notifying (clamped into the range).
  void SetPos(int pos);
  // The thumb position.
  int GetPos() const { return pos_; }
  // Moves the thumb as a drag does: clamped into the range, notifying kValueChanged with the
  // new position when it changed.
  void MoveToPos(int pos);
  // A complete choice (a key press, an assistive tool): moves as a drag does, then
  // notifies kClick with the position, as letting go of the thumb does.
  void ChoosePos(int pos);
  // The range ends.
  int GetMin() const { return min_; }
  int GetMax() const { return max_; }
  // The position under x (client coordinates), clamped into the range.
  int PositionAt(int x) const;
  // What a position means to the person (a DPI, a percentage), for assistive tools; the
  // position itself when unset. It must grow with the position.
  void SetShownValue(std::function<int(int)> shown) { shown_ = std::move(shown); }
  int ShownValue(int pos) const { return shown_ ? shown_(pos) : pos; }
  // What follows the shown value where it is read out ("%"); empty by default.
  void SetShownUnit(const QString& unit) { unit_ = unit; }
  QString ShownText(int pos) const { return QString::number(ShownValue(pos)) + unit_; }
  // The position whose shown value is nearest to `value`.
  int PositionOfShown(int value) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Left/Down and Right/Up move by one step, each a complete choice.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QSize ThumbSize() const;
  void MoveTo(int x);

  int min_ = 0;
  int max_ = 100;
  int pos_ = 0;
  bool dragging_ = false;
  std::function<int(int)> shown_;
  QString unit_;
};

}  // namespace corvane::DUI
