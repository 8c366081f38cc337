// A push button with a 4-frame skin (normal, hover, pressed, disabled) and a centred
// title; a click notifies the owner with NotifyCode::kClick. In toggle mode (MToggleButton,
// the "MButton3" class) each click flips its checked state, shown with the pressed frame.
#pragma once

#include "ui/dui/mcontrol_font.h"

namespace corvane::DUI {

class MButton : public MControlFont {
 public:
  MButton(QWidget* parent, MDialog* owner, int id);

  // Makes each click flip the checked state.
  void SetToggle(bool toggle) { toggle_ = toggle; }
  // True in toggle mode.
  bool IsToggle() const { return toggle_; }
  // Sets the checked state without notifying.
  virtual void SetCheck(bool checked);
  // The checked state.
  bool GetCheck() const { return checked_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void OnClicked() override;
  // Draws the native button look used when the skin image is missing.
  void PaintFallback(QPainter& painter, bool with_text);

 private:
  bool toggle_ = false;
};

// A button in toggle mode from its creation (the "MButton3" class), so that it is read as a
// toggle from the start.
class MToggleButton : public MButton {
 public:
  MToggleButton(QWidget* parent, MDialog* owner, int id) : MButton(parent, owner, id) {
    SetToggle(true);
  }
};

}  // namespace corvane::DUI
