// Number field.
#include "ui/dui/number_edit.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace corvane::DUI {

NumberEdit::NumberEdit(QWidget* parent, MDialog* owner, int id) : MEdit(parent, owner, id) {
  auto* field = findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
  field->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QString("-?[0-9]{0,%1}").arg(kMaxDigits)), field));
  // Connected after MEdit's own handler: kEditFinished has run (and may have corrected the
  // text) when this one confirms.
  QObject::connect(field, &QLineEdit::editingFinished, field, [this] { Confirm(); });
}

void NumberEdit::SetConfirmedText(const std::string& text) {
  confirmed_ = text;
  SetTitle(text);
}

void NumberEdit::Confirm() {
  if (GetTitle() == confirmed_) return;
  confirmed_ = GetTitle();
  Notify(NotifyCode::kClick);
}

}  // namespace corvane::DUI
