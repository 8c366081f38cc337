// A skinned push button with a small icon left of its title (profile button, record
// button).
#pragma once

#include "ui/dui/mbutton.h"

namespace corvane::DUI {

class CIconButton : public MButton {
 public:
  static constexpr int kIconPadding = 12;

  CIconButton(QWidget* parent, MDialog* owner, int id);

  // Sets the icon (1 frame, skin folder). Returns false when it could not be loaded.
  bool SetIcon(const std::string& file);
  // The icon image (null when missing).
  const SkinImage& GetIcon() const { return icon_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  SkinImage icon_;
};

}  // namespace corvane::DUI
