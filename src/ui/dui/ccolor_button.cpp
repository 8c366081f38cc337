// Colour swatches and their groups.
#include "ui/dui/ccolor_button.h"

#include <QPainter>

#include "ui/dui/accessibility.h"
#include "ui/dui/manager.h"
#include "ui/dui/mdialog.h"

namespace corvane::DUI {
namespace {

std::vector<CColorButton*> GroupOf(MDialog* owner, const std::string& group) {
  std::vector<CColorButton*> members;
  if (owner == nullptr || group.empty() || owner->GetSafeHwnd() == nullptr) return members;
  for (CColorButton* button : ControlsOf<CColorButton>(owner->GetSafeHwnd())) {
    if (button->GetGroup() == group && button->GetOwner() == owner) members.push_back(button);
  }
  return members;
}

}  // namespace

CColorButton::CColorButton(QWidget* parent, MDialog* owner, int id) : MButton(parent, owner, id) {}

void CColorButton::SetColor(uint32_t colorref) {
  color_ = colorref & 0xFFFFFFu;
  update();
  AccessibleNameChanged(this);
}

void CColorButton::SetCheck(bool checked) {
  if (checked) {
    for (CColorButton* other : GroupOf(GetOwner(), group_)) {
      if (other != this) other->MButton::SetCheck(false);
    }
  }
  MButton::SetCheck(checked);
}

void CColorButton::ClearGroup(MDialog* owner, const std::string& group) {
  for (CColorButton* button : GroupOf(owner, group)) button->MButton::SetCheck(false);
}

CColorButton* CColorButton::MarkedOf(MDialog* owner, const std::string& group) {
  for (CColorButton* button : GroupOf(owner, group)) {
    if (button->GetCheck()) return button;
  }
  return nullptr;
}

void CColorButton::OnClicked() {
  SetCheck(true);
  Notify(NotifyCode::kClick);
}

void CColorButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const ControlState state = State();
  const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  // The mark is a ring in the selection colour around a slightly smaller swatch.
  const double inset = (state.checked || state.hovered) ? kMarkWidth + 2 : 1;
  if (state.checked || state.hovered) {
    QColor ring =
        state.checked ? ColorFromArgb(Manager::m_select_color) : QColor(255, 255, 255, 120);
    painter.setPen(QPen(ring, kMarkWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(outer.adjusted(1, 1, -1, -1), 4, 4);
  }
  QColor fill = ColorFromColorRef(color_);
  if (!isEnabled()) fill.setAlpha(90);
  painter.setPen(QPen(QColor(0, 0, 0, 90), 1));
  painter.setBrush(fill);
  painter.drawRoundedRect(outer.adjusted(inset, inset, -inset, -inset), 3, 3);
}

}  // namespace corvane::DUI
