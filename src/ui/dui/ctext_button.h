// A text-only link button: no skin image, the title is underlined while hovered and a
// click notifies the owner with kClick.
#pragma once

#include "ui/dui/mbutton.h"

namespace corvane::DUI {

class CTextButton : public MButton {
 public:
  CTextButton(QWidget* parent, MDialog* owner, int id);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace corvane::DUI
