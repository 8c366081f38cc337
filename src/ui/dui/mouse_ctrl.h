// The picture of the mouse on the buttons page, with one hot spot per button: a label
// line from the button to its name. A click on a hot spot selects that button and
// notifies kClick with its button index. Positions are given in the definition's
// 400 x 300 picture space and scaled to the control. Without the model's picture a
// plain outline of a mouse is drawn in its place. The skin image (2 frames: normal,
// selected) marks each button's end of its label line.
#pragma once

#include <string>
#include <vector>

#include "ui/dui/mcontrol_font.h"

namespace corvane::DUI {

class MouseCtrl : public MControlFont {
 public:
  static constexpr int kDesignWidth = 400;
  static constexpr int kDesignHeight = 300;
  static constexpr int kHotSpotHalfHeight = 14;

  MouseCtrl(QWidget* parent, MDialog* owner, int id);

  // Adds the hot spot of `button`: its label line from (x1, y) to (x2, y), with the
  // name on the left (direction 0) or the right (direction 1) end.
  void AddButton(int button, const std::string& name, int x1, int x2, int y, int direction);
  // Removes every hot spot.
  void ResetContent();
  int GetCount() const { return static_cast<int>(spots_.size()); }
  std::string GetItemName(int index) const;
  // Sets the name shown at the hot spot of `button`; false when none.
  bool SetButtonName(int button, const std::string& name);
  // The picture of the model; false (fallback drawn) when it cannot be loaded.
  bool SetPicture(const std::string& file);
  // True when the drawn fallback stands in for the picture.
  bool IsFallback() const { return picture_.IsNull(); }
  // Selects the hot spot of `button` without notifying; false when none.
  bool SelectButton(int button);
  // The selected button index, or -1.
  int GetSelectButton() const;
  int GetCurSel() const { return current_; }
  // As a click on hot spot `index`: selects it and notifies kClick with its button index.
  void ChooseItem(int index);
  // Where hot spot `index` lies in control coordinates; empty when out of range.
  QRect ItemRect(int index) const;
  int ItemAt(const QPoint& point) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // The arrow keys choose the previous or next hot spot, as a click on it does.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct Spot {
    int button = 0;
    std::string name;
    int x1 = 0, x2 = 0, y = 0, direction = 0;
  };
  // The picture space's place in the control: scale and offset.
  double Scale() const;
  QPointF Map(double x, double y) const;
  void PaintOutline(QPainter& painter) const;

  std::vector<Spot> spots_;
  SkinImage picture_;
  int current_ = -1;
};

}  // namespace corvane::DUI
