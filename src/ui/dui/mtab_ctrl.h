// The tab strip: items stacked from the top, each with an id, a title, an icon and
// optionally the page container it shows. A click on another item selects it, shows its
// page, hides the other items' pages and notifies the owner with kValueChanged and the index.
#pragma once

#include <QPointer>
#include <string>
#include <vector>

#include "ui/dui/mcontrol_font.h"

namespace corvane::DUI {

class MTabCtrl : public MControlFont {
 public:
  static constexpr int kDefaultItemHeight = 40;
  static constexpr int kIconLeft = 24;
  static constexpr int kIconTextGap = 12;

  MTabCtrl(QWidget* parent, MDialog* owner, int id);

  // Appends an item; `page` (may be null) is shown while the item is selected. Returns
  // the item's position.
  int InsertItem(int item_id, const std::string& text, const std::string& icon,
                 MControl* page = nullptr);
  // Number of items.
  int GetItemCount() const { return static_cast<int>(items_.size()); }
  // The id of the item at `index`, or -1 when out of range.
  int GetItemID(int index) const;
  // The selected position, or -1.
  int GetCurSel() const { return current_; }
  // Selects `index` and switches the pages, without notifying. Returns false when out of
  // range or hidden.
  bool SetCurSel(int index);
  // Chooses `index` as a click on it does: selects it, switches the pages and notifies
  // kValueChanged with the index; the selected item and bad indexes do nothing.
  void ChooseItem(int index);
  // The title of item `index`, or empty when out of range.
  std::string GetItemText(int index) const;
  // The title of the item that shows `page`, or empty when none does.
  std::string GetPageTitle(const MControl* page) const;
  // Changes an item's title (re-labelling); ignores bad indexes.
  void SetItemText(int index, const std::string& text);
  // Shows or hides one item; the visible items close up, and a hidden item can be neither
  // clicked nor shown as its page. Ignores bad indexes.
  void SetItemVisible(int index, bool visible);
  // False for a hidden item or a bad index.
  bool IsItemVisible(int index) const;
  // Shows or hides the strip.
  void SetTabCtrlVisible(bool visible) { SetVisible(visible); }
  // Overall strip size hints (kept for callers; items use the item sizes).
  void SetTabCtrlWidth(int width) { strip_width_ = width; }
  void SetTabCtrlHeight(int height) { strip_height_ = height; }
  // Space left of and right of the items, above and below them.
  void SetLeftRightPading(int left, int right);
  void SetTopBottomPading(int top, int bottom);
  // Item width and height (minimum, maximum, fixed flag); the minimum is used.
  void SetItemWidth(int min_width, int max_width, int fixed);
  void SetItemHeight(int min_height, int max_height, int fixed);
  // The rectangle of item `index` inside the strip; empty when out of range or hidden.
  QRect ItemRect(int index) const;
  // How item `index`'s text was last drawn.
  TextLayoutRecord ItemLayout(int index) const;
  // The item under `point`, or -1.
  int ItemAt(const QPoint& point) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Up and Down choose the neighbouring item.
  void keyPressEvent(QKeyEvent* event) override;
  // Tooltips of cut items.
  bool event(QEvent* event) override;

 private:
  struct Item {
    int id = 0;
    std::string text;
    SkinImage icon;
    QPointer<MControl> page;
    bool visible = true;
    TextLayoutRecord layout;
  };
  void PaintItem(QPainter& painter, int index);

  std::vector<Item> items_;
  int current_ = -1;
  int hovered_item_ = -1;
  int strip_width_ = 0;
  int strip_height_ = 0;
  int pad_left_ = 0;
  int pad_right_ = 0;
  int pad_top_ = 0;
  int pad_bottom_ = 0;
  int item_width_ = 0;
  int item_height_ = kDefaultItemHeight;
};

}  // namespace corvane::DUI
