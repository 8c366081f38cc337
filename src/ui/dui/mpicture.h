// A static skin picture: a background, a bar, a logo. It never takes the mouse, so the
// window under it can be dragged and controls over it stay clickable.
#pragma once

#include <QMargins>

#include "ui/dui/mcontrol.h"

namespace corvane::DUI {

class MPicture : public MControl {
 public:
  // Show modes: how the image fills the control.
  static constexpr int kShowStretch = 0;
  static constexpr int kShowNatural = 1;   // natural size at the top-left corner
  static constexpr int kShowCentered = 2;  // natural size, centred
  static constexpr int kShowSliced = 3;    // corners of `margin` pixels kept, the rest stretched
  static constexpr int kShowSlicedMid = 4; // corners from SetShowModeMID kept

  MPicture(QWidget* parent, MDialog* owner, int id);

  // Sets how the image fills the control; `margin` is the corner size for kShowSliced.
  void SetShowMode(int mode, int margin);
  // Corner sizes for kShowSlicedMid: left, top, right, bottom.
  void SetShowModeMID(int left, int top, int right, int bottom);
  // Size of one frame of the image; empty when the image is missing.
  QSize GetImageSize() const { return image_.FrameSize(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int mode_ = kShowStretch;
  int margin_ = 0;
  QMargins mid_;
};

}  // namespace corvane::DUI
