// How a text fits the area it is drawn in: as it is, wrapped onto the lines below, in a
// font at most kMaxShrinkPixels smaller, or cut with an ellipsis (its control then shows
// the full text as a tooltip) — in that order of preference. A text is never drawn wider
// or taller than its area without one of these.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

namespace corvane::DUI {

enum class TextFitMode { kFits, kWrapped, kShrunk, kElided };

// The largest font reduction, in pixels, before a text is cut instead.
constexpr int kMaxShrinkPixels = 2;

struct TextFit {
  TextFitMode mode = TextFitMode::kFits;
  QFont font;         // the font to draw with
  bool wrap = false;  // draw with word wrap
  QString shown;      // the text to draw: the whole text, or its elided start
};

// Decides how `text` in `font` is drawn into `area`. `may_wrap` allows several lines.
TextFit FitText(const QString& text, const QFont& font, const QSize& area, bool may_wrap);
// True when `area` holds at least two lines of `font`: a label there may wrap.
bool HasRoomToWrap(const QFont& font, const QSize& area);
// The size `text` takes in `font`: one line (line breaks kept), or wrapped at `width`.
QSize TextExtent(const QString& text, const QFont& font, bool wrap, int width);

// How a text was last drawn, for assistive tools and the window tests: the words drawn
// (the elided start of a cut text), where, and in which font.
struct TextLayoutRecord {
  bool drawn = false;
  QString text;   // the whole text it was drawn for
  QString shown;  // what was drawn
  TextFitMode mode = TextFitMode::kFits;
  QFont font;
  bool wrap = false;
  int flags = 0;  // Qt alignment flags
  QRect area;     // in the control's coordinates

  // Records a fit of `full` as drawn into `area` with alignment `flags`.
  static TextLayoutRecord Of(const TextFit& fit, const QString& full, const QRect& area,
                             int flags);
  // Where character `offset` of `shown` was drawn, in the control's coordinates (lines
  // laid out as drawn: wrapped at the area's width, aligned as `flags` say); empty
  // outside the text or before it was drawn.
  QRect CharacterRect(int offset) const;
};

}  // namespace corvane::DUI
