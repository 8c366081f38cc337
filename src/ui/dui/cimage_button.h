// A button that is only a picture (close, minimise, paging arrows); its tooltip names it.
// Without its image it shows a small native tool button.
#pragma once

#include "ui/dui/mbutton.h"

namespace corvane::DUI {

class CImageButton : public MButton {
 public:
  CImageButton(QWidget* parent, MDialog* owner, int id);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace corvane::DUI
