// The window's session-bus object: interface example.corvane.Corvane1 at
// /example/corvane/Corvane under the name example.corvane.Corvane. Properties are read
// from a DesktopStatus; methods run the window's own actions (store first, then the same
// task numbers) and are answered once the tasks they posted have run, with an error name
// of the interface when the mouse did not take them.
#pragma once

#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "worker/desktop_status.h"

namespace corvane {
class JobOutcomes;
}

namespace corvane::ui {

class DeviceMainDlg;

inline constexpr char kBusName[] = "example.corvane.Corvane";
inline constexpr char kBusPath[] = "/example/corvane/Corvane";
inline constexpr char kBusInterface[] = "example.corvane.Corvane1";

class DesktopBus : public QDBusVirtualObject {
 public:
  // `status` assembles the current snapshot; `changed` is called after a method changed
  // something (the owner compares snapshots and calls Announce).
  DesktopBus(DeviceMainDlg& window, JobOutcomes& outcomes, std::function<DesktopStatus()> status,
             std::function<void()> changed);
  ~DesktopBus() override;

  // Serves the object and claims the name. False with `error` without a session bus or
  // when the name is taken; the window runs on without it.
  bool Start(std::string& error);
  // Emits the interface's signals and PropertiesChanged for what differs.
  void Announce(const DesktopStatus& before, const DesktopStatus& after);
  // Answers the method calls whose tasks have all run (GUI thread).
  void AnswerFinished();

  QString introspect(const QString& path) const override;
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

 private:
  struct Pending {
    QDBusMessage call;
    uint64_t after = 0;  // tickets after this one and up to `last` are the call's tasks
    uint64_t last = 0;
    QVariantList out;
  };

  bool HandleProperties(const QDBusMessage& message);
  void HandleMethod(const QDBusMessage& message);
  // Runs `action` (which may post tasks) and answers now or once its tasks have run.
  void RunAction(const QDBusMessage& message, const std::function<QVariantList()>& action);
  void SetActiveProfile(const QDBusMessage& message, int id);
  void SetActiveDpiStage(const QDBusMessage& message, int stage);
  void SetDpiStageValue(const QDBusMessage& message, int stage, int dpi);
  void ReplyError(const QDBusMessage& message, const DesktopError& error);
  void Send(const QDBusMessage& message);

  DeviceMainDlg& window_;
  JobOutcomes& outcomes_;
  std::function<DesktopStatus()> status_;
  std::function<void()> changed_;
  std::vector<Pending> pending_;
  bool registered_ = false;
};

}  // namespace corvane::ui
