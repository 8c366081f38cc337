#include "ui/dui/in_place_field.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace corvane::DUI {

InPlaceField::InPlaceField(QWidget* list, Finished finished,
                           std::function<void(QLineEdit&)> setup)
    : QObject(list), list_(list), finished_(std::move(finished)), setup_(std::move(setup)) {}

void InPlaceField::Begin(int row, const std::string& text, const QFont& font,
                         const QRect& place) {
  Finish(true);
  if (field_ == nullptr) {
    field_ = new QLineEdit(list_);
    if (setup_) setup_(*field_);
    field_->installEventFilter(this);
  }
  row_ = row;
  const QString shown = QString::fromStdString(text);
  field_->setAccessibleName(shown);
  field_->setFont(font);
  field_->setText(shown);
  field_->setGeometry(place);
  field_->selectAll();
  field_->show();
  // Typing must reach the field even when its window was not made active yet.
  list_->window()->activateWindow();
  field_->setFocus(Qt::OtherFocusReason);
}

bool InPlaceField::Editing() const { return field_ != nullptr && field_->isVisible(); }

void InPlaceField::Finish(bool keep) {
  if (row_ < 0 || field_ == nullptr) return;
  const int row = row_;
  row_ = -1;  // first: hiding the field moves the focus, which lands here again
  const std::string text = field_->text().trimmed().toStdString();
  // Ended with Enter or Escape, the keyboard stays on the list instead of going on to
  // whatever control comes next.
  if (QApplication::focusWidget() == field_) list_->setFocus(Qt::OtherFocusReason);
  field_->hide();
  if (finished_) finished_(row, keep, text);
}

bool InPlaceField::eventFilter(QObject* watched, QEvent* event) {
  if (watched == field_ && row_ >= 0) {
    if (event->type() == QEvent::FocusOut) {
      Finish(true);
    } else if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      // Taken here, so the key does not go on to the list, where Enter would choose the row
      // or open the editor again.
      if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
        Finish(key != Qt::Key_Escape);
        return true;
      }
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace corvane::DUI
