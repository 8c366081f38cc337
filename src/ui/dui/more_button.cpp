// The "more" button of the macro and event lists.
#include "ui/dui/more_button.h"

namespace corvane::DUI {
namespace {

constexpr int kRightPadding = 8;

}  // namespace

MoreButton::MoreButton(QWidget* list, std::function<void()> action)
    : CImageButton(list, nullptr, 0), action_(std::move(action)) {
  setFocusPolicy(Qt::TabFocus);
  hide();
}

void MoreButton::PlaceOnRow(const QRect& row) {
  if (row.isEmpty()) {
    if (!isHidden()) hide();
    return;
  }
  setGeometry(row.right() - kRightPadding - kSize, row.center().y() - kSize / 2 + 1, kSize, kSize);
  if (isHidden()) {
    show();
    raise();
  }
}

void MoreButton::OnClicked() {
  if (action_) action_();
}

}  // namespace corvane::DUI
