// Event forwarding from the Qt window to its MWindow.
#include "ui/dui/window_widget.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "ui/dui/mwindow.h"
#include "ui/dui/window_placement.h"

namespace corvane::DUI {

WindowWidget::WindowWidget(MWindow* owner, QWidget* parent) : QWidget(parent), owner_(owner) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  // Pointer moves without a button reach the window only with tracking on; the resize
  // cursor needs them.
  setMouseTracking(true);
}

void WindowWidget::paintEvent(QPaintEvent*) {
  if (owner_ == nullptr) return;
  QPainter painter(this);
  owner_->PaintWindow(painter);
}

void WindowWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (owner_ != nullptr) owner_->HandleResize();
}

void WindowWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (owner_ != nullptr && event->type() == QEvent::ActivationChange) {
    owner_->HandleActivation(isActiveWindow());
  }
}

void WindowWidget::closeEvent(QCloseEvent* event) {
  // The window system's close request becomes a message the program can see and refuse.
  event->ignore();
  if (owner_ != nullptr) owner_->SendMessage(kMessageClose, 0, 0);
}

void WindowWidget::mousePressEvent(QMouseEvent* event) {
  // The window system moves and resizes the window (an X11 window manager or a Wayland
  // compositor alike): a program cannot place its own window on Wayland.
  if (event->button() == Qt::LeftButton && isWindow() && windowHandle() != nullptr &&
      (windowFlags() & Qt::FramelessWindowHint)) {
    const Qt::Edges edges = ResizeEdgesAt(event->position().toPoint());
    if (edges) {
      windowHandle()->startSystemResize(edges);
    } else {
      windowHandle()->startSystemMove();
    }
  }
  QWidget::mousePressEvent(event);
}

void WindowWidget::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() == Qt::NoButton && owner_ != nullptr && owner_->ResizableFrame()) {
    const Qt::CursorShape shape = ResizeCursor(ResizeEdgesAt(event->position().toPoint()));
    if (shape == Qt::ArrowCursor) {
      unsetCursor();
    } else {
      setCursor(shape);
    }
  }
  QWidget::mouseMoveEvent(event);
}

Qt::Edges WindowWidget::ResizeEdgesAt(const QPoint& pos) const {
  if (owner_ == nullptr || !owner_->ResizableFrame() || isMaximized() || !isWindow()) {
    return {};
  }
  return FrameEdgesAt(pos, size(), kResizeBorder);
}

void WindowWidget::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && owner_ != nullptr && owner_->ClosesOnEscape()) {
    event->accept();
    owner_->SendMessage(kMessageClose, MWindow::kModalCancel, 0);
    return;
  }
  if (event->key() == Qt::Key_Escape && owner_ != nullptr && owner_->HandleEscape()) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace corvane::DUI
