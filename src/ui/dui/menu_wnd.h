// A pop-up menu of (command, text) items: the window is titled "Menu Window" so that the
// close-pop-ups operation finds it; assistive tools read it by `name` (what it is for) and
// its items as menu items.
// TrackPopup runs the menu's own loop and hands back the chosen command.
#pragma once

#include <QPoint>
#include <string>
#include <utility>
#include <vector>

class QWidget;

namespace corvane::DUI {

class MenuWnd {
 public:
  static constexpr const char* kWindowName = "Menu Window";

  MenuWnd(QWidget* owner, std::string name) : owner_(owner), name_(std::move(name)) {}

  // Appends an item that reports `command` (above 0) when chosen.
  void AddItem(int command, const std::string& text);
  int GetItemCount() const { return static_cast<int>(items_.size()); }
  // Shows the menu at `global` (screen coordinates) until an item is chosen or the menu
  // is closed. Returns the chosen command, 0 when closed without a choice.
  int TrackPopup(const QPoint& global) const;

 private:
  struct Item {
    int command;
    std::string text;
  };
  QWidget* owner_;
  std::string name_;
  std::vector<Item> items_;
};

}  // namespace corvane::DUI
