// A small "Simulated device" window shown with --simulate: press the mouse's DPI button,
// switch the wireless mouse off and on, set the battery, unplug and plug in the simulated
// devices, as a person would with the real mouse in hand, and make them refuse commands.
#pragma once

#include <QWidget>
#include <functional>

#include "device/hotplug_match.h"

class QCheckBox;
class QPushButton;
class QSpinBox;

namespace corvane {
class SimBackend;
}

namespace corvane::ui {

class SimControlWindow : public QWidget {
 public:
  // `hotplug` receives the arrival and removal events a real device would raise for each
  // of its interfaces (the window acts on them as on the system's own).
  using HotplugSink = std::function<void(const HotplugEvent&)>;
  explicit SimControlWindow(SimBackend& sim, HotplugSink hotplug = {});

  // The actions behind the buttons (also used by tests).
  void PressDpi();
  // Switches the mouse on or off.
  void SetMouseOn(bool on);
  // Sends the battery level (percent) and charging state.
  void SendBattery(int level, bool charging);
  // Pulls every simulated device out, or plugs them all back in.
  void SetPlugged(bool plugged);
  // Makes both devices refuse every command (a non-zero status), or take them again.
  void SetRefusing(bool refusing);

 private:
  void Announce(const std::vector<HidInterfaceInfo>& interfaces, HotplugEvent::Action action);

  SimBackend& sim_;
  HotplugSink hotplug_;
  QPushButton* power_ = nullptr;
  QPushButton* unplug_ = nullptr;
  QPushButton* plug_in_ = nullptr;
  QSpinBox* level_ = nullptr;
  QCheckBox* charging_ = nullptr;
  QCheckBox* refuse_ = nullptr;
  bool mouse_on_ = true;
};

}  // namespace corvane::ui
