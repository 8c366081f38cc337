// A drop-down list: a 4-frame box showing the current item, and a pop-up list of
// (text, data) items. Choosing another item notifies the owner with kValueChanged and the index.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/dui/mcontrol_font.h"

namespace corvane::DUI {

class MComboBox : public MControlFont {
 public:
  static constexpr int kTextPadding = 10;
  static constexpr int kArrowWidth = 24;

  MComboBox(QWidget* parent, MDialog* owner, int id);

  // Appends an item. Returns its index.
  int AddString(const std::string& text, int64_t data = 0);
  // Removes every item.
  void ResetContent();
  // Number of items.
  int GetCount() const { return static_cast<int>(items_.size()); }
  // The selected index, or -1.
  int GetCurSel() const { return current_; }
  // Selects `index` (-1 clears) without notifying. Returns false when out of range.
  bool SetCurSel(int index);
  // The data of item `index`, or -1 when out of range.
  int64_t GetItemData(int index) const;
  // The text of item `index`, or empty when out of range.
  std::string GetItemText(int index) const;
  // Selects the first item carrying `data`. Returns false (selection kept) when none does.
  bool SelectData(int64_t data);
  // The data of the selected item, or -1 without selection.
  int64_t GetCurData() const { return GetItemData(current_); }
  // Marks the box as switched on (the "MComboBox2" look: accent colour text). A box that
  // can be marked is a function list: choosing the item it shows, marked or not, is a
  // choice too, not "nothing changed".
  void SetCheck(bool checked);
  // True when switched on.
  bool GetCheck() const { return checked_; }
  // Chooses `index` as the user does: selects it and notifies when it changed (a function
  // list always notifies).
  void ChooseItem(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void OnClicked() override;

 private:
  struct Item {
    std::string text;
    int64_t data = 0;
  };
  std::vector<Item> items_;
  int current_ = -1;
  bool markable_ = false;  // SetCheck was used: the box is a function list
};

using MComboBox2 = MComboBox;

}  // namespace corvane::DUI
