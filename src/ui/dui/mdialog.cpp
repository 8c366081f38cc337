// Dialog hooks, control creation and the animation tick.
#include "ui/dui/mdialog.h"

#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "ui/dui/control_factory.h"

namespace corvane::DUI {
namespace {

constexpr int kBackModeSliced = 1;

}  // namespace

MDialog::MDialog() = default;

MDialog::~MDialog() {
  animated_.clear();
  DestroyWindow();
}

int64_t MDialog::OnWindowMessage(uint32_t message, int64_t wparam, int64_t) {
  if (message == kMessageClose) {
    EndModal(static_cast<int>(wparam));
    return 0;
  }
  return 0;
}

int MDialog::OnInitDialog() { return 1; }

void MDialog::InitUI(const Rect&) {}

void MDialog::UISize(const Rect&) {}

int64_t MDialog::OnMessage(int, NotifyCode, int64_t, int64_t) { return 0; }

int MDialog::OnNcActivate(bool) { return 1; }

void MDialog::OnTimer(int) {}

MControl* MDialog::CreateArea(const std::string& class_name, int id, const Rect& rect,
                              const std::string& text, int visible, int enabled) {
  QWidget* root = GetSafeHwnd();
  if (root == nullptr) return nullptr;
  return ControlFactory::Build(class_name, root, this, id, rect, text, visible, enabled);
}

MControl* MDialog::CreateControl(const std::string& class_name, int id, const Rect& rect,
                                 const std::string& text, int visible, int enabled) {
  return CreateArea(class_name, id, rect, text, visible, enabled);
}

MControl* MDialog::GetControl(int id) const {
  QWidget* root = GetSafeHwnd();
  if (root == nullptr) return nullptr;
  for (MControl* control : ControlsOf<MControl>(root)) {
    if (control->GetID() == id) return control;
  }
  return nullptr;
}

void MDialog::DoOK() { EndModal(kModalOk); }

void MDialog::DoCancel() { EndModal(kModalCancel); }

void MDialog::SetMTimer(int interval_ms) {
  if (interval_ms <= 0) {
    if (animation_) animation_->stop();
    return;
  }
  if (!animation_) {
    animation_ = std::make_unique<QTimer>();
    QObject::connect(animation_.get(), &QTimer::timeout, [this] {
      // Copy: a tick may add or remove members.
      const auto members = animated_;
      for (const QPointer<MControl>& control : members) {
        if (control != nullptr) control->OnMTimer();
      }
    });
  }
  animation_->start(interval_ms);
}

void MDialog::SetFocusControl(MControl* control) {
  if (control != nullptr) {
    control->OnFocus(true);
  } else if (QWidget* root = GetSafeHwnd()) {
    if (QWidget* focused = root->focusWidget()) focused->clearFocus();
  }
}

bool MDialog::LoadBKImage(const std::string& file) {
  const bool loaded = back_image_.Load(file, 1);
  InvalidateRect();
  return loaded;
}

void MDialog::SetBackMode(int mode, int margin) {
  back_mode_ = mode;
  back_margin_ = std::max(0, margin);
  InvalidateRect();
}

void MDialog::SetLayeredWindow(bool layered) {
  layered_ = layered;
  if (QWidget* root = GetSafeHwnd()) root->setAttribute(Qt::WA_TranslucentBackground, layered);
}

void MDialog::OnMinimize() { ShowWindow(kShowMinimized); }

void MDialog::OnMaximize() {
  if (QWidget* root = GetSafeHwnd()) {
    if (root->isMaximized()) {
      root->showNormal();
    } else {
      root->showMaximized();
    }
  }
}

void MDialog::RegisterAnimated(MControl* control) {
  if (control == nullptr) return;
  for (const auto& member : animated_) {
    if (member == control) return;
  }
  animated_.emplace_back(control);
}

void MDialog::UnregisterAnimated(MControl* control) {
  animated_.erase(std::remove_if(animated_.begin(), animated_.end(),
                                 [control](const QPointer<MControl>& member) {
                                   return member == nullptr || member == control;
                                 }),
                  animated_.end());
}

void MDialog::OnCreated() {
  const Rect client = GetClientRect();
  InitUI(client);
  ui_ready_ = true;
  laid_out_ = client;
  UISize(client);
  OnInitDialog();
}

void MDialog::PaintWindow(QPainter& painter) {
  QWidget* root = GetSafeHwnd();
  if (root == nullptr) return;
  if (back_image_.IsNull()) {
    if (!layered_) MWindow::PaintWindow(painter);
    return;
  }
  const int margin = back_mode_ == kBackModeSliced ? back_margin_ : 0;
  back_image_.Draw(painter, 0, root->rect(), QMargins(margin, margin, margin, margin));
}

void MDialog::HandleResize() {
  if (!ui_ready_) return;
  const Rect client = GetClientRect();
  if (client == laid_out_) return;
  laid_out_ = client;
  UISize(client);
}

void MDialog::HandleActivation(bool active) { OnNcActivate(active); }

}  // namespace corvane::DUI
