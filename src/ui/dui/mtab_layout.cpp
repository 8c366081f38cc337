// Page containers.
#include "ui/dui/mtab_layout.h"

namespace corvane::DUI {

MTabLayout::MTabLayout(QWidget* parent, MDialog* owner, int id) : MControl(parent, owner, id) {}

MControl* MTabLayout::CreateArea(const std::string& class_name, int id, const Rect& rect,
                                 const std::string& text, int visible, int enabled) {
  return CreateChild(class_name, id, rect, text, visible, enabled);
}

MControl* MTabLayout::CreateControl(const std::string& class_name, int id, const Rect& rect,
                                    const std::string& text, int visible, int enabled) {
  return CreateChild(class_name, id, rect, text, visible, enabled);
}

}  // namespace corvane::DUI
