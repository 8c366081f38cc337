// The macro list: DListBox rows (name, macro id) whose names are edited in place, plus a
// "more" button on the selected row (on the first row's place while nothing is selected,
// so an empty list still offers its import menu) that asks the dialog for the list's menu
// (NotifyCode::kShowMenu with the selected row). The Menu key and Shift+F10 ask as well. A right
// click edits a name, as in DListBox.
#pragma once

#include <string>

#include "ui/dui/dlist_box.h"

namespace corvane::DUI {

class MoreButton;

class MacroList : public DListBox {
 public:
  MacroList(QWidget* parent, MDialog* owner, int id);

  // Appends a macro; `position` -1 appends (rows are never inserted in between).
  int AddString(const std::string& text, int64_t data, int position = -1);
  // Replaces a row's text.
  void ModifyItemString(int index, const std::string& text) { SetItemText(index, text); }
  // Removes row `index`; the selection is cleared when it was that row.
  bool DeleteItem(int index);
  // The "more" button's picture (4 frames) and its tooltip (its accessible name).
  void SetEditImage(const std::string& file, int frames);
  void SetMoreTooltip(const std::string& text);
  // Asks the dialog for the list's menu, as the "more" button does.
  void ShowMenu();

 protected:
  void OnListChanged() override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  MoreButton* more_;
};

}  // namespace corvane::DUI
