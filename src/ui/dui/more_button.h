// The small "more" button a list shows on its selected row: a picture button named by
// its tooltip whose click runs the list's own action (opening the list's menu) instead
// of notifying a dialog.
#pragma once

#include <functional>

#include "ui/dui/cimage_button.h"

namespace corvane::DUI {

class MoreButton : public CImageButton {
 public:
  static constexpr int kSize = 20;

  MoreButton(QWidget* list, std::function<void()> action);
  // Places the button at the right end of `row` (list coordinates); hides it for an
  // empty row.
  void PlaceOnRow(const QRect& row);

 protected:
  void OnClicked() override;

 private:
  std::function<void()> action_;
};

}  // namespace corvane::DUI
