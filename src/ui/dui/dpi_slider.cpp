// DPI slider.
#include "ui/dui/dpi_slider.h"

#include <QKeyEvent>
#include <QMouseEvent>
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

void DPISlider::Release() {
  if (isEnabled()) Notify(kNotifyClick, GetPos());
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

void DPISlider::mouseReleaseEvent(QMouseEvent* event) {
  LightSlider::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) Release();
}

void DPISlider::keyPressEvent(QKeyEvent* event) {
  const int before = GetPos();
  LightSlider::keyPressEvent(event);
  if (GetPos() != before) Release();
}

}  // namespace corvane::DUI
