// Event rows, selection, scrolling and the row menu of the macro page's event list.
#include "ui/dui/crecord_list.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "ui/dui/accessibility.h"
#include "ui/dui/manager.h"
#include "ui/dui/more_button.h"

namespace corvane::DUI {
namespace {

constexpr int kFrameNormal = 0;
constexpr int kFrameSelected = 1;
constexpr int kIconSize = 16;
constexpr int kTextPadding = 8;
constexpr int kMoreSpace = 36;  // room left for the "more" button at the row's end
constexpr int kWheelStep = 120;

}  // namespace

CRecordList::CRecordList(QWidget* parent, MDialog* owner, int id)
    : MControlFont(parent, owner, id), more_(new MoreButton(this, [this] { ShowMenu(); })) {
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::PointingHandCursor);
}

int CRecordList::AddString(const std::string& text, int type, int value, int timestamp) {
  return InsertString(-1, text, type, value, timestamp);
}

int CRecordList::InsertString(int position, const std::string& text, int type, int value,
                              int timestamp) {
  if (position < 0 || position > GetItemCount()) position = GetItemCount();
  items_.insert(items_.begin() + position, RecordItem{text, type, value, timestamp});
  if (current_ >= position) ++current_;
  ScrollTo(position);
  Changed();
  return position;
}

void CRecordList::SetRecordItems(std::vector<RecordItem> items) {
  if (items == items_) return;
  const bool grew = items.size() > items_.size();
  items_ = std::move(items);
  if (current_ >= GetItemCount()) current_ = -1;
  first_ = std::clamp(first_, 0, std::max(0, GetItemCount() - VisibleRows()));
  // New rows (recording, inserting) come into view; otherwise the selection stays in view.
  if (grew && current_ < 0) ScrollTo(GetItemCount() - 1);
  Changed();
}

RecordItem CRecordList::GetRecordInfo(int position) const {
  if (position < 0 || position >= GetItemCount()) return {};
  return items_[position];
}

int CRecordList::GetEventCount() const {
  return static_cast<int>(std::count_if(items_.begin(), items_.end(),
                                        [](const RecordItem& i) { return i.type != kDelayType; }));
}

bool CRecordList::SetSelectEvent(int position) {
  if (position < -1 || position >= GetItemCount()) return false;
  current_ = position;
  ScrollTo(position);
  Changed();
  return true;
}

bool CRecordList::DeleteItem(int position) {
  if (position < 0 || position >= GetItemCount()) return false;
  items_.erase(items_.begin() + position);
  if (current_ == position) current_ = -1;
  if (current_ > position) --current_;
  first_ = std::clamp(first_, 0, std::max(0, GetItemCount() - VisibleRows()));
  Changed();
  return true;
}

void CRecordList::DeleteAllItems() {
  items_.clear();
  current_ = -1;
  first_ = 0;
  Changed();
}

void CRecordList::ChooseItem(int position) {
  if (!isEnabled() || !SetSelectEvent(position) || position < 0) return;
  Notify(NotifyCode::kClick, position);
}

void CRecordList::ShowMenu() {
  if (isEnabled()) Notify(NotifyCode::kShowMenu, current_);
}

int CRecordList::VisibleRows() const { return std::max(1, height() / (kRowHeight + kRowGap)); }

void CRecordList::ScrollTo(int position) {
  if (position < 0) return;
  if (position < first_) first_ = position;
  if (position >= first_ + VisibleRows()) first_ = position - VisibleRows() + 1;
}

void CRecordList::Changed() {
  more_->PlaceOnRow(ItemRect(current_));
  update();
  AccessibleChildrenChanged(this);
}

QRect CRecordList::ItemRect(int position) const {
  if (position < first_ || position >= GetItemCount()) return {};
  const QRect row(0, (position - first_) * (kRowHeight + kRowGap), width(), kRowHeight);
  return row.bottom() < height() ? row : QRect();
}

