// The button list of the buttons page: one row per mouse button with its name on the
// left and the description of its current function on the right, drawn over a 2-frame
// row image (normal, selected). A click on a row selects it and notifies kClick with
// the row's button index.
#pragma once

#include <string>
#include <vector>

#include "ui/dui/mcontrol_font.h"

namespace corvane::DUI {

class MouseKeyCtrl : public MControlFont {
 public:
  static constexpr int kDefaultRowHeight = 45;
  static constexpr int kRowGap = 2;
  static constexpr int kTextPadding = 12;

  MouseKeyCtrl(QWidget* parent, MDialog* owner, int id);

  // Appends a row for button `button`. Returns its index.
  int AddItem(int button, const std::string& name, const std::string& desc);
  // Removes every row.
  void ResetContent();
  int GetCount() const { return static_cast<int>(rows_.size()); }
  // Sets the description of the row of `button`; false when no row carries it.
  bool SetItemKeyDesc(int button, const std::string& desc);
  // Sets the name of the row of `button`; false when no row carries it.
  bool SetItemName(int button, const std::string& name);
  std::string GetItemName(int index) const;
  std::string GetItemKeyDesc(int index) const;
  // The button index of row `index`, or -1 when out of range.
  int GetItemButton(int index) const;
  // The selected row, or -1.
  int GetCurSel() const { return current_; }
  // Selects `index` (-1 clears) without notifying. False when out of range.
  bool SetCurSel(int index);
  // Selects the row of `button` without notifying. False (selection kept) when none.
  bool SelectButton(int button);
  // The button index of the selected row, or -1.
  int GetCurButton() const { return GetItemButton(current_); }
  // As a click on row `index`: selects it and notifies kClick with its button index.
  void ChooseItem(int index);
  // Height of each row in pixels (the page scales it).
  void SetRowHeight(int height);
  int RowHeight() const { return row_height_; }
  // Where row `index` is drawn; empty when out of range or below the visible area.
  QRect ItemRect(int index) const;
  int ItemAt(const QPoint& point) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct Row {
    int button = 0;
    std::string name;
    std::string desc;
  };
  int IndexOf(int button) const;

  std::vector<Row> rows_;
  int current_ = -1;
  int row_height_ = kDefaultRowHeight;
};

}  // namespace corvane::DUI
