// Buttons driving the simulated mouse.
#include "ui/sim_control_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "protocol/command_ids.h"
#include "sim/sim_backend.h"

namespace corvane::ui {
namespace {

constexpr int kMaxBatteryLevel = 100;
constexpr int kDefaultBatteryLevel = 80;
constexpr uint8_t kRefusedStatus = Byte(ReplyStatus::kUnknownCommand);

}  // namespace

SimControlWindow::SimControlWindow(SimBackend& sim, HotplugSink hotplug)
    : sim_(sim), hotplug_(std::move(hotplug)) {
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
  auto* plug_row = new QHBoxLayout();
  unplug_ = new QPushButton("Unplug", this);
  plug_in_ = new QPushButton("Plug in", this);
  plug_in_->setEnabled(false);
  connect(unplug_, &QPushButton::clicked, this, [this] { SetPlugged(false); });
  connect(plug_in_, &QPushButton::clicked, this, [this] { SetPlugged(true); });
  plug_row->addWidget(unplug_);
  plug_row->addWidget(plug_in_);
  battery_row->addWidget(level_);
  battery_row->addWidget(charging_);
  battery_row->addWidget(send);
  layout->addWidget(dpi);
  layout->addWidget(power_);
  layout->addLayout(battery_row);
  layout->addLayout(plug_row);
  refuse_ = new QCheckBox("Refuse commands", this);
  connect(refuse_, &QCheckBox::toggled, this, [this](bool on) { SetRefusing(on); });
  layout->addWidget(refuse_);
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

namespace corvane::ui {

void SimControlWindow::SetPlugged(bool plugged) {
  unplug_->setEnabled(plugged);
  plug_in_->setEnabled(!plugged);
  if (!plugged) {
    const std::vector<HidInterfaceInfo> leaving = sim_.Enumerate();
    for (SimLink link : {SimLink::kWired, SimLink::kReceiver}) sim_.Unplug(link);
    Announce(leaving, HotplugEvent::Action::kRemoval);
    return;
  }
  for (SimLink link : {SimLink::kWired, SimLink::kReceiver}) sim_.Replug(link);
  Announce(sim_.Enumerate(), HotplugEvent::Action::kArrival);
}

void SimControlWindow::SetRefusing(bool refusing) {
  if (refuse_->isChecked() != refusing) refuse_->setChecked(refusing);  // comes back here
  for (SimLink link : {SimLink::kWired, SimLink::kReceiver}) {
    SimFaults faults = sim_.Faults(link);
    faults.forced_status = refusing ? kRefusedStatus : 0;
    sim_.SetFaults(link, faults);
  }
}

void SimControlWindow::Announce(const std::vector<HidInterfaceInfo>& interfaces,
                                HotplugEvent::Action action) {
  if (!hotplug_) return;
  for (const HidInterfaceInfo& info : interfaces) {
    HotplugEvent event;
    event.action = action;
    event.path = info.path;
    event.vendor_id = info.vendor_id;
    event.product_id = info.product_id;
    event.interface_number = info.interface_number;
    event.collections_read = true;
    event.collections.push_back({info.usage_page, info.usage});
    hotplug_(event);
  }
}

}  // namespace corvane::ui