void CRecordList::SetIconImage(const std::string& file, int frames) {
  icons_.Load(file, frames);
  update();
}

void CRecordList::SetItemImage(const std::string& file, int frames) {
  row_image_.Load(file, frames);
  update();
}

void CRecordList::SetMoreImage(const std::string& file, int frames) {
  more_->SetImage(file, frames);
}

void CRecordList::SetMoreTooltip(const std::string& text) { more_->SetTooltip(text); }

void CRecordList::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setFont(TitleFont());
  QColor color = ColorFromArgb(text_color_);
  if (!isEnabled()) color.setAlpha(110);
  for (int i = first_; i < GetItemCount(); ++i) {
    const QRect row = ItemRect(i);
    if (row.isEmpty()) break;
    if (!row_image_.IsNull()) {
      row_image_.Draw(painter, i == current_ ? kFrameSelected : kFrameNormal, row);
    } else {
      painter.setPen(Qt::NoPen);
      painter.setBrush(i == current_ ? ColorFromArgb(Manager::m_select_color)
                                     : QColor(255, 255, 255, 14));
      painter.drawRoundedRect(row, 3, 3);
    }
    painter.setPen(color);
    const QRect number(row.left(), row.top(), kNumberWidth, row.height());
    painter.drawText(number, Qt::AlignCenter, QString::number(i + 1));
    const QRect icon(number.right() + kTextPadding, row.center().y() - kIconSize / 2 + 1,
                     kIconSize, kIconSize);
    if (!icons_.IsNull() && items_[i].type >= 1) icons_.Draw(painter, items_[i].type - 1, icon);
    const QRect text(icon.right() + kTextPadding, row.top(),
                     row.width() - icon.right() - kTextPadding - kMoreSpace, row.height());
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(QString::fromStdString(items_[i].text),
                                                      Qt::ElideRight, text.width()));
  }
}

void CRecordList::mouseReleaseEvent(QMouseEvent* event) {
  MControlFont::mouseReleaseEvent(event);
  int position = -1;
  for (int i = first_; i < GetItemCount() && position < 0; ++i) {
    if (ItemRect(i).contains(event->position().toPoint())) position = i;
  }
  if (event->button() == Qt::LeftButton) {
    ChooseItem(position);
  } else if (event->button() == Qt::RightButton && position >= 0) {
    SetSelectEvent(position);
    ShowMenu();
  }
}

void CRecordList::wheelEvent(QWheelEvent* event) {
  const int steps = -event->angleDelta().y() / kWheelStep;
  first_ = std::clamp(first_ + steps, 0, std::max(0, GetItemCount() - VisibleRows()));
  more_->PlaceOnRow(ItemRect(current_));
  update();
  event->accept();
}

void CRecordList::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
      ChooseItem(std::max(0, current_ - 1));
      break;
    case Qt::Key_Down:
      ChooseItem(std::min(GetItemCount() - 1, current_ + 1));
      break;
    case Qt::Key_PageUp:
      ChooseItem(std::max(0, current_ - VisibleRows()));
      break;
    case Qt::Key_PageDown:
      ChooseItem(std::min(GetItemCount() - 1, current_ + VisibleRows()));
      break;
    case Qt::Key_Home:
      ChooseItem(0);
      break;
    case Qt::Key_End:
      ChooseItem(GetItemCount() - 1);
      break;
    case Qt::Key_Delete:
      if (isEnabled() && current_ >= 0) Notify(NotifyCode::kDeleteItem, current_);
      break;
    case Qt::Key_Menu:
      ShowMenu();
      break;
    default:
      MControlFont::keyPressEvent(event);
      return;
  }
  event->accept();
}

void CRecordList::resizeEvent(QResizeEvent* event) {
  MControlFont::resizeEvent(event);
  ScrollTo(current_);
  more_->PlaceOnRow(ItemRect(current_));
}

}  // namespace corvane::DUI
