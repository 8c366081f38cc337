// Base of every control: identity (id and owning dialog), visibility, rectangle, tooltip,
// skin image, text colour, mouse state for frame selection, the animation tick and the
// notification path to the owning dialog's OnMessage.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/dui/dui_types.h"
#include "ui/dui/skin_image.h"

namespace corvane::DUI {

class MDialog;

// Every widget below `root` that is a T, in creation order. Controls carry no Qt meta
// object of their own, so QObject::findChildren<T*> would hand back any widget at all
// (the line edit inside a field, a menu) as a T.
template <typename T>
std::vector<T*> ControlsOf(const QWidget* root) {
  std::vector<T*> found;
  if (root == nullptr) return found;
  for (QWidget* widget : root->findChildren<QWidget*>()) {
    if (T* control = dynamic_cast<T*>(widget)) found.push_back(control);
  }
  return found;
}

class MControl : public QWidget {
 public:
  // `owner` receives the notifications; `parent` is the widget the control sits on.
  MControl(QWidget* parent, MDialog* owner, int id);
  ~MControl() override;

  // The id given at creation (not necessarily unique within a dialog).
  int GetID() const { return id_; }
  // The dialog that receives this control's notifications.
  MDialog* GetOwner() const { return owner_; }
  // Cuts the link to the owner (its dialog is going away); notifications stop.
  void DetachOwner() { owner_ = nullptr; }

  // Shows or hides the control.
  void SetVisible(bool visible);
  // True unless the control was hidden (a hidden parent does not count).
  bool IsVisible() const { return !isHidden(); }
  // Enables or disables the control; disabled controls show their disabled frame.
  void SetEnabled(bool enabled);
  // True when the control itself is enabled.
  bool IsEnabled() const { return isEnabled(); }
  // Places the control within its parent.
  void SetRect(const Rect& rect);
  // The control's rectangle within its parent.
  Rect GetRect() const { return Rect::FromQRect(geometry()); }
  // Sets the hover text; empty removes it.
  void SetTooltip(const std::string& text);
  // Takes (true) or gives up (false) the keyboard focus.
  virtual void OnFocus(bool focused);
  // Runs the control's click exactly as a mouse click over it does (keyboard and
  // assistive tools use it); nothing happens while the control is disabled.
  void PerformClick();
  // Joins the owning dialog's animation tick (see MDialog::SetMTimer); OnMTimer then runs
  // on each tick.
  void AddMTimer();
  // Leaves the animation tick.
  void RemoveMTimer();
  // One animation tick.
  virtual void OnMTimer() {}

  // Sets the skin image with its frame count. Returns false when the image could not be
  // loaded (the control then paints its plain fallback).
  virtual bool SetImage(const std::string& file, int frames);
  // The current skin image (null when missing).
  const SkinImage& GetImage() const { return image_; }
  // Sets the text colour as 0xAARRGGBB.
  virtual void SetTextColor(uint32_t argb);
  // The text colour as 0xAARRGGBB.
  uint32_t GetTextColor() const { return text_color_; }

  // A new child of type T inside this container, prepared by PrepareControl; null on a
  // control that holds no children.
  template <typename T>
  T* Create(int id, const Rect& rect = {}, const std::string& text = {}, bool visible = true,
            bool enabled = true);
  // The same by class name ("MText", "MButton3", ...; see ControlFactory); null for an
  // unknown name or on a control that holds no children.
  MControl* CreateArea(const std::string& class_name, int id, const Rect& rect,
                       const std::string& text, int visible = 1, int enabled = 1);
  MControl* CreateControl(const std::string& class_name, int id, const Rect& rect,
                          const std::string& text, int visible = 1, int enabled = 1);

  // The control's current look for frame selection.
  ControlState State() const;

 protected:
  // True for containers (areas, page containers): only they create children.
  virtual bool HoldsChildren() const { return false; }
  // Passes `code` with `extra` to the owner's OnMessage. Returns its result, 0 without owner.
  int64_t Notify(NotifyCode code, int64_t extra = 0);
  // Runs when the left button was pressed and released over the control.
  virtual void OnClicked() {}
  // Paints the frame for the current state into `target`; false when there is no image.
  bool PaintImageFrame(QPainter& painter, const QRect& target) const;

  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Space, Enter and Return click a control that takes the keyboard focus.
  void keyPressEvent(QKeyEvent* event) override;
  // Paints the keyboard-focus outline over whatever the control painted, and keeps a
  // control laid out to nothing out of the Tab order.
  bool event(QEvent* event) override;

  SkinImage image_;
  uint32_t text_color_ = 0xFFFFFFFFu;
  bool checked_ = false;

 private:
  MDialog* owner_;
  int id_;
  bool hovered_ = false;
  bool pressed_ = false;
  // The focus policy put aside while the control has no area; NoFocus when none is.
  Qt::FocusPolicy sized_focus_policy_ = Qt::NoFocus;
};

// Gives a new control its rectangle, its title (controls with one), then its enabled and
// visible states, as every way of creating a control does.
void PrepareControl(MControl& control, const Rect& rect, const std::string& text, bool visible,
                    bool enabled);

template <typename T>
T* MControl::Create(int id, const Rect& rect, const std::string& text, bool visible, bool enabled) {
  if (!HoldsChildren()) return nullptr;
  T* control = new T(this, owner_, id);
  PrepareControl(*control, rect, text, visible, enabled);
  return control;
}

}  // namespace corvane::DUI
