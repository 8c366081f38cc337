// The DPI slider: a level slider over positions 1..the sensor's maximum with the lowest
// and highest DPI written under its ends. As every level slider, dragging notifies
// kValueChanged with each position and letting go (or a key step, or an assistive tool)
// notifies kClick.
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

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::string min_text_;
  std::string max_text_;
};

}  // namespace corvane::DUI
