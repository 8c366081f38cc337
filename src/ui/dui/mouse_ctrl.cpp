// Mouse picture, hot spots and the drawn outline used when the skin has no picture.
#include "ui/dui/mouse_ctrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "ui/dui/accessibility.h"
#include "ui/dui/arrow_keys.h"
#include "ui/dui/manager.h"

namespace corvane::DUI {
namespace {

constexpr uint32_t kOutlineColor = 0xFF8A96A3u;
constexpr uint32_t kLineColor = 0xFF5C6670u;
constexpr double kDotRadius = 4.5;

}  // namespace

MouseCtrl::MouseCtrl(QWidget* parent, MDialog* owner, int id) : MControlFont(parent, owner, id) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
}

void MouseCtrl::AddButton(int button, const std::string& name, int x1, int x2, int y,
                          int direction) {
  spots_.push_back(Spot{button, name, std::min(x1, x2), std::max(x1, x2), y, direction});
  update();
  AccessibleChildrenChanged(this);
}

void MouseCtrl::ResetContent() {
  spots_.clear();
  current_ = -1;
  update();
  AccessibleChildrenChanged(this);
}

std::string MouseCtrl::GetItemName(int index) const {
  return index >= 0 && index < GetCount() ? spots_[index].name : std::string();
}

bool MouseCtrl::SetButtonName(int button, const std::string& name) {
  for (Spot& spot : spots_) {
    if (spot.button != button) continue;
    spot.name = name;
    update();
    AccessibleChildrenChanged(this);
    return true;
  }
  return false;
}

bool MouseCtrl::SetPicture(const std::string& file) {
  const bool loaded = !file.empty() && picture_.Load(file, 1);
  if (!loaded) picture_.Clear();
  update();
  return loaded;
}

bool MouseCtrl::SelectButton(int button) {
  for (int i = 0; i < GetCount(); ++i) {
    if (spots_[i].button != button) continue;
    current_ = i;
    update();
    AccessibleChildrenChanged(this);
    return true;
  }
  return false;
}

int MouseCtrl::GetSelectButton() const {
  return current_ >= 0 && current_ < GetCount() ? spots_[current_].button : -1;
}

void MouseCtrl::ChooseItem(int index) {
  if (!isEnabled() || index < 0 || index >= GetCount()) return;
  current_ = index;
  update();
  AccessibleChildrenChanged(this);
  Notify(NotifyCode::kClick, spots_[index].button);
}

double MouseCtrl::Scale() const {
  return std::min(width() / static_cast<double>(kDesignWidth),
                  height() / static_cast<double>(kDesignHeight));
}

QPointF MouseCtrl::Map(double x, double y) const {
  const double scale = Scale();
  const double left = (width() - kDesignWidth * scale) / 2;
  const double top = (height() - kDesignHeight * scale) / 2;
  return {left + x * scale, top + y * scale};
}

QRect MouseCtrl::ItemRect(int index) const {
  if (index < 0 || index >= GetCount()) return {};
  const Spot& spot = spots_[index];
  const QPointF a = Map(spot.x1 - kDotRadius, spot.y - kHotSpotHalfHeight);
  const QPointF b = Map(spot.x2 + kDotRadius, spot.y + kHotSpotHalfHeight / 2.0);
  return QRectF(a, b).toAlignedRect();
}

int MouseCtrl::ItemAt(const QPoint& point) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (ItemRect(i).contains(point)) return i;
  }
  return -1;
}

void MouseCtrl::PaintOutline(QPainter& painter) const {
  // A top view: body, the split between the two main buttons, the wheel and the
  // DPI button, sized to the label lines of the shipped definitions.
  const double s = Scale();
  QPainterPath body;
  body.moveTo(Map(200, 40));
  body.cubicTo(Map(262, 40), Map(268, 110), Map(264, 180));
  body.cubicTo(Map(260, 262), Map(236, 292), Map(200, 292));
  body.cubicTo(Map(164, 292), Map(140, 262), Map(136, 180));
  body.cubicTo(Map(132, 110), Map(138, 40), Map(200, 40));
  painter.setPen(QPen(ColorFromArgb(kOutlineColor), std::max(1.0, 2 * s)));
  painter.setBrush(QColor(255, 255, 255, 14));
  painter.drawPath(body);
  painter.drawLine(Map(200, 40), Map(200, 118));
  painter.drawLine(Map(140, 128), Map(260, 128));
  painter.setBrush(QColor(255, 255, 255, 30));
  painter.drawRoundedRect(QRectF(Map(193, 124), Map(207, 168)), 6 * s, 6 * s);
  painter.drawRoundedRect(QRectF(Map(194, 196), Map(206, 216)), 3 * s, 3 * s);
  // Side buttons on the left flank.
  painter.drawRoundedRect(QRectF(Map(132, 182), Map(142, 202)), 3 * s, 3 * s);
  painter.drawRoundedRect(QRectF(Map(132, 222), Map(142, 242)), 3 * s, 3 * s);
}

void MouseCtrl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  if (picture_.IsNull()) {
    PaintOutline(painter);
  } else {
    const QRectF area(Map(0, 0), Map(kDesignWidth, kDesignHeight));
    const QSizeF natural = picture_.FrameSize();
    QSizeF fitted = natural;
    fitted.scale(area.size(), Qt::KeepAspectRatio);
    const QRectF target(area.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);
    painter.drawPixmap(target.toRect(), picture_.Frame(0));
  }
  painter.setFont(TitleFont());
  const QFontMetrics metrics = painter.fontMetrics();
  const QColor accent = ColorFromArgb(Manager::m_select_color);
  for (int i = 0; i < GetCount(); ++i) {
    const Spot& spot = spots_[i];
    const bool selected = i == current_;
    const QColor color = selected ? accent : ColorFromArgb(kLineColor);
    painter.setPen(QPen(color, selected ? 2 : 1));
    painter.drawLine(Map(spot.x1, spot.y), Map(spot.x2, spot.y));
    const QPointF dot = Map(spot.direction == 0 ? spot.x2 : spot.x1, spot.y);
    if (!image_.IsNull()) {
      // The skin's marker: frame 0 normal, frame 1 selected.
      const double r = 2 * kDotRadius * Scale();
      image_.Draw(painter, selected && image_.Frames() > 1 ? 1 : 0,
                  QRectF(dot - QPointF(r, r), QSizeF(2 * r, 2 * r)).toRect());
    } else {
      painter.setBrush(color);
      painter.drawEllipse(dot, kDotRadius * Scale(), kDotRadius * Scale());
    }
    painter.setPen(selected ? accent : ColorFromArgb(text_color_));
    const QPointF start = Map(spot.x1, spot.y - kHotSpotHalfHeight);
    const QPointF end = Map(spot.x2, spot.y - 2);
    const QRect label = QRectF(start, end).toAlignedRect();
    const int flags = (spot.direction == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignBottom;
    painter.drawText(label.adjusted(0, -metrics.height(), 0, 0), flags,
                     metrics.elidedText(QString::fromStdString(spot.name), Qt::ElideRight,
                                        label.width()));
  }
}

void MouseCtrl::mouseReleaseEvent(QMouseEvent* event) {
  MControlFont::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) ChooseItem(ItemAt(event->position().toPoint()));
}

void MouseCtrl::keyPressEvent(QKeyEvent* event) {
  if (!ChooseByArrow(*this, *event)) MControlFont::keyPressEvent(event);
}

}  // namespace corvane::DUI
