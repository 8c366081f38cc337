// A static text: title, font, colour and alignment, drawn over whatever lies below.
#pragma once

#include "ui/dui/mcontrol_font.h"

namespace corvane::DUI {

class MText : public MControlFont {
 public:
  MText(QWidget* parent, MDialog* owner, int id);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace corvane::DUI
