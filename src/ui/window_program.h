// The window program as one object: single-instance claim, device session, main window,
// tray, hot-plug watcher and the simulator's control window, torn down in a safe order
// (the worker stops before anything it reports to goes away; the instance goes last).
#pragma once

#include <memory>
#include <string>

#include "ui/startup_options.h"

namespace corvane {
class DeviceSession;
}

namespace corvane::ui {

class AutorunEntry;
class DeviceListMirror;
class DesktopIntegration;
class DeviceMainDlg;
class HotplugWatcher;
class MainWindowView;
class SimControlWindow;
class SingleInstance;

class WindowProgram {
 public:
  enum class StartResult { kStarted, kAlreadyRunning, kFailed };

  // `executable` is written into the autostart entry.
  explicit WindowProgram(std::string executable);
  // Stops the worker within its stop time; a worker still stuck after that ends the
  // process at once (exit status 0). The single-instance claim is released last.
  ~WindowProgram();
  WindowProgram(const WindowProgram&) = delete;
  WindowProgram& operator=(const WindowProgram&) = delete;

  // Needs a QApplication. Reads the program folder and claims the caption first: a live
  // copy is asked to show itself (kAlreadyRunning). Otherwise opens the session and
  // creates the window, shown or hidden as the options say. kFailed comes with a
  // one-line `error`.
  StartResult Start(const StartupOptions& options, std::string& error);

  DeviceMainDlg& Window() { return *window_; }
  DeviceSession& Session() { return *session_; }
  // The simulator's control window; null without --simulate.
  SimControlWindow* SimWindow() { return sim_window_.get(); }
  // Battery warnings, the tray's battery and the session-bus interface.
  DesktopIntegration& Desktop() { return *desktop_; }
  // The client size the window is created with for this screen.
  static void WindowSize(int& width, int& height);

 private:
  std::string executable_;
  // First member, so that it is also the last one released.
  std::unique_ptr<SingleInstance> instance_;
  std::unique_ptr<DeviceListMirror> mirror_;
  std::unique_ptr<MainWindowView> view_;
  std::unique_ptr<DeviceSession> session_;
  std::unique_ptr<AutorunEntry> autorun_;
  std::unique_ptr<SimControlWindow> sim_window_;
  std::unique_ptr<HotplugWatcher> hotplug_;
  std::unique_ptr<DeviceMainDlg> window_;
  std::unique_ptr<DesktopIntegration> desktop_;
};

}  // namespace corvane::ui
