// The window's side of profiles that follow the focused application: reads the links of
// the selected model, runs the follow service while any exist, and makes its switches on
// the GUI thread through the path of a profile chosen by hand — unless an edit is open,
// a macro is being recorded or no mouse is connected, in which case it tries again later.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <string>

#include "focus/follow_service.h"

namespace corvane::ui {

class DeviceMainDlg;

class ProfileFollower : public QObject {
 public:
  explicit ProfileFollower(DeviceMainDlg& window);
  ~ProfileFollower() override;

  // Reads the links and the default profile of the selected model again; starts or
  // stops following accordingly. Also done by itself when another program (corvane-cli)
  // writes the model's settings database.
  void Reload();
  // A profile chosen by hand (chooser, bus) becomes the one to return to.
  void ChosenByHand(int profile);
  // A desktop script's report of the focused application. False when not taken.
  bool Push(const std::string& app);
  // The focus source in use; empty while no profile is linked.
  std::string SourceName() const { return service_.SourceName(); }

 private:
  // GUI thread: switch now, or later when something must not be disturbed.
  void Apply(int profile);
  bool Busy() const;

  // Watches the settings database file for links made by another program.
  void WatchStore(const std::string& path);

  DeviceMainDlg& window_;
  FollowService service_;
  QFileSystemWatcher store_watch_;
  // Coalesces the writes of one change into one reading of the links.
  QTimer store_changed_;
};

}  // namespace corvane::ui
