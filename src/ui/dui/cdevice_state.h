// The connection-state plate of the title bar: a 4-frame skin behind a centred text
// (no device, wired, through the receiver).
#pragma once

#include "ui/dui/mcontrol_font.h"

namespace corvane::DUI {

class CDeviceState : public MControlFont {
 public:
  CDeviceState(QWidget* parent, MDialog* owner, int id);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace corvane::DUI
