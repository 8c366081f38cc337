// Tab strip items, selection and page switching.
#include "ui/dui/mtab_ctrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include "ui/dui/accessibility.h"
#include "ui/dui/manager.h"

namespace corvane::DUI {
namespace {

constexpr int kFrameNormal = 0;
constexpr int kFrameHover = 1;
constexpr int kFrameSelected = 2;
constexpr int kMarkerWidth = 4;
constexpr int kFallbackHoverAlpha = 40;

}  // namespace

MTabCtrl::MTabCtrl(QWidget* parent, MDialog* owner, int id) : MControlFont(parent, owner, id) {
  setMouseTracking(true);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
}

int MTabCtrl::InsertItem(int item_id, const std::string& text, const std::string& icon,
                         MControl* page) {
  Item item;
  item.id = item_id;
  item.text = text;
  item.icon.Load(icon, 1);
  item.page = page;
  items_.push_back(std::move(item));
  if (page != nullptr) page->SetVisible(GetItemCount() - 1 == current_);
  update();
  return GetItemCount() - 1;
}

int MTabCtrl::GetItemID(int index) const {
  if (index < 0 || index >= GetItemCount()) return -1;
  return items_[index].id;
}

bool MTabCtrl::SetCurSel(int index) {
  if (!IsItemVisible(index)) return false;
  current_ = index;
  for (int i = 0; i < GetItemCount(); ++i) {
    if (items_[i].page != nullptr) items_[i].page->SetVisible(i == index);
  }
  update();
  AccessibleChildrenChanged(this);
  return true;
}

void MTabCtrl::SetItemText(int index, const std::string& text) {
  if (index < 0 || index >= GetItemCount()) return;
  items_[index].text = text;
  update();
  AccessibleChildrenChanged(this);
}

std::string MTabCtrl::GetItemText(int index) const {
  if (index < 0 || index >= GetItemCount()) return {};
  return items_[index].text;
}

std::string MTabCtrl::GetPageTitle(const MControl* page) const {
  for (const Item& item : items_) {
    if (page != nullptr && item.page == page) return item.text;
  }
  return {};
}

void MTabCtrl::ChooseItem(int index) {
  if (!isEnabled() || index < 0 || index >= GetItemCount() || index == current_) return;
  SetCurSel(index);
  Notify(NotifyCode::kValueChanged, index);
}

void MTabCtrl::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
    ChooseItem(current_ + (event->key() == Qt::Key_Up ? -1 : 1));
    event->accept();
    return;
  }
  MControlFont::keyPressEvent(event);
}

void MTabCtrl::SetItemVisible(int index, bool visible) {
  if (index < 0 || index >= GetItemCount() || items_[index].visible == visible) return;
  items_[index].visible = visible;
  if (!visible && items_[index].page != nullptr) items_[index].page->SetVisible(false);
  if (!visible && index == hovered_item_) hovered_item_ = -1;
  update();
}

bool MTabCtrl::IsItemVisible(int index) const {
  return index >= 0 && index < GetItemCount() && items_[index].visible;
}

void MTabCtrl::SetLeftRightPading(int left, int right) {
  pad_left_ = left;
  pad_right_ = right;
  update();
}

void MTabCtrl::SetTopBottomPading(int top, int bottom) {
  pad_top_ = top;
  pad_bottom_ = bottom;
  update();
}

void MTabCtrl::SetItemWidth(int min_width, int, int) {
  item_width_ = min_width;
  update();
}

void MTabCtrl::SetItemHeight(int min_height, int, int) {
  if (min_height > 0) item_height_ = min_height;
  update();
}

QRect MTabCtrl::ItemRect(int index) const {
  if (!IsItemVisible(index)) return {};
  int row = 0;
  for (int i = 0; i < index; ++i) row += items_[i].visible ? 1 : 0;
  const int item_width = item_width_ > 0 ? item_width_ : width() - pad_left_;
  return QRect(pad_left_, pad_top_ + row * item_height_, item_width, item_height_);
}

