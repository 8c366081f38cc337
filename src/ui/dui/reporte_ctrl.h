// The report-rate picker: a row of rate segments, each with its text and colour mark.
// A click on a segment selects it and notifies kClick with the index.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/dui/mcontrol_font.h"

namespace corvane::DUI {

class ReporteCtrl : public MControlFont {
 public:
  static constexpr int kGap = 6;

  ReporteCtrl(QWidget* parent, MDialog* owner, int id);

  void DeleteAllItems();
  // Appends an item with its key value (the rate code) and colour (red in the low byte).
  int AddItem(const std::string& text, int key, uint32_t colour);
  int GetCount() const { return static_cast<int>(items_.size()); }
  // Selects the first item whose key is `key`; no item matching clears the selection.
  void SetSelectItemValue(int key);
  // The selected index, or -1.
  int GetSelectItem() const { return current_; }
  // The key of item `index`, or -1 when out of range.
  int GetItemKeyValue(int index) const;
  std::string GetItemText(int index) const;
  // What a click on item `index` does.
  void ChooseItem(int index);
  QRect ItemRect(int index) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct Item {
    std::string text;
    int key = 0;
    uint32_t colour = 0;
  };
  std::vector<Item> items_;
  int current_ = -1;
};

}  // namespace corvane::DUI
