// Progress bars.
#include "ui/dui/mprogress.h"

#include <QPainter>
#include <algorithm>

#include "ui/dui/accessibility.h"
#include "ui/dui/manager.h"

namespace corvane::DUI {
namespace {

constexpr int kBlockDivisor = 4;  // the running block is a quarter of the bar

}  // namespace

MProgress::MProgress(QWidget* parent, MDialog* owner, int id) : MControl(parent, owner, id) {}

void MProgress::SetRange(int min, int max) {
  if (max <= min) return;
  min_ = min;
  max_ = max;
  value_ = std::clamp(value_, min_, max_);
  update();
}

void MProgress::SetProgress(int value) {
  value_ = std::clamp(value, min_, max_);
  update();
  AccessibleValueChanged(this, value_);
}

void MProgress::SetRun(bool run, int passes) {
  running_ = run && passes != 0;
  passes_left_ = passes;
  step_ = 0;
  update();
}

void MProgress::OnMTimer() {
  if (!running_) return;
  if (++step_ >= kSweepSteps) {
    step_ = 0;
    if (passes_left_ > 0 && --passes_left_ == 0) running_ = false;
  }
  update();
}

void MProgress::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const qreal radius = track.height() / 2;
  if (!PaintImageFrame(painter, rect())) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 40));
    painter.drawRoundedRect(track, radius, radius);
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(ColorFromArgb(Manager::m_select_color));
  if (running_) {
    const qreal block = track.width() / kBlockDivisor;
    const qreal left = track.left() + (track.width() + block) * step_ / kSweepSteps - block;
    painter.setClipRect(track);
    painter.drawRoundedRect(QRectF(left, track.top(), block, track.height()), radius, radius);
    return;
  }
  const qreal filled = track.width() * (value_ - min_) / (max_ - min_);
  if (filled > 0) {
    painter.drawRoundedRect(QRectF(track.left(), track.top(), filled, track.height()), radius,
                            radius);
  }
}

}  // namespace corvane::DUI
