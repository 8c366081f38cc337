// A one-line text field over a 4-frame skin (normal, hover, focus, disabled). Typing
// notifies kValueChanged, finishing an edit (Enter or leaving the field) kEditFinished,
// gaining the focus kFocusGained. In number mode only digits are accepted (NumberEdit builds on it).
#pragma once

#include <QPointer>
#include <string>

#include "ui/dui/mcontrol_font.h"

class QLineEdit;

namespace corvane::DUI {

class MEdit : public MControlFont {
 public:
  static constexpr int kTextPadding = 8;

  MEdit(QWidget* parent, MDialog* owner, int id);

  // Sets the grey hint shown while the field is empty.
  void SetHint(const std::string& hint);
  // Accepts digits only (and at most `max_digits` of them when positive).
  void SetNumberOnly(bool number_only, int max_digits = 0);
  // Limits the text length in characters.
  void SetMaxLength(int length);
  // The field's current text as a number (0 when empty or not numeric).
  int GetNumber() const;
  void OnFocus(bool focused) override;
  void SetTextColor(uint32_t argb) override;
  bool SetImage(const std::string& file, int frames) override;

 protected:
  void OnTitleChanged() override;
  void OnFontChanged() override { StyleField(); }
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void StyleField();
  QLineEdit* field_;
  bool focused_ = false;
};


}  // namespace corvane::DUI
