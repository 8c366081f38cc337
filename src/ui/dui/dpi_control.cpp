// DPI stage list.
#include "ui/dui/dpi_control.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "ui/dui/accessibility.h"
#include "ui/dui/manager.h"

namespace corvane::DUI {
namespace {

constexpr int kPadding = 10;
constexpr int kMaxDigits = 6;

}  // namespace

DPIControl::DPIControl(QWidget* parent, MDialog* owner, int id)
    : MControlFont(parent, owner, id),
      field_(
          this,
          [this](int index, bool keep, const std::string& text) {
            OnEditFinished(index, keep, text);
          },
          [](QLineEdit& field) {
            field.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            field.setMaxLength(kMaxDigits);
          }) {
  setFocusPolicy(Qt::StrongFocus);
  SetFontWidth(16);
}

void DPIControl::ClearList() {
  FinishEdit(false);
  rows_.clear();
  current_ = -1;
  update();
  AccessibleChildrenChanged(this);
}

int DPIControl::AddItem(int value, uint32_t colour) {
  rows_.push_back({value, colour & 0xFFFFFFu});
  update();
  AccessibleChildrenChanged(this);
  return GetCount() - 1;
}

void DPIControl::SetSelectItem(int index) {
  current_ = index >= 0 && index < GetCount() ? index : -1;
  update();
  AccessibleChildrenChanged(this);
}

int DPIControl::GetDPIValue(int index) const {
  return index >= 0 && index < GetCount() ? rows_[index].value : 0;
}

void DPIControl::SetDPIValue(int index, int value) {
  if (index < 0 || index >= GetCount()) return;
  rows_[index].value = value;
  update();
  AccessibleChildrenChanged(this);
}

uint32_t DPIControl::GetDPIColorValue(int index) const {
  return index >= 0 && index < GetCount() ? rows_[index].colour : 0;
}

void DPIControl::SetDPIColorValue(int index, uint32_t colour) {
  if (index < 0 || index >= GetCount()) return;
  rows_[index].colour = colour & 0xFFFFFFu;
  update();
}

std::string DPIControl::ItemText(int index) const {
  return index >= 0 && index < GetCount() ? std::to_string(rows_[index].value) : std::string();
}

QRect DPIControl::ItemRect(int index) const {
  if (index < 0 || index >= GetCount()) return {};
  const QRect row(0, index * (kRowHeight + kRowGap), width(), kRowHeight);
  return row.bottom() < height() ? row : QRect();
}

QRect DPIControl::SwatchRect(int index) const {
  const QRect row = ItemRect(index);
  if (row.isEmpty()) return {};
  return QRect(row.right() - kPadding - kSwatchSize, row.top() + (kRowHeight - kSwatchSize) / 2,
               kSwatchSize, kSwatchSize);
}

int DPIControl::RowAt(const QPoint& point) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (ItemRect(i).contains(point)) return i;
  }
  return -1;
}

void DPIControl::ChooseItem(int index) {
  if (!isEnabled() || index < 0 || index >= GetCount()) return;
  SetSelectItem(index);
  Notify(NotifyCode::kClick, index);
}

void DPIControl::ClickSwatch(int index) {
  if (!isEnabled() || index < 0 || index >= GetCount()) return;
  colour_index_ = index;
  Notify(NotifyCode::kSwatchClick, index);
}

bool DPIControl::BeginEdit(int index) {
  if (!isEnabled() || ItemRect(index).isEmpty()) return false;
  const QRect row = ItemRect(index);
  field_.Begin(index, ItemText(index), TitleFont(),
               QRect(row.left() + kPadding, row.top() + 4,
                     row.width() - 3 * kPadding - kSwatchSize, row.height() - 8));
  return true;
}

bool DPIControl::IsEditing() const { return field_.Editing(); }

void DPIControl::FinishEdit(bool keep) { field_.Finish(keep); }

void DPIControl::OnEditFinished(int index, bool keep, const std::string& text) {
  edit_text_ = text;
  update();
  if (keep && index < GetCount()) Notify(NotifyCode::kEditFinished, index);
}

void DPIControl::OnFocus(bool focused) {
  if (!focused) FinishEdit(true);
  MControlFont::OnFocus(focused);
}

void DPIControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setFont(TitleFont());
  const QColor accent = ColorFromArgb(Manager::m_select_color);
  for (int i = 0; i < GetCount(); ++i) {
    const QRect row = ItemRect(i);
    if (row.isEmpty()) break;
    painter.setPen(i == current_ ? QPen(accent, 2) : Qt::NoPen);
    painter.setBrush(i == current_ ? QColor(255, 255, 255, 36) : QColor(255, 255, 255, 14));
    painter.drawRoundedRect(row.adjusted(1, 1, -1, -1), 4, 4);
    const QRect swatch = SwatchRect(i);
    painter.setPen(QPen(QColor(255, 255, 255, 120), 1));
    painter.setBrush(ColorFromColorRef(rows_[i].colour));
    painter.drawRoundedRect(swatch, 3, 3);
    if (i == field_.Row()) continue;
    QColor color = ColorFromArgb(text_color_);
    if (!isEnabled()) color.setAlpha(110);
    painter.setPen(color);
    painter.drawText(row.adjusted(kPadding, 0, -2 * kPadding - kSwatchSize, 0),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(ItemText(i)));
  }
}

void DPIControl::mouseReleaseEvent(QMouseEvent* event) {
  MControlFont::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton) return;
  const QPoint point = event->position().toPoint();
  const int index = RowAt(point);
  if (index < 0 || index == field_.Row()) return;
  if (SwatchRect(index).contains(point)) {
    ClickSwatch(index);
  } else {
    ChooseItem(index);
  }
}

void DPIControl::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  const int index = RowAt(point);
  if (index >= 0 && !SwatchRect(index).contains(point)) BeginEdit(index);
}

void DPIControl::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
      if (current_ > 0) ChooseItem(current_ - 1);
      break;
    case Qt::Key_Down:
      if (current_ + 1 < GetCount()) ChooseItem(current_ + 1);
      break;
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      BeginEdit(current_);
      break;
    case Qt::Key_C:
      ClickSwatch(current_);
      break;
    default:
      MControlFont::keyPressEvent(event);
      return;
  }
  event->accept();
}

}  // namespace corvane::DUI
