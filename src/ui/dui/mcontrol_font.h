// A control with a title text drawn in its own font, colour and alignment. Text controls,
// buttons, edits and lists build on it.
#pragma once

#include <QFont>
#include <string>

#include "ui/dui/mcontrol.h"
#include "ui/dui/text_fit.h"

namespace corvane::DUI {

class MControlFont : public MControl {
 public:
  static constexpr int kDefaultFontPixels = 14;

  MControlFont(QWidget* parent, MDialog* owner, int id);

  // Sets the title (UTF-8).
  virtual void SetTitle(const std::string& title);
  // The title (UTF-8).
  const std::string& GetTitle() const { return title_; }
  // Sets the font face; empty uses Manager::GetFontName.
  void SetFontName(const std::string& face);
  // Sets face (empty keeps the current one), pixel size and style bits (kFontBold...).
  void SetFont(const std::string& face, int size, int style);
  // Sets the font's pixel size.
  void SetFontWidth(int size);
  // Horizontal alignment: kAlignLeft, kAlignCenter or kAlignRight.
  void SetAlignment(int alignment);
  // Vertical alignment: kVAlignTop, kVAlignCenter or kVAlignBottom.
  void SetVAlignment(int alignment);
  // Lets the title wrap onto several lines.
  void SetMultiLine(bool multi_line);
  // The width the title takes on one line in its font, for layouts that share a row.
  int TitleWidth() const;
  // How the title was last drawn (not drawn yet: `drawn` is false).
  const TextLayoutRecord& TitleLayout() const { return title_layout_; }
  // The tooltip without the whole title that a cut title adds to it.
  QString OwnToolTip() const { return toolTip() == cut_tooltip_ ? own_tooltip_ : toolTip(); }

 protected:
  // The font the title is drawn with.
  QFont TitleFont() const;
  // Qt alignment and wrapping flags for the title.
  int TitleFlags() const;
  // Draws the title into `area` with the text colour (dimmed when disabled).
  void DrawTitle(QPainter& painter, const QRect& area);
  // How `text` in the title font fits `area`: whole, wrapped (a multi-line title, or an
  // area with room for two lines), a little smaller, or cut.
  TextFit TitleFit(const QString& text, const QRect& area) const;
  // TitleFlags with the wrapping the fit chose.
  int FlagsFor(const TextFit& fit) const;
  // Keeps how `full` was drawn into `area` for TitleLayout; a cut title shows whole in
  // the tooltip.
  void RecordTitleLayout(const TextFit& fit, const QString& full, const QRect& area);
  // Runs after the title changed.
  virtual void OnTitleChanged() { update(); }
  // Runs after the font or alignment changed.
  virtual void OnFontChanged() { update(); }

  std::string title_;

 private:
  // Shows `whole` (empty: nothing) in the tooltip above the control's own tooltip.
  void ShowWholeInTooltip(const QString& whole);

  TextLayoutRecord title_layout_;
  QString own_tooltip_;
  QString cut_tooltip_;
  std::string face_;
  int size_ = kDefaultFontPixels;
  int style_ = 0;
  int alignment_ = kAlignLeft;
  int valignment_ = kVAlignCenter;
  bool multi_line_ = false;
};

}  // namespace corvane::DUI
