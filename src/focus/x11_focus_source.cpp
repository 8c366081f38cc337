// _NET_ACTIVE_WINDOW through xcb: one blocking poll on the connection and a stop pipe.
#include "focus/x11_focus_source.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "focus/app_links.h"

namespace corvane {
namespace {

constexpr uint32_t kMaxPropertyWords = 256;  // WM_CLASS beyond 1 KiB is not a name

template <typename T>
using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
XcbReply<T> Own(T* reply) {
  return XcbReply<T>(reply, &std::free);
}

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
  auto reply = Own(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
      nullptr));
  return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

XcbReply<xcb_get_property_reply_t> GetProperty(xcb_connection_t* connection, xcb_window_t window,
                                               xcb_atom_t property, xcb_atom_t type) {
  return Own(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, window, property, type, 0, kMaxPropertyWords),
      nullptr));
}

// The class part of WM_CLASS ("instance\0class\0").
std::string ClassName(const xcb_get_property_reply_t& reply) {
  const int length = xcb_get_property_value_length(&reply);
  const char* value = static_cast<const char*>(xcb_get_property_value(&reply));
  const std::string text(value, static_cast<size_t>(length));
  const size_t split = text.find('\0');
  if (split == std::string::npos) return {};
  std::string name = text.substr(split + 1);
  if (const size_t end = name.find('\0'); end != std::string::npos) name.resize(end);
  return NormalizeAppName(name);
}

std::string ExecutableOf(uint32_t pid) {
  std::error_code error;
  const std::filesystem::path exe =
      std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error);
  return error ? std::string() : NormalizeAppName(exe.filename().string());
}

}  // namespace

bool IsWaylandSession() {
  const char* type = std::getenv("XDG_SESSION_TYPE");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (type != nullptr && std::strcmp(type, "wayland") == 0) ||
         (wayland != nullptr && *wayland != '\0');
}

X11FocusSource::X11FocusSource(std::string display) : display_(std::move(display)) {}

X11FocusSource::~X11FocusSource() { Stop(); }

bool X11FocusSource::Start(FocusSink& sink) {
  Stop();
  int screen_number = 0;
  connection_ = xcb_connect(display_.empty() ? nullptr : display_.c_str(), &screen_number);
  if (connection_ == nullptr || xcb_connection_has_error(connection_) != 0 ||
      pipe2(stop_pipe_, O_CLOEXEC) != 0) {
    Stop();
    return false;
  }
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
  for (int i = 0; i < screen_number && screens.rem > 0; ++i) xcb_screen_next(&screens);
  if (screens.rem == 0) {
    Stop();
    return false;
  }
  root_ = screens.data->root;
  active_atom_ = InternAtom(connection_, "_NET_ACTIVE_WINDOW");
  pid_atom_ = InternAtom(connection_, "_NET_WM_PID");
  const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(connection_);
  sink.OnFocus(ActiveApp());
  thread_ = std::thread([this, &sink] { Run(sink); });
  return true;
}

void X11FocusSource::Stop() {
  if (thread_.joinable()) {
    const char byte = 0;
    if (write(stop_pipe_[1], &byte, 1) < 0) {
      // The thread also ends when the pipe's write end closes below.
    }
    thread_.join();
  }
  for (int& fd : stop_pipe_) {
    if (fd >= 0) close(fd);
    fd = -1;
  }
  if (connection_ != nullptr) xcb_disconnect(connection_);
  connection_ = nullptr;
}

std::string X11FocusSource::ActiveApp() {
  auto active = GetProperty(connection_, root_, active_atom_, XCB_ATOM_WINDOW);
  if (!active || xcb_get_property_value_length(active.get()) < 4) return {};
  const xcb_window_t window = *static_cast<xcb_window_t*>(xcb_get_property_value(active.get()));
  if (window == XCB_WINDOW_NONE) return {};
  if (auto wm_class = GetProperty(connection_, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING)) {
    std::string name = ClassName(*wm_class);
    if (!name.empty()) return name;
  }
  auto pid = GetProperty(connection_, window, pid_atom_, XCB_ATOM_CARDINAL);
  if (!pid || xcb_get_property_value_length(pid.get()) < 4) return {};
  return ExecutableOf(*static_cast<uint32_t*>(xcb_get_property_value(pid.get())));
}

void X11FocusSource::Run(FocusSink& sink) {
  pollfd fds[2] = {{xcb_get_file_descriptor(connection_), POLLIN, 0}, {stop_pipe_[0], POLLIN, 0}};
  while (true) {
    bool changed = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
      if ((event->response_type & ~0x80) == XCB_PROPERTY_NOTIFY) {
        auto* property = reinterpret_cast<xcb_property_notify_event_t*>(event);
        changed = changed || (property->window == root_ && property->atom == active_atom_);
      }
      std::free(event);
    }
    if (xcb_connection_has_error(connection_) != 0) return;  // the X server went away
    if (changed) {
      // Reading the window's properties may queue events the poll below would not see.
      sink.OnFocus(ActiveApp());
      continue;
    }
    if (poll(fds, 2, -1) < 0) continue;  // EINTR
    ++wakeups_;
    if (fds[1].revents != 0) return;
  }
}

}  // namespace corvane
