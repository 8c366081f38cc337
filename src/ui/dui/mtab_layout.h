// A page container: holds a page's controls and is shown or hidden as a whole
// (by the program or by the tab strip it is attached to).
#pragma once

#include "ui/dui/mcontrol.h"

namespace corvane::DUI {

class MTabLayout : public MControl {
 public:
  MTabLayout(QWidget* parent, MDialog* owner, int id);

  MControl* CreateArea(const std::string& class_name, int id, const Rect& rect,
                       const std::string& text, int visible = 1, int enabled = 1) override;
  MControl* CreateControl(const std::string& class_name, int id, const Rect& rect,
                          const std::string& text, int visible = 1, int enabled = 1) override;
};

}  // namespace corvane::DUI
