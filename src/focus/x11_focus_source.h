// The focus on X11: the window manager's _NET_ACTIVE_WINDOW on the root window, followed
// through property-change events (no polling); the application is the active window's
// WM_CLASS class, else its process's executable name (_NET_WM_PID).
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "focus/focus_source.h"

struct xcb_connection_t;

namespace corvane {

class X11FocusSource : public FocusSource {
 public:
  // `display` empty: $DISPLAY.
  explicit X11FocusSource(std::string display = {});
  ~X11FocusSource() override;

  std::string Name() const override { return "x11"; }
  // False when no X server answers.
  bool Start(FocusSink& sink) override;
  void Stop() override;
  long Wakeups() const override { return wakeups_; }

 private:
  void Run(FocusSink& sink);
  // The application of the active window now; empty when unknown.
  std::string ActiveApp();

  std::string display_;
  xcb_connection_t* connection_ = nullptr;
  unsigned root_ = 0;
  unsigned active_atom_ = 0;
  unsigned pid_atom_ = 0;
  int stop_pipe_[2] = {-1, -1};
  std::thread thread_;
  std::atomic<long> wakeups_{0};
};

// Whether the session is a Wayland one (an X server there shows only X clients).
bool IsWaylandSession();

}  // namespace corvane
