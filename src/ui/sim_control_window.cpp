// Buttons driving the simulated mouse.
#include "ui/sim_control_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "sim/sim_backend.h"

namespace corvane::ui {
namespace {

constexpr int kMaxBatteryLevel = 100;
constexpr int kDefaultBatteryLevel = 80;

}  // namespace

SimControlWindow::SimControlWindow(SimBackend& sim) : sim_(sim) {
  setWindowTitle("Simulated device");
  auto* layout = new QVBoxLayout(this);
  auto* dpi = new QPushButton("Press DPI button", this);
  connect(dpi, &QPushButton::clicked, this, [this] { PressDpi(); });
  power_ = new QPushButton("Switch mouse off", this);
  connect(power_, &QPushButton::clicked, this, [this] { SetMouseOn(!mouse_on_); });
  auto* battery_row = new QHBoxLayout();
  level_ = new QSpinBox(this);
  level_->setRange(0, kMaxBatteryLevel);
  level_->setValue(kDefaultBatteryLevel);
  level_->setSuffix(" %");
  charging_ = new QCheckBox("Charging", this);
  auto* send = new QPushButton("Set battery", this);
  connect(send, &QPushButton::clicked, this,
          [this] { SendBattery(level_->value(), charging_->isChecked()); });
  battery_row->addWidget(level_);
  battery_row->addWidget(charging_);
  battery_row->addWidget(send);
  layout->addWidget(dpi);
  layout->addWidget(power_);
  layout->addLayout(battery_row);
}

void SimControlWindow::PressDpi() { sim_.PressDpiButton(); }

void SimControlWindow::SetMouseOn(bool on) {
  mouse_on_ = on;
  sim_.SetMouseOn(on);
  power_->setText(on ? "Switch mouse off" : "Switch mouse on");
}

void SimControlWindow::SendBattery(int level, bool charging) {
  // The receiver announces the level first and the charging state second.
  sim_.SetBattery(charging ? 1 : 0, static_cast<uint8_t>(std::clamp(level, 0, kMaxBatteryLevel)));
}

}  // namespace corvane::ui
