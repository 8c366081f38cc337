// A page container: holds a page's controls and is shown or hidden as a whole
// (by the program or by the tab strip it is attached to).
#pragma once

#include "ui/dui/mcontrol.h"

namespace corvane::DUI {

class MTabLayout : public MControl {
 public:
  MTabLayout(QWidget* parent, MDialog* owner, int id);

 protected:
  bool HoldsChildren() const override { return true; }
};

}  // namespace corvane::DUI
