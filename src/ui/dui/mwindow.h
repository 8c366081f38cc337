// A top-level window of the control layer: creation from a style and rectangle, modal
// loop, timers, posted messages (safe from any thread) and lookup by title. The Qt
// widget is owned here and destroyed by DestroyWindow or the destructor.
#pragma once

#include <QIcon>
#include <QPointer>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "ui/dui/dui_types.h"
#include "ui/dui/paint_manager.h"

class QEventLoop;
class QPainter;
class QPoint;
class QTimer;
class QWidget;

namespace corvane::DUI {

class WindowWidget;

class MWindow {
 public:
  // Results of ShowModal.
  static constexpr int kModalOk = 1;
  static constexpr int kModalCancel = 2;

  MWindow();
  virtual ~MWindow();
  MWindow(const MWindow&) = delete;
  MWindow& operator=(const MWindow&) = delete;

  // Creates the window; `rect` is in screen coordinates. A window made with a parent
  // stays above it. Returns false when this object already has a window.
  bool Create(MWindow* parent, const std::string& title, uint32_t style, uint32_t ex_style,
              const Rect& rect);
  // Centres the window over its parent, or on the screen without one.
  void CenterWindow();
  // Shows the window (code 0 counts as 5) and runs a local event loop until DoOK (1),
  // DoCancel (2), a close message (its wParam) or destruction (2). Returns that result;
  // 0 when there is no window.
  int ShowModal(int show_code);
  // Shows (1, 5), maximises (3), minimises (6) or hides (0) the window.
  void ShowWindow(int show_code);
  // Whether ShowModal blocks input to the owner (default true). A chooser that closes
  // when the person clicks elsewhere must let that click through.
  void SetBlocksOwner(bool blocks) { blocks_owner_ = blocks; }
  // Marks a window that sits at a spot relative to its owner (call before Create). Where
  // the compositor places top-level windows (Wayland) it then becomes a pop-up surface of
  // the owner, which is the only kind that keeps a spot there; elsewhere nothing changes.
  void SetPlacedOnOwner(bool placed) { placed_on_owner_ = placed; }
  // Lets the person resize a frameless window by the band along its edges.
  void SetResizableFrame(bool resizable) { resizable_frame_ = resizable; }
  bool ResizableFrame() const { return resizable_frame_; }
  // Destroys the window; ends a running modal loop with kModalCancel unless ended already.
  void DestroyWindow();
  // The Qt widget, or null before Create and after DestroyWindow.
  QWidget* GetSafeHwnd() const;
  // The client area: (0, 0, width, height); empty without a window.
  Rect GetClientRect() const;
  // Converts a client rectangle to screen coordinates in place.
  void ClientToScreen(Rect& rect) const;
  // Moves and sizes the window to `rect` (screen coordinates).
  void MoveWindow(const Rect& rect);
  // Moves (unless kSwpNoMove), sizes (unless kSwpNoSize), shows or hides per `flags`;
  // kInsertTopmost keeps the window above others, kInsertNoTopmost stops that.
  void SetWindowPos(int insert_after, int x, int y, int cx, int cy, uint32_t flags);
  // Starts or restarts timer `id` with `interval_ms`; OnTimer(id) then runs on the GUI
  // thread. Returns false without a window or for a non-positive interval.
  bool SetTimer(int id, int interval_ms);
  // Stops timer `id`; unknown ids are ignored.
  void KillTimer(int id);
  // Schedules a repaint of the whole window.
  void InvalidateRect();
  // Sets the window icon.
  void SetIcon(const QIcon& icon);
  // True while the window is maximised.
  bool IsZoomed() const;
  // True while the window is shown.
  bool IsWindowVisible() const;
  // The title given to Create.
  const std::string& GetTitle() const { return title_; }
  // Background colours of this window.
  PaintManager& GetPaintManager() { return paint_manager_; }

  // Queues OnWindowMessage(message, wparam, lparam) on the GUI thread; callable from any
  // thread. Returns false when there is no window; a window destroyed before delivery
  // drops the message.
  bool PostMessage(uint32_t message, int64_t wparam, int64_t lparam);
  // Calls OnWindowMessage at once (GUI thread only). Returns its result.
  int64_t SendMessage(uint32_t message, int64_t wparam, int64_t lparam);

  // The first live window created with `title`, or null.
  static MWindow* FindWindow(const std::string& title);

  // A message sent or posted to the window. Returns the message's result; the base
  // handles nothing and returns 0.
  virtual int64_t OnWindowMessage(uint32_t message, int64_t wparam, int64_t lparam);
  // Timer `id` fired.
  virtual void OnTimer(int id);

 protected:
  // Ends a running modal loop with `result` and hides the window.
  void EndModal(int result);
  // Runs once inside Create, after the widget exists and before it is shown.
  virtual void OnCreated() {}
  // Paints the window background.
  virtual void PaintWindow(QPainter& painter);
  // The client area changed size.
  virtual void HandleResize() {}
  // The window gained (true) or lost (false) activation.
  virtual void HandleActivation(bool) {}
  // Whether Escape asks the window to close, as its close button would: only a dialog
  // waiting for its answer (in ShowModal) does.
  bool ClosesOnEscape() const { return modal_loop_ != nullptr; }
  // Escape in a window that does not close on it (a page to step back from). True when
  // the key was used.
  virtual bool HandleEscape() { return false; }

 private:
  friend class WindowWidget;

  QPointer<WindowWidget> widget_;
  MWindow* parent_ = nullptr;
  std::string title_;
  std::map<int, std::unique_ptr<QTimer>> timers_;
  QEventLoop* modal_loop_ = nullptr;
  int modal_result_ = 0;
  bool modal_ended_ = false;
  bool blocks_owner_ = true;
  bool placed_on_owner_ = false;
  bool resizable_frame_ = false;
  // Lets a posted message find out whether this window still exists; guarded because
  // PostMessage may run on the worker thread.
  std::mutex alive_lock_;
  std::shared_ptr<MWindow*> alive_;
  PaintManager paint_manager_;
};

}  // namespace corvane::DUI
