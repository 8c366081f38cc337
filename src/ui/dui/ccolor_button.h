// A colour swatch button. Swatches of one group name in one dialog behave like radio
// buttons: marking one clears the mark of the others. A click marks it and notifies the
// owner with kClick.
#pragma once

#include <string>

#include "ui/dui/mbutton.h"

namespace corvane::DUI {

class CColorButton : public MButton {
 public:
  static constexpr int kMarkWidth = 2;

  CColorButton(QWidget* parent, MDialog* owner, int id);

  // Sets the swatch colour (24-bit, red in the low byte).
  void SetColor(uint32_t colorref);
  // The swatch colour (24-bit, red in the low byte).
  uint32_t GetColor() const { return color_; }
  // Sets the group name; swatches without a group are independent.
  void SetGroup(const std::string& group) { group_ = group; }
  const std::string& GetGroup() const { return group_; }
  // Marks it (clearing the rest of its group) or clears it, without notifying.
  void SetCheck(bool checked) override;
  // Clears the mark of every swatch of `group` owned by `owner`.
  static void ClearGroup(MDialog* owner, const std::string& group);
  // The marked swatch of `group` owned by `owner`, or null.
  static CColorButton* MarkedOf(MDialog* owner, const std::string& group);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void OnClicked() override;

 private:
  uint32_t color_ = 0;
  std::string group_;
};

}  // namespace corvane::DUI
