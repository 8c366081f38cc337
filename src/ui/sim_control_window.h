// A small "Simulated device" window shown with --simulate: press the mouse's DPI button,
// switch the wireless mouse off and on, and set the battery, as a person would with the
// real mouse in hand.
#pragma once

#include <QWidget>

class QCheckBox;
class QPushButton;
class QSpinBox;

namespace corvane {
class SimBackend;
}

namespace corvane::ui {

class SimControlWindow : public QWidget {
 public:
  explicit SimControlWindow(SimBackend& sim);

  // The actions behind the buttons (also used by tests).
  void PressDpi();
  // Switches the mouse on or off.
  void SetMouseOn(bool on);
  // Sends the battery level (percent) and charging state.
  void SendBattery(int level, bool charging);

 private:
  SimBackend& sim_;
  QPushButton* power_ = nullptr;
  QSpinBox* level_ = nullptr;
  QCheckBox* charging_ = nullptr;
  bool mouse_on_ = true;
};

}  // namespace corvane::ui
