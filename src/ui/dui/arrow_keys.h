// Arrow keys in the controls whose items are chosen as a click chooses them.
#pragma once

#include <QKeyEvent>
#include <algorithm>

namespace corvane::DUI {

// The item an arrow key steps to from `current` among `count` items: Up and Left go back,
// Down and Right forward, the ends hold, and nothing chosen yet steps to the first item.
// -1 for other keys and for an empty control.
inline int ArrowStep(const QKeyEvent& event, int current, int count) {
  if (count <= 0) return -1;
  switch (event.key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
      return std::max(0, current - 1);
    case Qt::Key_Down:
    case Qt::Key_Right:
      return std::clamp(current + 1, 0, count - 1);
    default:
      return -1;
  }
}

// Chooses, as a click would, the item an arrow key steps to in `control` (any control with
// GetCurSel, GetCount and ChooseItem); false, leaving the event alone, for other keys.
template <typename Control>
bool ChooseByArrow(Control& control, QKeyEvent& event) {
  const int step = ArrowStep(event, control.GetCurSel(), control.GetCount());
  if (step < 0) return false;
  control.ChooseItem(step);
  event.accept();
  return true;
}

}  // namespace corvane::DUI
