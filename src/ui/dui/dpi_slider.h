// The DPI slider: a level slider over positions 1..the sensor's maximum with the lowest
// and highest DPI written under its ends. Dragging notifies code 26 with each position;
// letting go (mouse, keyboard step, or a value set by an assistive tool) notifies 2.
#pragma once

#include <string>

#include "ui/dui/light_slider.h"

namespace corvane::DUI {

class DPISlider : public LightSlider {
 public:
  static constexpr int kTextHeight = 18;

  DPISlider(QWidget* parent, MDialog* owner, int id);

  // The texts under the two ends, e.g. "100" and "8000".
  void SetDPIDesc(const std::string& min_text, const std::string& max_text);
  const std::string& MinText() const { return min_text_; }
  const std::string& MaxText() const { return max_text_; }
  // Moves the thumb without notifying.
  void SetProgress(int position) { SetPos(position); }
  // Ends a move: notifies code 2 with the position.
  void Release();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::string min_text_;
  std::string max_text_;
  bool pressed_ = false;
};

}  // namespace corvane::DUI
