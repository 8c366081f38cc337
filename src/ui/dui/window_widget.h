// The Qt window behind an MWindow. It owns nothing of the program's: it forwards
// painting, resizing, activation, closing and timers to its MWindow, and lets the user
// drag a frameless window by any spot that no control claims, or resize it by the band
// along its edges when its MWindow allows that.
#pragma once

#include <QWidget>

namespace corvane::DUI {

class MWindow;

class WindowWidget : public QWidget {
 public:
  WindowWidget(MWindow* owner, QWidget* parent);
  // Cuts the link to the MWindow; later events are ignored.
  void Detach() { owner_ = nullptr; }
  // The MWindow this widget belongs to, or null once detached.
  MWindow* Owner() const { return owner_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  // Shows the resize cursor over the edge band of a resizable frame.
  void mouseMoveEvent(QMouseEvent* event) override;
  // Escape that no control took closes a dialog with kModalCancel.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The resize edges under `pos`; none unless the frame is resizable and not maximised.
  Qt::Edges ResizeEdgesAt(const QPoint& pos) const;

  MWindow* owner_;
};

}  // namespace corvane::DUI
