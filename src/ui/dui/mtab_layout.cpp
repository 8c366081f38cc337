// Page containers.
#include "ui/dui/mtab_layout.h"

namespace corvane::DUI {

MTabLayout::MTabLayout(QWidget* parent, MDialog* owner, int id) : MControl(parent, owner, id) {}

}  // namespace corvane::DUI
