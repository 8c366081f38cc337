// A coloured round mark (a filled circle centred in the control).
#pragma once

#include "ui/dui/carea.h"

namespace corvane::DUI {

class CRoundArea : public CArea {
 public:
  CRoundArea(QWidget* parent, MDialog* owner, int id);
  // Sets the mark's colour from 0xAARRGGBB (as Manager::m_select_color holds it).
  void SetArgbColor(uint32_t argb);

 protected:
  void PaintShape(QPainter& painter) override;
};

}  // namespace corvane::DUI
