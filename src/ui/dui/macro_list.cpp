// The macro list and its "more" button.
#include "ui/dui/macro_list.h"

#include "ui/dui/more_button.h"

namespace corvane::DUI {

MacroList::MacroList(QWidget* parent, MDialog* owner, int id)
    : DListBox(parent, owner, id), more_(new MoreButton(this, [this] { ShowMenu(); })) {}

int MacroList::AddString(const std::string& text, int64_t data, int) {
  return DListBox::AddString(text, data);
}

bool MacroList::DeleteItem(int index) { return DListBox::DeleteItem(index); }

void MacroList::SetEditImage(const std::string& file, int frames) {
  more_->SetImage(file, frames);
}

void MacroList::SetMoreTooltip(const std::string& text) { more_->SetTooltip(text); }

void MacroList::ShowMenu() {
  if (isEnabled()) Notify(kNotifyShowMenu, GetCurSel());
}

void MacroList::OnListChanged() {
  // The button sits on the selected row, except while that row's name is being edited.
  more_->PlaceOnRow(IsEditing() ? QRect() : ItemRect(GetCurSel()));
}

void MacroList::resizeEvent(QResizeEvent* event) {
  DListBox::resizeEvent(event);
  OnListChanged();
}

}  // namespace corvane::DUI
