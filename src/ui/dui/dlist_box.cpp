// List rows, selection, scrolling and editing a row's text in place.
#include "ui/dui/dlist_box.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "ui/dui/accessibility.h"
#include "ui/dui/manager.h"

namespace corvane::DUI {
namespace {

constexpr int kFrameNormal = 0;
constexpr int kFrameSelected = 1;
constexpr int kEditorPadding = 6;
constexpr int kWheelStep = 120;  // one notch of a common wheel: one row
constexpr const char* kScrollBarStyle =
    "QScrollBar:vertical { background: rgba(255,255,255,18); width: 10px; margin: 0; "
    "border-radius: 5px; }"
    "QScrollBar::handle:vertical { background: rgba(255,255,255,90); min-height: 24px; "
    "border-radius: 5px; }"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }";

}  // namespace

DListBox::DListBox(QWidget* parent, MDialog* owner, int id)
    : MControlFont(parent, owner, id),
      field_(
          this,
          [this](int index, bool keep, const std::string& text) {
            OnEditFinished(index, keep, text);
          },
          [](QLineEdit& field) { field.setAlignment(Qt::AlignCenter); }),
      bar_(new QScrollBar(Qt::Vertical, this)) {
  SetAlignment(kAlignCenter);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::PointingHandCursor);
  // The list keeps the keyboard; the bar is for the pointer.
  bar_->setFocusPolicy(Qt::NoFocus);
  bar_->setCursor(Qt::ArrowCursor);
  bar_->setStyleSheet(kScrollBarStyle);
  bar_->hide();
  QObject::connect(bar_, &QScrollBar::valueChanged, this, [this](int value) {
    if (value == first_) return;
    FinishEdit(true);
    first_ = value;
    update();
    AccessibleChildrenChanged(this);
    OnListChanged();
  });
}

int DListBox::AddString(const std::string& text, int64_t data) {
  rows_.push_back(Row{text, data});
  UpdateScrollBar();
  update();
  AccessibleChildrenChanged(this);
  OnListChanged();
  return GetCount() - 1;
}

void DListBox::ResetContent() {
  FinishEdit(false);
  rows_.clear();
  current_ = -1;
  UpdateScrollBar();
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
  UpdateScrollBar();
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
  EnsureVisible(index);
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
  Notify(NotifyCode::kClick, index);
}

QRect DListBox::ItemRect(int index) const {
  if (index < first_ || index >= GetCount()) return {};
  const int row_width = width() - (HasScrollBar() ? kScrollBarWidth + kRowGap : 0);
  const QRect row(0, (index - first_) * (kRowHeight + kRowGap), row_width, kRowHeight);
  return row.bottom() < height() ? row : QRect();
}

int DListBox::VisibleRows() const {
  return std::max(1, (height() + kRowGap) / (kRowHeight + kRowGap));
}

bool DListBox::HasScrollBar() const { return GetCount() > VisibleRows(); }

void DListBox::SetTopIndex(int index) {
  bar_->setValue(std::clamp(index, 0, std::max(0, GetCount() - VisibleRows())));
}

void DListBox::EnsureVisible(int index) {
  if (index < 0 || index >= GetCount()) return;
  if (index < first_) {
    SetTopIndex(index);
  } else if (index >= first_ + VisibleRows()) {
    SetTopIndex(index - VisibleRows() + 1);
  }
}

void DListBox::UpdateScrollBar() {
  const int last_top = std::max(0, GetCount() - VisibleRows());
  bar_->setRange(0, last_top);
  bar_->setPageStep(VisibleRows());
  bar_->setSingleStep(1);
  bar_->setGeometry(width() - kScrollBarWidth, 0, kScrollBarWidth, height());
  bar_->setVisible(HasScrollBar());
  // The range change may have moved the value (and the rows with it) already.
  if (first_ > last_top) first_ = last_top;
  bar_->setValue(first_);
  // Name it after its list, as a reader announces a scroll bar with what it scrolls.
  bar_->setAccessibleName(accessibleName().isEmpty() ? toolTip() : accessibleName());
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
  Notify(NotifyCode::kEditFinished, index);
}

void DListBox::OnFocus(bool focused) {
  if (!focused) FinishEdit(true);
  MControlFont::OnFocus(focused);
}

void DListBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setFont(TitleFont());
  for (int i = first_; i < GetCount(); ++i) {
    const QRect row = ItemRect(i);
    if (row.isEmpty()) break;  // below the area
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

void DListBox::MoveSelection(int index) {
  if (GetCount() == 0) return;
  const int row = std::clamp(index, 0, GetCount() - 1);
  if (choose_on_move_ && row != current_) {
    ChooseItem(row);
  } else {
    SetCurSel(row);
  }
}

void DListBox::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
      MoveSelection(current_ - 1);
      break;
    case Qt::Key_Down:
      MoveSelection(current_ + 1);
      break;
    case Qt::Key_PageUp:
      MoveSelection(current_ - VisibleRows());
      break;
    case Qt::Key_PageDown:
      MoveSelection(current_ + VisibleRows());
      break;
    case Qt::Key_Home:
      MoveSelection(0);
      break;
    case Qt::Key_End:
      MoveSelection(GetCount() - 1);
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

void DListBox::wheelEvent(QWheelEvent* event) {
  if (!HasScrollBar()) {
    event->ignore();
    return;
  }
  // Fine-grained wheels (touchpads) send small steps: they add up to whole rows.
  wheel_rest_ -= event->angleDelta().y();
  const int rows = wheel_rest_ / kWheelStep;
  wheel_rest_ -= rows * kWheelStep;
  if (rows != 0) SetTopIndex(first_ + rows);
  event->accept();
}

void DListBox::resizeEvent(QResizeEvent* event) {
  MControlFont::resizeEvent(event);
  UpdateScrollBar();
  EnsureVisible(current_);
}

}  // namespace corvane::DUI
