// A check box: an 8-frame box image (four unchecked looks, then four checked ones) left
// of its title. A click flips the state and notifies the owner with kClick.
#pragma once

#include "ui/dui/mbutton.h"

namespace corvane::DUI {

class CCheckButton : public MButton {
 public:
  static constexpr int kTextGap = 8;
  static constexpr int kFallbackBox = 16;

  CCheckButton(QWidget* parent, MDialog* owner, int id);

 protected:
  void paintEvent(QPaintEvent* event) override;
  // Draws the box (image or native indicator); returns where the title goes.
  QRect PaintIndicator(QPainter& painter, bool radio);
};

}  // namespace corvane::DUI
