// Top-level windows: creation, modal loop, timers, posted messages and lookup by title.
#include "ui/dui/mwindow.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "ui/dui/accessibility.h"
#include "ui/dui/keyboard_return.h"
#include "ui/dui/mcontrol.h"
#include "ui/dui/ui_thread.h"
#include "ui/dui/window_placement.h"
#include "ui/dui/window_widget.h"

namespace corvane::DUI {
namespace {

// Windows with a live widget, in creation order (GUI thread only).
std::vector<MWindow*>& LiveWindows() {
  static std::vector<MWindow*> windows;
  return windows;
}

void Forget(MWindow* window) {
  auto& windows = LiveWindows();
  windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

Qt::WindowFlags FlagsForStyle(uint32_t style, uint32_t ex_style, bool popup_surface) {
  // A tool tip with an owner is the window type Qt's Wayland plugin makes a pop-up surface
  // without a grab: it keeps its place relative to the owner and stays on the
  // accessibility bus (a grabbing pop-up needs a real input event and is left off it).
  if (popup_surface) return Qt::ToolTip | Qt::FramelessWindowHint;
  Qt::WindowFlags flags = Qt::Window;
  if (style & kStylePopup) flags |= Qt::FramelessWindowHint;
  if (ex_style & kExStyleToolWindow) flags |= Qt::Tool;
  if (ex_style & kExStyleTopmost) flags |= Qt::WindowStaysOnTopHint;
  return flags;
}

}  // namespace

MWindow::MWindow() = default;

MWindow::~MWindow() { DestroyWindow(); }

bool MWindow::Create(MWindow* parent, const std::string& title, uint32_t style,
                     uint32_t ex_style, const Rect& rect) {
  if (widget_ != nullptr) return false;
  InstallAccessibility();
  QWidget* parent_widget = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
  auto* widget = new WindowWidget(this, parent_widget);
  const bool popup_surface =
      placed_on_owner_ && parent_widget != nullptr && CompositorPlacesWindows();
  widget->setWindowFlags(FlagsForStyle(style, ex_style, popup_surface));
  widget->setWindowTitle(QString::fromStdString(title));
  widget->setGeometry(rect.ToQRect());
  widget_ = widget;
  parent_ = parent;
  title_ = title;
  modal_ended_ = false;
  {
    std::lock_guard guard(alive_lock_);
    alive_ = std::make_shared<MWindow*>(this);
  }
  LiveWindows().push_back(this);
  OnCreated();
  if ((style & kStyleVisible) && widget_ != nullptr) widget_->show();
  return true;
}

void MWindow::CenterWindow() {
  if (widget_ == nullptr) return;
  QRect area;
  QWidget* parent_widget = parent_ != nullptr ? parent_->GetSafeHwnd() : nullptr;
  if (parent_widget != nullptr && parent_widget->isVisible()) {
    area = parent_widget->frameGeometry();
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    area = screen->availableGeometry();
  }
  if (area.isEmpty()) return;
  QRect frame = widget_->geometry();
  frame.moveCenter(area.center());
  widget_->move(frame.topLeft());
}

int MWindow::ShowModal(int show_code) {
  if (widget_ == nullptr) return 0;
  if (modal_loop_ != nullptr) return 0;  // already modal: a second loop would never end cleanly
  if (widget_->isVisible()) widget_->hide();
  // Only a dialog blocks its owner; a window without one (the main window runs its whole
  // life in this loop) must not block unrelated windows such as the simulator's.
  widget_->setWindowModality(parent_ != nullptr && blocks_owner_ ? Qt::WindowModal
                                                                 : Qt::NonModal);
  const KeyboardReturn keyboard_return;
  ShowWindow(show_code == kShowHide ? kShowShow : show_code);
  modal_ended_ = false;
  modal_result_ = kModalCancel;
  QEventLoop loop;
  modal_loop_ = &loop;
  loop.exec();
  modal_loop_ = nullptr;
  if (widget_ != nullptr) widget_->setWindowModality(Qt::NonModal);
  return modal_result_;
}

void MWindow::EndModal(int result) {
  if (!modal_ended_) {
    modal_ended_ = true;
    modal_result_ = result;
  }
  if (widget_ != nullptr) widget_->hide();
  if (modal_loop_ != nullptr) modal_loop_->quit();
}

void MWindow::ShowWindow(int show_code) {
  if (widget_ == nullptr) return;
  switch (show_code) {
    case kShowHide: widget_->hide(); break;
    case kShowMaximized: widget_->showMaximized(); break;
    case kShowMinimized: widget_->showMinimized(); break;
    default: widget_->show(); break;
  }
}

void MWindow::DestroyWindow() {
  timers_.clear();
  {
    std::lock_guard guard(alive_lock_);
    alive_.reset();
  }
  Forget(this);
  if (modal_loop_ != nullptr) EndModal(kModalCancel);
  if (widget_ != nullptr) {
    WindowWidget* widget = widget_;
    widget_ = nullptr;
    widget->Detach();
    // The widget dies later; its controls must not reach this object from now on.
    for (MControl* control : ControlsOf<MControl>(widget)) control->DetachOwner();
    // Give up the keyboard focus first: a focused field in a window that is only hidden
    // would stay the application's focus object until the deferred deletion.
    if (QWidget* focused = widget->focusWidget()) focused->clearFocus();
    widget->hide();
    // Deferred: this may run inside one of the widget's own event handlers.
    widget->deleteLater();
  }
}

QWidget* MWindow::GetSafeHwnd() const { return widget_; }

Rect MWindow::GetClientRect() const {
  if (widget_ == nullptr) return {};
  return Rect{0, 0, widget_->width(), widget_->height()};
}

void MWindow::ClientToScreen(Rect& rect) const {
  if (widget_ == nullptr) return;
  const QPoint origin = widget_->mapToGlobal(QPoint(0, 0));
  rect = Rect{rect.left + origin.x(), rect.top + origin.y(), rect.right + origin.x(),
              rect.bottom + origin.y()};
}

void MWindow::MoveWindow(const Rect& rect) {
  if (widget_ != nullptr) widget_->setGeometry(rect.ToQRect());
}

void MWindow::SetWindowPos(int insert_after, int x, int y, int cx, int cy, uint32_t flags) {
  if (widget_ == nullptr) return;
  if (insert_after == kInsertTopmost || insert_after == kInsertNoTopmost) {
    const bool was_visible = widget_->isVisible();
    widget_->setWindowFlag(Qt::WindowStaysOnTopHint, insert_after == kInsertTopmost);
    if (was_visible) widget_->show();  // changing flags hides a window
  }
  if (!(flags & kSwpNoMove)) widget_->move(x, y);
  if (!(flags & kSwpNoSize)) widget_->resize(std::max(0, cx), std::max(0, cy));
  if (flags & kSwpShowWindow) widget_->show();
  if (flags & kSwpHideWindow) widget_->hide();
}

bool MWindow::SetTimer(int id, int interval_ms) {
  if (widget_ == nullptr || interval_ms <= 0) return false;
  auto& timer = timers_[id];
  if (!timer) {
    timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [this, id] { OnTimer(id); });
  }
  timer->start(interval_ms);
  return true;
}

void MWindow::KillTimer(int id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  it->second->stop();
  // Deleting a timer from inside its own timeout is unsafe; stopped timers are kept.
}

void MWindow::InvalidateRect() {
  if (widget_ != nullptr) widget_->update();
}

void MWindow::SetIcon(const QIcon& icon) {
  if (widget_ != nullptr) widget_->setWindowIcon(icon);
}

bool MWindow::IsZoomed() const { return widget_ != nullptr && widget_->isMaximized(); }

bool MWindow::IsWindowVisible() const { return widget_ != nullptr && widget_->isVisible(); }

bool MWindow::PostMessage(uint32_t message, int64_t wparam, int64_t lparam) {
  std::weak_ptr<MWindow*> target;
  {
    std::lock_guard guard(alive_lock_);
    target = alive_;
  }
  if (target.expired()) return false;
  return RunOnUiThread([target, message, wparam, lparam] {
    if (auto window = target.lock()) (*window)->OnWindowMessage(message, wparam, lparam);
  });
}

int64_t MWindow::SendMessage(uint32_t message, int64_t wparam, int64_t lparam) {
  return OnWindowMessage(message, wparam, lparam);
}

MWindow* MWindow::FindWindow(const std::string& title) {
  for (MWindow* window : LiveWindows()) {
    if (window->title_ == title) return window;
  }
  return nullptr;
}

int64_t MWindow::OnWindowMessage(uint32_t, int64_t, int64_t) { return 0; }

void MWindow::OnTimer(int) {}

void MWindow::PaintWindow(QPainter& painter) {
  if (widget_ != nullptr) paint_manager_.Paint(painter, widget_->rect());
}

}  // namespace corvane::DUI
