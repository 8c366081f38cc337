// The colour picker control.
#include "ui/dui/mpalette.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "ui/dui/accessibility.h"

namespace corvane::DUI {
namespace {

int Scale(int offset, int span, int max) {
  if (span <= 1) return 0;
  return std::clamp(offset * max / (span - 1), 0, max);
}

}  // namespace

MPalette::MPalette(QWidget* parent, MDialog* owner, int id) : MControl(parent, owner, id) {
  setCursor(Qt::CrossCursor);
  setFocusPolicy(Qt::StrongFocus);
}

void MPalette::TakeHsv() { color_ = ColorToColorRef(QColor::fromHsv(hue_, saturation_, value_)); }

void MPalette::SetSelectColor(uint32_t colorref) {
  const QColor color = ColorFromColorRef(colorref);
  // A grey has no hue: keep the one shown so the marker does not jump to red.
  if (color.hsvHue() >= 0) hue_ = color.hsvHue();
  saturation_ = color.hsvSaturation();
  value_ = color.value();
  color_ = colorref & 0xFFFFFFu;  // kept exactly: the marker position is coarser
  update();
  if (isVisible()) AccessibleValueChanged(this, static_cast<int>(GetSelectColor()));
}

void MPalette::ChooseColor(uint32_t colorref) {
  if (!isEnabled()) return;
  SetSelectColor(colorref);
  Notify(NotifyCode::kPaletteSelect, GetSelectColor());
  Picked();
}

void MPalette::Picked() { Notify(NotifyCode::kClick, GetSelectColor()); }

// Both parts keep a margin so that their markers are not cut off at the edges.
QRect MPalette::FieldRect() const {
  return QRect(kMarkerRoom, kMarkerRoom,
               std::max(1, width() - kBarWidth - kBarGap - 2 * kMarkerRoom),
               std::max(1, height() - 2 * kMarkerRoom));
}

QRect MPalette::BarRect() const {
  return QRect(width() - kBarWidth - kMarkerRoom / 2, kMarkerRoom, kBarWidth,
               std::max(1, height() - 2 * kMarkerRoom));
}

void MPalette::RenderField() {
  const QRect field = FieldRect();
  field_ = QImage(field.size(), QImage::Format_RGB32);
  for (int y = 0; y < field.height(); ++y) {
    const int saturation = kMaxLevel - Scale(y, field.height(), kMaxLevel);
    auto* line = reinterpret_cast<QRgb*>(field_.scanLine(y));
    for (int x = 0; x < field.width(); ++x) {
      line[x] = QColor::fromHsv(Scale(x, field.width(), kMaxHue), saturation, kMaxLevel).rgb();
    }
  }
}

void MPalette::resizeEvent(QResizeEvent* event) {
  RenderField();
  MControl::resizeEvent(event);
}

void MPalette::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect field = FieldRect();
  const QRect bar = BarRect();
  if (field_.size() != field.size()) RenderField();
  painter.drawImage(field.topLeft(), field_);
  // The field is drawn at full value; darken it as the value bar says.
  painter.fillRect(field, QColor(0, 0, 0, kMaxLevel - value_));
  QLinearGradient shade(bar.topLeft(), bar.bottomLeft());
  shade.setColorAt(0, QColor::fromHsv(hue_, saturation_, kMaxLevel));
  shade.setColorAt(1, Qt::black);
  painter.fillRect(bar, shade);

  painter.setRenderHint(QPainter::Antialiasing);
  const int fx = field.left() + hue_ * (field.width() - 1) / kMaxHue;
  const int fy = field.top() + (kMaxLevel - saturation_) * (field.height() - 1) / kMaxLevel;
  const int by = bar.top() + (kMaxLevel - value_) * (bar.height() - 1) / kMaxLevel;
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::black, 3));
  painter.drawEllipse(QPoint(fx, fy), 5, 5);
  painter.drawRect(bar.left() - 2, by - 2, bar.width() + 3, 4);
  painter.setPen(QPen(Qt::white, 1.5));
  painter.drawEllipse(QPoint(fx, fy), 5, 5);
  painter.drawRect(bar.left() - 2, by - 2, bar.width() + 3, 4);
  if (!isEnabled()) painter.fillRect(rect(), QColor(0, 0, 0, 120));
}

void MPalette::PickAt(Part part, const QPoint& point) {
  const uint32_t before = GetSelectColor();
  const int old_hue = hue_, old_saturation = saturation_, old_value = value_;
  if (part == Part::kField) {
    const QRect field = FieldRect();
    hue_ = Scale(point.x() - field.left(), field.width(), kMaxHue);
    saturation_ = kMaxLevel - Scale(point.y() - field.top(), field.height(), kMaxLevel);
  } else if (part == Part::kBar) {
    const QRect bar = BarRect();
    value_ = kMaxLevel - Scale(point.y() - bar.top(), bar.height(), kMaxLevel);
  }
  if (hue_ == old_hue && saturation_ == old_saturation && value_ == old_value) return;
  TakeHsv();
  update();
  AccessibleValueChanged(this, static_cast<int>(GetSelectColor()));
  if (GetSelectColor() != before) Notify(NotifyCode::kPaletteSelect, GetSelectColor());
}

void MPalette::mousePressEvent(QMouseEvent* event) {
  MControl::mousePressEvent(event);
  if (event->button() != Qt::LeftButton || !isEnabled()) return;
  const QPoint point = event->position().toPoint();
  dragging_ = point.x() >= BarRect().left() - kBarGap / 2 ? Part::kBar : Part::kField;
  PickAt(dragging_, point);
}

void MPalette::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ != Part::kNone && (event->buttons() & Qt::LeftButton)) {
    PickAt(dragging_, event->position().toPoint());
  }
  MControl::mouseMoveEvent(event);
}

void MPalette::mouseReleaseEvent(QMouseEvent* event) {
  const bool was_dragging = dragging_ != Part::kNone && event->button() == Qt::LeftButton;
  if (was_dragging) dragging_ = Part::kNone;
  MControl::mouseReleaseEvent(event);
  if (was_dragging) Picked();
}

void MPalette::keyPressEvent(QKeyEvent* event) {
  int hue = hue_, saturation = saturation_;
  switch (event->key()) {
    case Qt::Key_Left:
      hue = std::max(0, hue_ - kKeyStep);
      break;
    case Qt::Key_Right:
      hue = std::min(kMaxHue, hue_ + kKeyStep);
      break;
    case Qt::Key_Up:
      saturation = std::min(kMaxLevel, saturation_ + kKeyStep);
      break;
    case Qt::Key_Down:
      saturation = std::max(0, saturation_ - kKeyStep);
      break;
    default:
      MControl::keyPressEvent(event);
      return;
  }
  event->accept();
  if (!isEnabled() || (hue == hue_ && saturation == saturation_)) return;
  hue_ = hue;
  saturation_ = saturation;
  TakeHsv();
  update();
  AccessibleValueChanged(this, static_cast<int>(GetSelectColor()));
  Notify(NotifyCode::kPaletteSelect, GetSelectColor());
  Picked();
}

}  // namespace corvane::DUI
