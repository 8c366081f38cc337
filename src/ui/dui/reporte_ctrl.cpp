// Report-rate picker.
#include "ui/dui/reporte_ctrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "ui/dui/accessibility.h"
#include "ui/dui/manager.h"

namespace corvane::DUI {
namespace {

constexpr int kMarkHeight = 4;

}  // namespace

ReporteCtrl::ReporteCtrl(QWidget* parent, MDialog* owner, int id)
    : MControlFont(parent, owner, id) {
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::PointingHandCursor);
  SetAlignment(kAlignCenter);
}

void ReporteCtrl::DeleteAllItems() {
  items_.clear();
  current_ = -1;
  update();
  AccessibleChildrenChanged(this);
}

int ReporteCtrl::AddItem(const std::string& text, int key, uint32_t colour) {
  items_.push_back({text, key, colour & 0xFFFFFFu});
  update();
  AccessibleChildrenChanged(this);
  return GetCount() - 1;
}

void ReporteCtrl::SetSelectItemValue(int key) {
  current_ = -1;
  for (int i = 0; i < GetCount(); ++i) {
    if (items_[i].key == key) {
      current_ = i;
      break;
    }
  }
  update();
  AccessibleChildrenChanged(this);
}

int ReporteCtrl::GetItemKeyValue(int index) const {
  return index >= 0 && index < GetCount() ? items_[index].key : -1;
}

std::string ReporteCtrl::GetItemText(int index) const {
  return index >= 0 && index < GetCount() ? items_[index].text : std::string();
}

void ReporteCtrl::ChooseItem(int index) {
  if (!isEnabled() || index < 0 || index >= GetCount()) return;
  current_ = index;
  update();
  AccessibleChildrenChanged(this);
  Notify(NotifyCode::kClick, index);
}

QRect ReporteCtrl::ItemRect(int index) const {
  if (index < 0 || index >= GetCount()) return {};
  const int count = GetCount();
  const int each = (width() - kGap * (count - 1)) / count;
  return QRect(index * (each + kGap), 0, each, height());
}

void ReporteCtrl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setFont(TitleFont());
  const QColor accent = ColorFromArgb(Manager::m_select_color);
  for (int i = 0; i < GetCount(); ++i) {
    const QRect cell = ItemRect(i);
    painter.setPen(i == current_ ? QPen(accent, 2) : Qt::NoPen);
    painter.setBrush(i == current_ ? QColor(255, 255, 255, 36) : QColor(255, 255, 255, 14));
    painter.drawRoundedRect(cell.adjusted(1, 1, -1, -1), 4, 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ColorFromColorRef(items_[i].colour));
    painter.drawRect(
        QRect(cell.left() + 8, cell.bottom() - kMarkHeight - 5, cell.width() - 16, kMarkHeight));
    QColor color = ColorFromArgb(text_color_);
    if (!isEnabled()) color.setAlpha(110);
    painter.setPen(color);
    painter.drawText(cell.adjusted(0, 0, 0, -kMarkHeight - 4), Qt::AlignCenter,
                     QString::fromStdString(items_[i].text));
  }
}

void ReporteCtrl::mouseReleaseEvent(QMouseEvent* event) {
  MControlFont::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton) return;
  for (int i = 0; i < GetCount(); ++i) {
    if (ItemRect(i).contains(event->position().toPoint())) ChooseItem(i);
  }
}

void ReporteCtrl::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Left && current_ > 0) {
    ChooseItem(current_ - 1);
  } else if (event->key() == Qt::Key_Right && current_ + 1 < GetCount()) {
    ChooseItem(current_ + 1);
  } else {
    MControlFont::keyPressEvent(event);
    return;
  }
  event->accept();
}

}  // namespace corvane::DUI
