// Static pictures with their show modes; a missing panel image becomes a flat panel.
#include "ui/dui/mpicture.h"

#include <QPainter>

namespace corvane::DUI {
namespace {

constexpr int kFallbackRadius = 6;

}  // namespace

MPicture::MPicture(QWidget* parent, MDialog* owner, int id) : MControl(parent, owner, id) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void MPicture::SetShowMode(int mode, int margin) {
  mode_ = mode;
  margin_ = margin;
  update();
}

void MPicture::SetShowModeMID(int left, int top, int right, int bottom) {
  mid_ = QMargins(left, top, right, bottom);
  update();
}

void MPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (image_.IsNull()) {
    // Panels keep their shape without a skin; plain pictures simply stay empty.
    if (mode_ == kShowSliced || mode_ == kShowSlicedMid) {
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setPen(palette().color(QPalette::Mid));
      painter.setBrush(palette().color(QPalette::Window));
      painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kFallbackRadius,
                              kFallbackRadius);
    }
    return;
  }
  const QSize natural = image_.FrameSize();
  switch (mode_) {
    case kShowNatural:
      image_.Draw(painter, 0, QRect(QPoint(0, 0), natural));
      break;
    case kShowCentered: {
      QRect target(QPoint(0, 0), natural);
      target.moveCenter(rect().center());
      image_.Draw(painter, 0, target);
      break;
    }
    case kShowSliced:
      image_.Draw(painter, 0, rect(), QMargins(margin_, margin_, margin_, margin_));
      break;
    case kShowSlicedMid:
      image_.Draw(painter, 0, rect(), mid_);
      break;
    default:
      image_.Draw(painter, 0, rect());
      break;
  }
}

}  // namespace corvane::DUI
