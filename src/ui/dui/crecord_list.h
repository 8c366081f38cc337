// The event list of the macro page: rows of (text, type, value, timestamp) drawn as a
// number, the skin's icon for the type and the text, with one selected row, scrolling,
// and a "more" button on the selected row. A click on a row notifies kClick with its
// position; the "more" button and a right click notify NotifyCode::kShowMenu with the selection.
#pragma once

#include <string>
#include <vector>

#include "ui/dui/mcontrol_font.h"

namespace corvane::DUI {

class MoreButton;

struct RecordItem {
  std::string text;
  int type = 0;
  int value = 0;
  int timestamp = 0;
  bool operator==(const RecordItem&) const = default;
};

class CRecordList : public MControlFont {
 public:
  static constexpr int kRowHeight = 32;
  static constexpr int kRowGap = 2;
  static constexpr int kNumberWidth = 64;
  static constexpr int kDelayType = 1;

  CRecordList(QWidget* parent, MDialog* owner, int id);

  // Appends an item; returns its position.
  int AddString(const std::string& text, int type, int value, int timestamp);
  // Inserts at `position` (-1 or past the end appends); returns the position used.
  int InsertString(int position, const std::string& text, int type, int value, int timestamp);
  // Replaces every item, keeping the selection when that position still exists.
  void SetRecordItems(std::vector<RecordItem> items);
  // Item `position`; an empty item when out of range.
  RecordItem GetRecordInfo(int position) const;
  // Timestamp of item `position`, 0 when out of range.
  int GetRecrodTimeStamp(int position) const { return GetRecordInfo(position).timestamp; }
  int GetItemCount() const { return static_cast<int>(items_.size()); }
  // Items that are not delays (what the recording limit counts).
  int GetEventCount() const;
  // The selected position, -1 without one.
  int GetSelectEvent() const { return current_; }
  // Selects `position` (-1 clears) without notifying and scrolls it into view.
  bool SetSelectEvent(int position);
  bool DeleteItem(int position);
  void DeleteAllItems();

  // Chooses `position` as a click does: selects it and notifies kClick with it.
  void ChooseItem(int position);
  // Asks the dialog for the list's menu (the "more" button and a right click).
  void ShowMenu();
  // Where row `position` is drawn; empty when scrolled out of view or out of range.
  QRect ItemRect(int position) const;
  // Skin images: type icons (8 frames, frame = type - 1), row background (2 frames:
  // normal, selected) and the "more" button (4 frames) with its tooltip.
  void SetIconImage(const std::string& file, int frames);
  void SetItemImage(const std::string& file, int frames);
  void SetMoreImage(const std::string& file, int frames);
  void SetMoreTooltip(const std::string& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  int VisibleRows() const;
  void ScrollTo(int position);
  void Changed();

  std::vector<RecordItem> items_;
  int current_ = -1;
  int first_ = 0;  // first row shown
  SkinImage icons_;
  SkinImage row_image_;
  MoreButton* more_;
};

}  // namespace corvane::DUI
