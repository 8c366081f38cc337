// DPI slider.
#include "ui/dui/dpi_slider.h"

#include <QPainter>

namespace corvane::DUI {

DPISlider::DPISlider(QWidget* parent, MDialog* owner, int id) : LightSlider(parent, owner, id) {
  SetRange(1, 2);
}

void DPISlider::SetDPIDesc(const std::string& min_text, const std::string& max_text) {
  min_text_ = min_text;
  max_text_ = max_text;
  update();
}

void DPISlider::paintEvent(QPaintEvent* event) {
  // The groove and thumb take the upper part, the end texts the lower.
  LightSlider::paintEvent(event);
  QPainter painter(this);
  QFont font = painter.font();
  font.setPixelSize(12);
  painter.setFont(font);
  painter.setPen(QColor(200, 200, 200));
  const QRect band(0, height() - kTextHeight, width(), kTextHeight);
  painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(min_text_));
  painter.drawText(band, Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(max_text_));
}

}  // namespace corvane::DUI