TextLayoutRecord MTabCtrl::ItemLayout(int index) const {
  if (index < 0 || index >= GetItemCount()) return {};
  return items_[index].layout;
}

bool MTabCtrl::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return MControlFont::event(event);
  // A cut item shows whole in its tooltip.
  auto* help = static_cast<QHelpEvent*>(event);
  const int index = ItemAt(help->pos());
  if (index >= 0 && items_[index].layout.mode == TextFitMode::kElided) {
    QToolTip::showText(help->globalPos(), QString::fromStdString(items_[index].text), this);
  } else if (toolTip().isEmpty()) {
    QToolTip::hideText();
  } else {
    QToolTip::showText(help->globalPos(), toolTip(), this);
  }
  return true;
}

int MTabCtrl::ItemAt(const QPoint& point) const {
  for (int i = 0; i < GetItemCount(); ++i) {
    if (ItemRect(i).contains(point)) return i;
  }
  return -1;
}

void MTabCtrl::PaintItem(QPainter& painter, int index) {
  const QRect area = ItemRect(index);
  const bool selected = index == current_;
  const bool hovered = index == hovered_item_;
  if (!image_.IsNull()) {
    int frame = selected ? kFrameSelected : (hovered ? kFrameHover : kFrameNormal);
    if (!isEnabled()) frame = image_.Frames() - 1;
    image_.Draw(painter, frame, area);
  } else if (selected || hovered) {
    QColor accent = ColorFromArgb(Manager::m_select_color);
    if (!selected) accent.setAlpha(kFallbackHoverAlpha);
    painter.fillRect(area, selected ? palette().color(QPalette::Highlight) : accent);
  }
  if (selected && image_.IsNull()) {
    painter.fillRect(QRect(area.left(), area.top(), kMarkerWidth, area.height()),
                     ColorFromArgb(Manager::m_select_color));
  }
  int text_left = area.left() + kIconLeft;
  Item& item = items_[index];
  if (!item.icon.IsNull()) {
    const QSize size = item.icon.FrameSize().boundedTo(area.size());
    const QRect icon_rect(text_left, area.top() + (area.height() - size.height()) / 2,
                          size.width(), size.height());
    item.icon.Draw(painter, 0, icon_rect);
    text_left = icon_rect.right() + 1 + kIconTextGap;
  }
  QColor color = ColorFromArgb(text_color_);
  if (!selected && !hovered) color.setAlpha(200);
  painter.setPen(color);
  const QRect text_area(text_left, area.top(), area.right() - text_left, area.height());
  const QString text = QString::fromStdString(item.text);
  const TextFit fit =
      FitText(text, TitleFont(), text_area.size(), HasRoomToWrap(TitleFont(), text_area.size()));
  const int flags = Qt::AlignLeft | Qt::AlignVCenter | (fit.wrap ? Qt::TextWordWrap : 0);
  painter.setFont(fit.font);
  painter.drawText(text_area, flags, fit.shown);
  item.layout = TextLayoutRecord::Of(fit, text, text_area, flags);
}

void MTabCtrl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < GetItemCount(); ++i) {
    if (items_[i].visible) PaintItem(painter, i);
  }
}

void MTabCtrl::mouseMoveEvent(QMouseEvent* event) {
  const int item = ItemAt(event->position().toPoint());
  if (item != hovered_item_) {
    hovered_item_ = item;
    update();
  }
  MControlFont::mouseMoveEvent(event);
}

void MTabCtrl::leaveEvent(QEvent* event) {
  hovered_item_ = -1;
  MControlFont::leaveEvent(event);
}

void MTabCtrl::mouseReleaseEvent(QMouseEvent* event) {
  MControlFont::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton || !isEnabled()) return;
  ChooseItem(ItemAt(event->position().toPoint()));
}

}  // namespace corvane::DUI
