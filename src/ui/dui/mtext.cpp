// Static text drawing.
#include "ui/dui/mtext.h"

#include <QPainter>

namespace corvane::DUI {

MText::MText(QWidget* parent, MDialog* owner, int id) : MControlFont(parent, owner, id) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void MText::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DrawTitle(painter, rect());
}

}  // namespace corvane::DUI
