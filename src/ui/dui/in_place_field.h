// A line edit laid over one row of a list for editing that row's text in place. Enter or
// leaving the field finishes the edit keeping the text, Escape drops it; either way the
// owner hears of it once, with the row and the trimmed text.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>

class QFont;
class QLineEdit;
class QRect;
class QWidget;

namespace corvane::DUI {

class InPlaceField : public QObject {
 public:
  // `finished(row, keep, text)` runs when an edit ends. `setup` prepares the field when it
  // is first made (alignment, length limit).
  using Finished = std::function<void(int row, bool keep, const std::string& text)>;
  InPlaceField(QWidget* list, Finished finished,
               std::function<void(QLineEdit&)> setup = nullptr);

  // Shows the field over `place` holding `text`, selected and focused, for `row`. An
  // edit in progress is finished first, keeping its text.
  void Begin(int row, const std::string& text, const QFont& font, const QRect& place);
  // Ends the edit in progress; nothing happens when there is none.
  void Finish(bool keep);
  // The row being edited, or -1.
  int Row() const { return row_; }
  bool Editing() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* list_;
  Finished finished_;
  std::function<void(QLineEdit&)> setup_;
  QPointer<QLineEdit> field_;
  int row_ = -1;
};

}  // namespace corvane::DUI
