// A read-only text interface over the words a control or item shows: the text as drawn
// (the elided start of a cut text) and where each character was drawn, so that a tool can
// tell a whole text from a cut one and see a text that runs past its control. Internal to
// the accessibility layer.
#pragma once

#include <QAccessible>
#include <QWidget>

#include "ui/dui/text_fit.h"

namespace corvane::DUI {

class ShownTextInterface : public QAccessibleTextInterface {
 public:
  // The whole text the control or item shows now.
  virtual QString WholeText() const = 0;
  // How it was last drawn, and the widget it was drawn on (null when gone).
  virtual TextLayoutRecord Layout() const = 0;
  virtual QWidget* DrawingWidget() const = 0;

  // What is on screen: the drawn words once drawn with the current text.
  QString Shown() const {
    const TextLayoutRecord layout = Layout();
    return Current(layout) ? layout.shown : WholeText();
  }

  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override {
    return Shown().mid(start, end < 0 ? -1 : end - start);
  }
  int characterCount() const override { return static_cast<int>(Shown().size()); }
  // Screen coordinates; empty until drawn with the current text.
  QRect characterRect(int offset) const override {
    const TextLayoutRecord layout = Layout();
    QWidget* widget = DrawingWidget();
    if (!Current(layout) || widget == nullptr) return {};
    const QRect local = layout.CharacterRect(offset);
    return local.isEmpty() ? QRect() : local.translated(widget->mapToGlobal(QPoint(0, 0)));
  }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return {};
  }

 private:
  bool Current(const TextLayoutRecord& layout) const {
    return layout.drawn && layout.text == WholeText();
  }
};

}  // namespace corvane::DUI
