// A window with controls and the program's hooks. Create runs InitUI once, then UISize,
// then OnInitDialog; every later size change runs UISize; controls notify OnMessage;
// activation changes reach OnNcActivate; messages reach OnWindowMessage.
#pragma once

#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "ui/dui/mcontrol.h"
#include "ui/dui/mwindow.h"
#include "ui/dui/skin_image.h"

class QTimer;

namespace corvane::DUI {

class MDialog : public MWindow {
 public:
  MDialog();
  ~MDialog() override;

  // Hooks, in slot order.
  // A close message (kMessageClose) ends the modal loop with its wparam; others return 0.
  int64_t OnWindowMessage(uint32_t message, int64_t wparam, int64_t lparam) override;
  // Runs after InitUI and the first UISize. Returns 1.
  virtual int OnInitDialog();
  // Builds the controls; runs once, with the client rectangle.
  virtual void InitUI(const Rect& rect);
  // Lays the controls out; runs after InitUI and after every size change.
  virtual void UISize(const Rect& rect);
  // A control notification: control id, code, extra value. Returns 1 when handled, else 0.
  virtual int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t extra2);
  // The window gained (true) or lost (false) activation. Returns 1.
  virtual int OnNcActivate(bool active);
  // Timer `id` set with SetTimer fired.
  void OnTimer(int id) override;

  // Opens the window (MWindow::Create); the template below creates controls on it.
  using MWindow::Create;
  // A new control of type T on the dialog, prepared by PrepareControl; null before the
  // window is open.
  template <typename T>
  T* Create(int id, const Rect& rect = {}, const std::string& text = {}, bool visible = true,
            bool enabled = true) {
    QWidget* root = GetSafeHwnd();
    if (root == nullptr) return nullptr;
    T* control = new T(root, this, id);
    PrepareControl(*control, rect, text, visible, enabled);
    return control;
  }
  // Create a control of `class_name` on the dialog (null for an unknown class or
  // before Create). Areas are static pieces, controls interactive ones.
  MControl* CreateArea(const std::string& class_name, int id, const Rect& rect,
                       const std::string& text, int visible = 1, int enabled = 1);
  MControl* CreateControl(const std::string& class_name, int id, const Rect& rect,
                          const std::string& text, int visible = 1, int enabled = 1);
  // The first control created with `id` (searching inside containers), or null.
  MControl* GetControl(int id) const;
  // The same when it is a T, else null.
  template <typename T>
  T* GetControl(int id) const {
    return dynamic_cast<T*>(GetControl(id));
  }
  // Ends the modal loop with 1.
  void DoOK();
  // Ends the modal loop with 2.
  void DoCancel();
  // Starts the animation tick every `interval_ms` (stops it for 0 or less).
  void SetMTimer(int interval_ms);
  // Gives `control` the keyboard focus (null clears the focus).
  void SetFocusControl(MControl* control);
  // Sets the background image (1 frame). Returns false when it could not be loaded.
  bool LoadBKImage(const std::string& file);
  // How the background image fills the window: mode 1 keeps `margin` pixels of each
  // corner, any other mode stretches it.
  void SetBackMode(int mode, int margin);
  // Makes the window translucent where its background image is.
  void SetLayeredWindow(bool layered);
  // Minimises the window.
  void OnMinimize();
  // Maximises the window, or restores it when it is maximised.
  void OnMaximize();

  // Animation tick membership (used by MControl::AddMTimer).
  void RegisterAnimated(MControl* control);
  void UnregisterAnimated(MControl* control);

 protected:
  void OnCreated() override;
  void PaintWindow(QPainter& painter) override;
  void HandleResize() override;
  void HandleActivation(bool active) override;

 private:
  bool ui_ready_ = false;
  Rect laid_out_;
  SkinImage back_image_;
  int back_mode_ = 0;
  int back_margin_ = 0;
  bool layered_ = false;
  std::unique_ptr<QTimer> animation_;
  std::vector<QPointer<MControl>> animated_;
};

}  // namespace corvane::DUI
