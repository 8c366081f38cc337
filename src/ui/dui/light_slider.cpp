// Level sliders.
#include "ui/dui/light_slider.h"

#include <cstdlib>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "ui/dui/accessibility.h"
#include "ui/dui/manager.h"

namespace corvane::DUI {

LightSlider::LightSlider(QWidget* parent, MDialog* owner, int id) : MControl(parent, owner, id) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
}

int LightSlider::PositionOfShown(int value) const {
  int best = min_;
  for (int pos = min_; pos <= max_; ++pos) {
    if (std::abs(ShownValue(pos) - value) < std::abs(ShownValue(best) - value)) best = pos;
  }
  return best;
}

void LightSlider::SetRange(int min, int max) {
  if (max <= min) return;
  min_ = min;
  max_ = max;
  pos_ = std::clamp(pos_, min_, max_);
  update();
}

void LightSlider::SetPos(int pos) {
  pos_ = std::clamp(pos, min_, max_);
  update();
  AccessibleValueChanged(this, pos_);
}

void LightSlider::MoveToPos(int pos) {
  if (!isEnabled()) return;
  pos = std::clamp(pos, min_, max_);
  if (pos == pos_) return;
  SetPos(pos);
  Notify(NotifyCode::kValueChanged, pos_);
}

void LightSlider::ChoosePos(int pos) {
  if (!isEnabled()) return;
  MoveToPos(pos);
  Notify(NotifyCode::kClick, pos_);
}

void LightSlider::keyPressEvent(QKeyEvent* event) {
  // A page is a tenth of the range, at least one step.
  const int page = std::max(1, (max_ - min_) / 10);
  switch (event->key()) {
    case Qt::Key_Home:
      ChoosePos(min_);
      break;
    case Qt::Key_End:
      ChoosePos(max_);
      break;
    case Qt::Key_PageDown:
      ChoosePos(pos_ - page);
      break;
    case Qt::Key_PageUp:
      ChoosePos(pos_ + page);
      break;
    case Qt::Key_Left:
    case Qt::Key_Down:
      ChoosePos(pos_ - 1);
      break;
    case Qt::Key_Right:
    case Qt::Key_Up:
      ChoosePos(pos_ + 1);
      break;
    default:
      MControl::keyPressEvent(event);
      return;
  }
  event->accept();
}

QSize LightSlider::ThumbSize() const {
  return image_.IsNull() ? QSize(kFallbackThumb, kFallbackThumb) : image_.FrameSize();
}

int LightSlider::PositionAt(int x) const {
  const int half = ThumbSize().width() / 2;
  const int span = std::max(1, width() - 2 * half);
  const double ratio = std::clamp(static_cast<double>(x - half) / span, 0.0, 1.0);
  return min_ + static_cast<int>(ratio * (max_ - min_) + 0.5);
}

void LightSlider::MoveTo(int x) { MoveToPos(PositionAt(x)); }

void LightSlider::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QSize thumb = ThumbSize();
  const int half = thumb.width() / 2;
  const int span = std::max(1, width() - 2 * half);
  const int x = half + span * (pos_ - min_) / (max_ - min_);
  const QRectF groove(half, (height() - kGrooveHeight) / 2.0, span, kGrooveHeight);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 50));
  painter.drawRoundedRect(groove, 2, 2);
  QColor accent = ColorFromArgb(Manager::m_select_color);
  if (!isEnabled()) accent.setAlpha(90);
  painter.setBrush(accent);
  painter.drawRoundedRect(QRectF(half, groove.top(), x - half, kGrooveHeight), 2, 2);
  const QRect thumb_rect(x - half, (height() - thumb.height()) / 2, thumb.width(),
                         thumb.height());
  if (!PaintImageFrame(painter, thumb_rect)) {
    painter.setBrush(isEnabled() ? QColor(Qt::white) : QColor(160, 160, 160));
    painter.drawEllipse(thumb_rect);
  }
}

void LightSlider::mousePressEvent(QMouseEvent* event) {
  MControl::mousePressEvent(event);
  if (event->button() != Qt::LeftButton || !isEnabled()) return;
  dragging_ = true;
  MoveTo(event->position().toPoint().x());
}

void LightSlider::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ && (event->buttons() & Qt::LeftButton)) MoveTo(event->position().toPoint().x());
  MControl::mouseMoveEvent(event);
}

void LightSlider::mouseReleaseEvent(QMouseEvent* event) {
  const bool was_dragging = dragging_ && event->button() == Qt::LeftButton;
  if (was_dragging) dragging_ = false;
  MControl::mouseReleaseEvent(event);
  if (was_dragging && isEnabled()) Notify(NotifyCode::kClick, pos_);
}

}  // namespace corvane::DUI
