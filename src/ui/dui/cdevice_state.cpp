// Connection-state plate.
#include "ui/dui/cdevice_state.h"

#include <QPainter>

namespace corvane::DUI {
namespace {

constexpr int kFallbackRadius = 6;

}  // namespace

CDeviceState::CDeviceState(QWidget* parent, MDialog* owner, int id)
    : MControlFont(parent, owner, id) {
  SetAlignment(kAlignCenter);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CDeviceState::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!PaintImageFrame(painter, rect())) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(QPalette::Mid));
    painter.setBrush(palette().color(QPalette::Button));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kFallbackRadius,
                            kFallbackRadius);
  }
  DrawTitle(painter, rect());
}

}  // namespace corvane::DUI
