// The udev monitor's descriptor under a QSocketNotifier.
#include "ui/hotplug_watcher.h"

#include <QSocketNotifier>

#include "device/hidraw_monitor.h"
#include "device/hotplug_match.h"
#include "protocol/device_session.h"

namespace corvane::ui {

HotplugWatcher::HotplugWatcher(DeviceSession& session)
    : session_(session), monitor_(std::make_unique<HidrawMonitor>()) {}

HotplugWatcher::~HotplugWatcher() = default;

bool HotplugWatcher::Start() {
  if (!monitor_->Start()) return false;
  notifier_ = std::make_unique<QSocketNotifier>(monitor_->Fd(), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Drain(); });
  return true;
}

void HotplugWatcher::Drain() {
  HotplugEvent event;
  while (monitor_->ReadEvent(event)) {
    const HotplugAction action =
        MatchHotplugEvent(event, session_.Model().KnownDevices(), session_.State().IdlePoll());
    if (const std::optional<WorkerTask> task = TaskOf(action)) session_.Worker().Post(*task);
    event = HotplugEvent{};
  }
}

}  // namespace corvane::ui
