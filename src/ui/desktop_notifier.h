// Desktop notifications through the session bus's org.freedesktop.Notifications service.
// Sending never waits for the server: without one the notification is simply not shown.
#pragma once

#include <string>

namespace corvane::ui {

class DesktopNotifier {
 public:
  // `app_name` is the program's caption.
  explicit DesktopNotifier(std::string app_name) : app_name_(std::move(app_name)) {}

  // Sends one notification; `critical` asks for the critical urgency. Returns whether
  // the call left for the bus (false without a session bus).
  bool Send(const std::string& summary, const std::string& body, bool critical) const;

 private:
  std::string app_name_;
};

}  // namespace corvane::ui
