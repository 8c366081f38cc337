// Control base: state tracking, notification to the owner, container child creation.
#include "ui/dui/mcontrol.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "ui/dui/accessibility.h"
#include "ui/dui/control_factory.h"
#include "ui/dui/manager.h"
#include "ui/dui/mdialog.h"

namespace corvane::DUI {

MControl::MControl(QWidget* parent, MDialog* owner, int id)
    : QWidget(parent), owner_(owner), id_(id) {}

// The owner's tick list holds QPointers, which forget a destroyed control by themselves;
// the owner itself may already be gone when a deferred deletion runs.
MControl::~MControl() = default;

void MControl::SetVisible(bool visible) { setVisible(visible); }

void MControl::SetEnabled(bool enabled) {
  setEnabled(enabled);
  update();
}

void MControl::SetRect(const Rect& rect) { setGeometry(rect.ToQRect()); }

void MControl::SetTooltip(const std::string& text) {
  setToolTip(QString::fromStdString(text));
  AccessibleNameChanged(this);
}

void MControl::PerformClick() {
  if (isEnabled()) OnClicked();
}

void MControl::OnFocus(bool focused) {
  if (focused) {
    setFocus(Qt::OtherFocusReason);
  } else if (hasFocus()) {
    clearFocus();
  }
}

void MControl::AddMTimer() {
  if (owner_ != nullptr) owner_->RegisterAnimated(this);
}

void MControl::RemoveMTimer() {
  if (owner_ != nullptr) owner_->UnregisterAnimated(this);
}

bool MControl::SetImage(const std::string& file, int frames) {
  const bool loaded = image_.Load(file, frames);
  update();
  return loaded;
}

void MControl::SetTextColor(uint32_t argb) {
  text_color_ = argb;
  update();
}

MControl* MControl::CreateArea(const std::string& class_name, int id, const Rect& rect,
                               const std::string& text, int visible, int enabled) {
  if (!HoldsChildren()) return nullptr;
  return ControlFactory::Build(class_name, this, owner_, id, rect, text, visible, enabled);
}

MControl* MControl::CreateControl(const std::string& class_name, int id, const Rect& rect,
                                  const std::string& text, int visible, int enabled) {
  return CreateArea(class_name, id, rect, text, visible, enabled);
}

ControlState MControl::State() const {
  return ControlState{isEnabled(), hovered_, pressed_ && hovered_, checked_};
}

int64_t MControl::Notify(NotifyCode code, int64_t extra) {
  if (owner_ == nullptr) return 0;
  return owner_->OnMessage(id_, code, extra, 0);
}

bool MControl::PaintImageFrame(QPainter& painter, const QRect& target) const {
  if (image_.IsNull()) return false;
  image_.Draw(painter, SkinImage::FrameForState(image_.Frames(), State()), target);
  return true;
}

void MControl::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  update();
  QWidget::enterEvent(event);
}

void MControl::leaveEvent(QEvent* event) {
  hovered_ = false;
  update();
  QWidget::leaveEvent(event);
}

void MControl::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressed_ = true;
    hovered_ = true;
    update();
  }
  event->accept();
}

void MControl::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  const bool inside = rect().contains(event->position().toPoint());
  hovered_ = inside;
  update();
  if (inside && isEnabled()) OnClicked();
}

void MControl::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if ((focusPolicy() & Qt::TabFocus) && !event->isAutoRepeat() &&
      (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
    PerformClick();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool MControl::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
      update();
      break;
    case QEvent::Resize:
      // Some controls keep the empty rectangle they were made with and are never seen; a
      // Tab stop there would leave the keyboard user on nothing.
      if (rect().isEmpty() && focusPolicy() != Qt::NoFocus) {
        sized_focus_policy_ = focusPolicy();
        setFocusPolicy(Qt::NoFocus);
        if (hasFocus()) clearFocus();
      } else if (!rect().isEmpty() && sized_focus_policy_ != Qt::NoFocus) {
        setFocusPolicy(sized_focus_policy_);
        sized_focus_policy_ = Qt::NoFocus;
      }
      break;
    case QEvent::Paint:
      // Still inside the paint event, after the control's own painting.
      if (hasFocus() && (focusPolicy() & Qt::TabFocus)) {
        QPainter painter(this);
        painter.setPen(QPen(ColorFromArgb(Manager::m_select_color), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
      }
      break;
    default:
      break;
  }
  return handled;
}

void MControl::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) update();
  QWidget::changeEvent(event);
}

}  // namespace corvane::DUI
