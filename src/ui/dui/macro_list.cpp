// The macro list and its "more" button.
#include "ui/dui/macro_list.h"

#include <QKeyEvent>

#include "ui/dui/more_button.h"

namespace corvane::DUI {

MacroList::MacroList(QWidget* parent, MDialog* owner, int id)
    : DListBox(parent, owner, id), more_(new MoreButton(this, [this] { ShowMenu(); })) {
  // The page shows the selected macro's events, and "Clear" and "Delete" act on the macro
  // shown: the row the keyboard moves to must be the one shown.
  SetChooseOnMove(true);
}

int MacroList::AddString(const std::string& text, int64_t data, int) {
  return DListBox::AddString(text, data);
}

bool MacroList::DeleteItem(int index) { return DListBox::DeleteItem(index); }

void MacroList::SetEditImage(const std::string& file, int frames) {
  more_->SetImage(file, frames);
}

void MacroList::SetMoreTooltip(const std::string& text) { more_->SetTooltip(text); }

void MacroList::ShowMenu() {
  if (isEnabled()) Notify(NotifyCode::kShowMenu, GetCurSel());
}

void MacroList::OnListChanged() {
  // The button sits on the selected row, except while that row's name is being edited;
  // with no row selected it takes the first row's place.
  const QRect first(0, 0, width(), kRowHeight);
  more_->PlaceOnRow(IsEditing() ? QRect() : GetCurSel() >= 0 ? ItemRect(GetCurSel()) : first);
}

void MacroList::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && !IsEditing() && isEnabled() && GetCurSel() >= 0) {
    Notify(NotifyCode::kDeleteItem, GetCurSel());  // the page asks before it deletes
    event->accept();
    return;
  }
  const bool menu_key = event->key() == Qt::Key_Menu ||
                        (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
  if (!menu_key || IsEditing()) {
    DListBox::keyPressEvent(event);
    return;
  }
  ShowMenu();
  event->accept();
}

void MacroList::resizeEvent(QResizeEvent* event) {
  DListBox::resizeEvent(event);
  OnListChanged();
}

}  // namespace corvane::DUI
