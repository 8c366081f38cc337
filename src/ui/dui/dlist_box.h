// A list of (text, data) rows drawn over a 2-frame row image (normal, selected). A click
// on a row selects it and notifies kClick with its index. Rows that do not fit scroll: the
// wheel and a scroll bar (shown only then) move them, and the keyboard keeps the selected
// row in view. A right click (or F2) opens
// the row's text for editing in place (a left click may close the list's dialog); Enter or leaving
// the field keeps the new text (an empty one is refused) and notifies kEditFinished with the index,
// Escape drops it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/dui/in_place_field.h"
#include "ui/dui/mcontrol_font.h"

class QScrollBar;

namespace corvane::DUI {

class DListBox : public MControlFont {
 public:
  static constexpr int kRowHeight = 36;
  static constexpr int kRowGap = 4;
  static constexpr int kScrollBarWidth = 10;

  DListBox(QWidget* parent, MDialog* owner, int id);

  // Appends a row. Returns its index.
  int AddString(const std::string& text, int64_t data = 0);
  // Removes every row (and drops an edit in progress).
  void ResetContent();
  int GetCount() const { return static_cast<int>(rows_.size()); }
  // The text of row `index`, or empty when out of range.
  std::string GetItemText(int index) const;
  // Removes row `index`; a later selected row moves up with it, a removed selection is
  // cleared. Returns false when out of range.
  bool DeleteItem(int index);
  // Replaces the text of row `index`; ignores bad indexes.
  void SetItemText(int index, const std::string& text);
  // The data of row `index`, or -1 when out of range.
  int64_t GetItemData(int index) const;
  // The selected row, or -1.
  int GetCurSel() const { return current_; }
  // Selects `index` (-1 clears) without notifying and scrolls it into view. Returns false
  // when out of range.
  bool SetCurSel(int index);
  // Selects the first row carrying `data`; false (selection kept) when none does.
  bool SetCurData(int64_t data);
  // The data of the selected row, or -1 without selection.
  int64_t GetCurData() const { return GetItemData(current_); }
  // Chooses `index` as a click on it does: selects it and notifies kClick with the index.
  void ChooseItem(int index);
  // Whether the arrow, paging and Home/End keys choose the row they move to (for lists whose
  // page shows the selected row's content) or only select it until Enter (the default).
  void SetChooseOnMove(bool choose) { choose_on_move_ = choose; }
  // Where row `index` is drawn; empty when out of range or scrolled out of view.
  QRect ItemRect(int index) const;
  // The first row shown, and how many whole rows the area holds (at least 1).
  int TopIndex() const { return first_; }
  int VisibleRows() const;
  // Shows rows from `index` on, as far as the rows below allow.
  void SetTopIndex(int index);
  // Scrolls the least that brings row `index` into view.
  void EnsureVisible(int index);
  // True while the rows overflow the area and the scroll bar shows.
  bool HasScrollBar() const;
  // The row under `point`, or -1.
  int ItemAt(const QPoint& point) const;

  // Opens row `index` for editing in place. Returns false when out of range.
  bool BeginEdit(int index);
  // True while a row is being edited.
  bool IsEditing() const;
  // Ends an edit: `keep` stores a non-empty new text and notifies kEditFinished.
  void FinishEdit(bool keep);
  // The text typed in the last finished edit (may be empty).
  const std::string& LastEditText() const { return last_edit_; }
  // Losing the focus also finishes an edit in progress, keeping its text.
  void OnFocus(bool focused) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // Runs after the rows, the selection or the editing state changed.
  virtual void OnListChanged() {}

 private:
  struct Row {
    std::string text;
    int64_t data = 0;
  };
  void OnEditFinished(int index, bool keep, const std::string& text);
  // Fits the scroll bar to the rows and the area, keeping the top row in range.
  void UpdateScrollBar();
  void MoveSelection(int index);

  std::vector<Row> rows_;
  int current_ = -1;
  bool choose_on_move_ = false;
  int first_ = 0;  // first row shown
  int wheel_rest_ = 0;  // wheel movement short of a whole row
  std::string last_edit_;
  InPlaceField field_;
  QScrollBar* bar_;
};

}  // namespace corvane::DUI
