// List rows, selection and editing a row's text in place.
#include "ui/dui/dlist_box.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include "ui/dui/accessibility.h"
#include "ui/dui/manager.h"

namespace corvane::DUI {
namespace {

constexpr int kFrameNormal = 0;
constexpr int kFrameSelected = 1;
constexpr int kEditorPadding = 6;

}  // namespace

DListBox::DListBox(QWidget* parent, MDialog* owner, int id)
    : MControlFont(parent, owner, id),
      field_(
          this,
          [this](int index, bool keep, const std::string& text) {
            OnEditFinished(index, keep, text);
          },
          [](QLineEdit& field) { field.setAlignment(Qt::AlignCenter); }) {
  SetAlignment(kAlignCenter);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::PointingHandCursor);
}

int DListBox::AddString(const std::string& text, int64_t data) {
  rows_.push_back(Row{text, data});
  update();
  AccessibleChildrenChanged(this);
  OnListChanged();
  return GetCount() - 1;
}

void DListBox::ResetContent() {
  FinishEdit(false);
  rows_.clear();
  current_ = -1;
  update();
  AccessibleChildrenChanged(this);
  OnListChanged();
}

std::string DListBox::GetItemText(int index) const {
  if (index < 0 || index >= GetCount()) return {};
  return rows_[index].text;
}

bool DListBox::DeleteItem(int index) {
  if (index < 0 || index >= GetCount()) return false;
  FinishEdit(false);
  rows_.erase(rows_.begin() + index);
  if (current_ == index) {
    current_ = -1;
  } else if (current_ > index) {
    --current_;
  }
  update();
  AccessibleChildrenChanged(this);
  OnListChanged();
  return true;
}

void DListBox::SetItemText(int index, const std::string& text) {
  if (index < 0 || index >= GetCount()) return;
  rows_[index].text = text;
  update();
  AccessibleChildrenChanged(this);
  OnListChanged();
}

int64_t DListBox::GetItemData(int index) const {
  if (index < 0 || index >= GetCount()) return -1;
  return rows_[index].data;
}

bool DListBox::SetCurSel(int index) {
  if (index < -1 || index >= GetCount()) return false;
  current_ = index;
  update();
  AccessibleChildrenChanged(this);
  OnListChanged();
  return true;
}

bool DListBox::SetCurData(int64_t data) {
  for (int i = 0; i < GetCount(); ++i) {
    if (rows_[i].data == data) return SetCurSel(i);
  }
  return false;
}

void DListBox::ChooseItem(int index) {
  if (!isEnabled() || index < 0 || index >= GetCount()) return;
  SetCurSel(index);
  Notify(kNotifyClick, index);
}

QRect DListBox::ItemRect(int index) const {
  if (index < 0 || index >= GetCount()) return {};
  const QRect row(0, index * (kRowHeight + kRowGap), width(), kRowHeight);
  return row.bottom() < height() ? row : QRect();
}

int DListBox::ItemAt(const QPoint& point) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (ItemRect(i).contains(point)) return i;
  }
  return -1;
}

bool DListBox::BeginEdit(int index) {
  if (!isEnabled() || ItemRect(index).isEmpty()) return false;
  FinishEdit(true);
  SetCurSel(index);
  field_.Begin(index, rows_[index].text, TitleFont(),
               ItemRect(index).adjusted(kEditorPadding, kEditorPadding, -kEditorPadding,
                                        -kEditorPadding));
  OnListChanged();
  return true;
}

bool DListBox::IsEditing() const { return field_.Editing(); }

void DListBox::FinishEdit(bool keep) { field_.Finish(keep); }

void DListBox::OnEditFinished(int index, bool keep, const std::string& text) {
  last_edit_ = text;
  OnListChanged();
  if (!keep || index >= GetCount()) return;
  if (!last_edit_.empty()) SetItemText(index, last_edit_);
  Notify(kNotifyEditFinished, index);
}

void DListBox::OnFocus(bool focused) {
  if (!focused) FinishEdit(true);
  MControlFont::OnFocus(focused);
}

void DListBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setFont(TitleFont());
  for (int i = 0; i < GetCount(); ++i) {
    const QRect row = ItemRect(i);
    if (row.isEmpty()) break;
    if (!image_.IsNull()) {
      image_.Draw(painter, i == current_ ? kFrameSelected : kFrameNormal, row);
    } else {
      QColor fill =
          i == current_ ? ColorFromArgb(Manager::m_select_color) : QColor(255, 255, 255, 18);
      painter.setPen(Qt::NoPen);
      painter.setBrush(fill);
      painter.drawRoundedRect(row, 4, 4);
    }
    if (i == field_.Row()) continue;
    QColor color = ColorFromArgb(text_color_);
    if (!isEnabled()) color.setAlpha(110);
    painter.setPen(color);
    painter.drawText(row.adjusted(kEditorPadding, 0, -kEditorPadding, 0), TitleFlags(),
                     QString::fromStdString(rows_[i].text));
  }
}

void DListBox::mouseReleaseEvent(QMouseEvent* event) {
  MControlFont::mouseReleaseEvent(event);
  const int index = ItemAt(event->position().toPoint());
  if (event->button() == Qt::RightButton) {
    BeginEdit(index);
  } else if (event->button() == Qt::LeftButton && index != field_.Row()) {
    ChooseItem(index);
  }
}

void DListBox::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
      SetCurSel(std::max(0, current_ - 1));
      break;
    case Qt::Key_Down:
      SetCurSel(std::min(GetCount() - 1, current_ + 1));
      break;
    case Qt::Key_F2:
      BeginEdit(current_);
      break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      ChooseItem(current_);
      break;
    default:
      MControlFont::keyPressEvent(event);
      return;
  }
  event->accept();
}

}  // namespace corvane::DUI
