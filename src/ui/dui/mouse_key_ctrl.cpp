// Button list rows, selection and painting.
#include "ui/dui/mouse_key_ctrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "ui/dui/accessibility.h"
#include "ui/dui/arrow_keys.h"
#include "ui/dui/manager.h"

namespace corvane::DUI {
namespace {

constexpr int kFrameNormal = 0;
constexpr int kFrameSelected = 1;
constexpr uint32_t kDescColor = 0xFFB4BEC8u;

}  // namespace

MouseKeyCtrl::MouseKeyCtrl(QWidget* parent, MDialog* owner, int id)
    : MControlFont(parent, owner, id) {
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::PointingHandCursor);
}

int MouseKeyCtrl::AddItem(int button, const std::string& name, const std::string& desc) {
  rows_.push_back(Row{button, name, desc});
  update();
  AccessibleChildrenChanged(this);
  return GetCount() - 1;
}

void MouseKeyCtrl::ResetContent() {
  rows_.clear();
  current_ = -1;
  update();
  AccessibleChildrenChanged(this);
}

int MouseKeyCtrl::IndexOf(int button) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (rows_[i].button == button) return i;
  }
  return -1;
}

bool MouseKeyCtrl::SetItemKeyDesc(int button, const std::string& desc) {
  const int index = IndexOf(button);
  if (index < 0) return false;
  rows_[index].desc = desc;
  update();
  AccessibleChildrenChanged(this);
  return true;
}

bool MouseKeyCtrl::SetItemName(int button, const std::string& name) {
  const int index = IndexOf(button);
  if (index < 0) return false;
  rows_[index].name = name;
  update();
  AccessibleChildrenChanged(this);
  return true;
}

std::string MouseKeyCtrl::GetItemName(int index) const {
  return index >= 0 && index < GetCount() ? rows_[index].name : std::string();
}

std::string MouseKeyCtrl::GetItemKeyDesc(int index) const {
  return index >= 0 && index < GetCount() ? rows_[index].desc : std::string();
}

int MouseKeyCtrl::GetItemButton(int index) const {
  return index >= 0 && index < GetCount() ? rows_[index].button : -1;
}

bool MouseKeyCtrl::SetCurSel(int index) {
  if (index < -1 || index >= GetCount()) return false;
  current_ = index;
  update();
  AccessibleChildrenChanged(this);
  return true;
}

bool MouseKeyCtrl::SelectButton(int button) {
  const int index = IndexOf(button);
  return index >= 0 && SetCurSel(index);
}

void MouseKeyCtrl::ChooseItem(int index) {
  if (!isEnabled() || index < 0 || index >= GetCount()) return;
  SetCurSel(index);
  Notify(NotifyCode::kClick, rows_[index].button);
}

void MouseKeyCtrl::SetRowHeight(int height) {
  row_height_ = std::max(1, height);
  update();
}

QRect MouseKeyCtrl::ItemRect(int index) const {
  if (index < 0 || index >= GetCount()) return {};
  const QRect row(0, index * row_height_, width(), row_height_ - kRowGap);
  return row.bottom() < height() ? row : QRect();
}

int MouseKeyCtrl::ItemAt(const QPoint& point) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (ItemRect(i).contains(point)) return i;
  }
  return -1;
}

void MouseKeyCtrl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setFont(TitleFont());
  // The name column is as wide as the longest name, up to three fifths of the row.
  int widest = 0;
  for (const Row& row : rows_) {
    widest = std::max(widest, painter.fontMetrics().horizontalAdvance(
                                  QString::fromStdString(row.name)));
  }
  for (int i = 0; i < GetCount(); ++i) {
    const QRect row = ItemRect(i);
    if (row.isEmpty()) break;
    if (!image_.IsNull()) {
      image_.Draw(painter, i == current_ ? kFrameSelected : kFrameNormal, row, QMargins(6, 6, 6, 6));
    } else {
      painter.setPen(Qt::NoPen);
      painter.setBrush(i == current_ ? ColorFromArgb(Manager::m_select_color)
                                     : QColor(255, 255, 255, 18));
      painter.drawRoundedRect(row, 4, 4);
    }
    const QRect text = row.adjusted(kTextPadding, 0, -kTextPadding, 0);
    const int name_width = std::min(widest + 2, text.width() * 3 / 5);
    QColor name_color = ColorFromArgb(text_color_);
    QColor desc_color = i == current_ ? name_color : ColorFromArgb(kDescColor);
    if (!isEnabled()) {
      name_color.setAlpha(110);
      desc_color.setAlpha(110);
    }
    const QFontMetrics metrics = painter.fontMetrics();
    painter.setPen(name_color);
    const QRect name_area(text.left(), text.top(), name_width, text.height());
    painter.drawText(name_area, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(QString::fromStdString(rows_[i].name), Qt::ElideRight,
                                        name_area.width()));
    painter.setPen(desc_color);
    const QRect desc_area = text.adjusted(name_width + kTextPadding, 0, 0, 0);
    painter.drawText(desc_area, Qt::AlignRight | Qt::AlignVCenter,
                     metrics.elidedText(QString::fromStdString(rows_[i].desc), Qt::ElideRight,
                                        desc_area.width()));
  }
}

void MouseKeyCtrl::mouseReleaseEvent(QMouseEvent* event) {
  MControlFont::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) ChooseItem(ItemAt(event->position().toPoint()));
}

void MouseKeyCtrl::keyPressEvent(QKeyEvent* event) {
  if (!ChooseByArrow(*this, *event)) MControlFont::keyPressEvent(event);
}

}  // namespace corvane::DUI
