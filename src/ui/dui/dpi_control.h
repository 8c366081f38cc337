// The DPI stage list: one row per stage with its value and a colour swatch. A click on a
// row selects it and notifies kClick with the index; a click on the swatch notifies
// kSwatchClick with the index; a double click (or F2) edits the value in place, and Enter
// or leaving the field notifies kEditFinished with the index (Escape drops the edit).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/dui/in_place_field.h"
#include "ui/dui/mcontrol_font.h"

namespace corvane::DUI {

class DPIControl : public MControlFont {
 public:
  static constexpr int kRowHeight = 34;
  static constexpr int kRowGap = 6;
  static constexpr int kSwatchSize = 18;

  DPIControl(QWidget* parent, MDialog* owner, int id);

  void ClearList();
  // Appends a stage; `colour` has red in the low byte. Returns its index.
  int AddItem(int value, uint32_t colour);
  int GetCount() const { return static_cast<int>(rows_.size()); }
  // Selects `index` (-1 clears) without notifying.
  void SetSelectItem(int index);
  int GetSelectItem() const { return current_; }
  // Value and colour of a row; 0 when out of range. Setters ignore bad indexes.
  int GetDPIValue(int index) const;
  void SetDPIValue(int index, int value);
  uint32_t GetDPIColorValue(int index) const;
  void SetDPIColorValue(int index, uint32_t colour);
  // The text of the last finished edit.
  const std::string& GetEditText() const { return edit_text_; }
  // The index whose swatch was clicked last (-1 before any).
  int GetColorIndex() const { return colour_index_; }

  // What a click on a row / its swatch does.
  void ChooseItem(int index);
  void ClickSwatch(int index);
  // Opens the value of `index` for editing; false when out of range.
  bool BeginEdit(int index);
  bool IsEditing() const;
  void FinishEdit(bool keep);
  void OnFocus(bool focused) override;

  // The row text as shown, and where row / swatch are drawn.
  std::string ItemText(int index) const;
  QRect ItemRect(int index) const;
  QRect SwatchRect(int index) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct Row {
    int value = 0;
    uint32_t colour = 0;
  };
  int RowAt(const QPoint& point) const;
  void OnEditFinished(int index, bool keep, const std::string& text);

  std::vector<Row> rows_;
  int current_ = -1;
  int colour_index_ = -1;
  std::string edit_text_;
  InPlaceField field_;
};

}  // namespace corvane::DUI
