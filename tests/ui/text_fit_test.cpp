// The fitting rule for texts in a fixed area: fits, else wraps where there is room below,
// else a font at most two pixels smaller, else one line cut with an ellipsis — measured
// against the font's own metrics, so the cases hold for whatever fonts the machine has.
#include <QFontMetrics>

#include <gtest/gtest.h>

#include "ui/dui/text_fit.h"

namespace corvane::DUI {
namespace {

const QString kPhrase = QStringLiteral("Keyboard shortcut settings of the mouse");

QFont Font(int pixels) {
  QFont font;
  font.setPixelSize(pixels);
  return font;
}

// A line's width as the rule measures it (its drawn bounds).
int Width(const QString& text, int pixels) { return TextExtent(text, Font(pixels), false, 0).width(); }
int LineHeight(int pixels) { return QFontMetrics(Font(pixels)).height(); }

TEST(TextFit, AWholeLineIsDrawnAsItIs) {
  const QSize area(Width(kPhrase, 14) + 1, LineHeight(14));
  const TextFit fit = FitText(kPhrase, Font(14), area, true);
  EXPECT_EQ(fit.mode, TextFitMode::kFits);
  EXPECT_FALSE(fit.wrap);
  EXPECT_EQ(fit.shown, kPhrase);
  EXPECT_EQ(fit.font.pixelSize(), 14);
  // A single line lower than its font still counts as fitting: it is drawn centred.
  EXPECT_EQ(FitText(kPhrase, Font(14), QSize(area.width(), 6), false).mode, TextFitMode::kFits);
  EXPECT_EQ(FitText(QString(), Font(14), QSize(0, 0), false).mode, TextFitMode::kFits);
}

TEST(TextFit, WrapsBeforeShrinkingWhenTheAreaHasRoomBelow) {
  const int width = Width(kPhrase, 14) * 6 / 10;
  const QSize tall(width, 3 * LineHeight(14));
  ASSERT_TRUE(HasRoomToWrap(Font(14), tall));
  const TextFit fit = FitText(kPhrase, Font(14), tall, true);
  EXPECT_EQ(fit.mode, TextFitMode::kWrapped);
  EXPECT_TRUE(fit.wrap);
  EXPECT_EQ(fit.font.pixelSize(), 14);
  EXPECT_EQ(fit.shown, kPhrase);
  const QSize drawn = TextExtent(fit.shown, fit.font, true, width);
  EXPECT_LE(drawn.width(), tall.width());
  EXPECT_LE(drawn.height(), tall.height());
  // Without room for two lines, the same width does not wrap.
  EXPECT_FALSE(HasRoomToWrap(Font(14), QSize(width, LineHeight(14))));
  EXPECT_NE(FitText(kPhrase, Font(14), QSize(width, LineHeight(14)), false).mode,
            TextFitMode::kWrapped);
}

TEST(TextFit, ShrinksByAtMostTwoPixelsBeforeCutting) {
  const int one_smaller = Width(kPhrase, 13);
  ASSERT_LT(one_smaller, Width(kPhrase, 14));
  const TextFit shrunk = FitText(kPhrase, Font(14), QSize(one_smaller, LineHeight(14)), false);
  EXPECT_EQ(shrunk.mode, TextFitMode::kShrunk);
  EXPECT_EQ(shrunk.font.pixelSize(), 13);
  EXPECT_EQ(shrunk.shown, kPhrase);
  EXPECT_LE(TextExtent(shrunk.shown, shrunk.font, false, 0).width(), one_smaller);

  const int two_smaller = Width(kPhrase, 12);
  EXPECT_EQ(FitText(kPhrase, Font(14), QSize(two_smaller, 20), false).font.pixelSize(), 12);
  // Three pixels smaller would fit, but that is too small to read: cut instead.
  const int three_smaller = Width(kPhrase, 11);
  ASSERT_LT(three_smaller, two_smaller);
  const TextFit cut = FitText(kPhrase, Font(14), QSize(three_smaller, 20), false);
  EXPECT_EQ(cut.mode, TextFitMode::kElided);
  EXPECT_EQ(cut.font.pixelSize(), 14);
}

TEST(TextFit, CutsOneLineWithAnEllipsisThatStaysInsideTheArea) {
  const QSize narrow(Width(kPhrase, 14) / 3, 3 * LineHeight(14));
  const TextFit cut = FitText(kPhrase, Font(14), narrow, true);
  EXPECT_EQ(cut.mode, TextFitMode::kElided);
  EXPECT_FALSE(cut.wrap);
  EXPECT_TRUE(cut.shown.endsWith(QChar(0x2026))) << cut.shown.toStdString();
  EXPECT_TRUE(kPhrase.startsWith(cut.shown.chopped(1)));
  EXPECT_LE(TextExtent(cut.shown, cut.font, false, 0).width(), narrow.width());
  // A word longer than the area cannot wrap: it is shrunk or cut, never drawn past the edge.
  const QString word = QStringLiteral("Продуктивність");
  const TextFit long_word =
      FitText(word, Font(14), QSize(Width(word, 14) / 2, 4 * LineHeight(14)), true);
  EXPECT_EQ(long_word.mode, TextFitMode::kElided);
  // Line breaks of a cut text become spaces: one line is drawn.
  const TextFit lines = FitText(QStringLiteral("First line\nsecond line of text"), Font(14),
                                QSize(Width(QStringLiteral("First"), 14), LineHeight(14)), false);
  EXPECT_FALSE(lines.shown.contains('\n'));
}

// The union of every drawn character's rectangle.
QRect Drawn(const TextLayoutRecord& record) {
  QRect all;
  for (int i = 0; i < record.shown.size(); ++i) all |= record.CharacterRect(i);
  return all;
}

TEST(TextFit, RecordPlacesEachCharacterWhereItWasDrawn) {
  const QRect narrow(10, 5, Width(kPhrase, 14) / 3, 3 * LineHeight(14));
  const TextLayoutRecord cut = TextLayoutRecord::Of(FitText(kPhrase, Font(14), narrow.size(), true),
                                                    kPhrase, narrow, Qt::AlignLeft | Qt::AlignVCenter);
  EXPECT_EQ(cut.text, kPhrase);
  EXPECT_NE(cut.shown, kPhrase);
  EXPECT_TRUE(narrow.contains(Drawn(cut))) << Drawn(cut).x() << "+" << Drawn(cut).width();

  // Drawn whole on one line into a narrower area, a text runs past its right edge: what
  // the window tests look for.
  const QRect low(0, 0, Width(kPhrase, 14) / 2, LineHeight(14));
  const TextLayoutRecord clipped = TextLayoutRecord::Of(
      {TextFitMode::kFits, Font(14), false, kPhrase}, kPhrase, low, Qt::AlignLeft);
  EXPECT_GT(Drawn(clipped).right(), low.right());

  // Right-aligned, the last character ends at the area's right edge.
  const QRect wide(0, 0, 2 * Width(kPhrase, 14), LineHeight(14));
  const TextLayoutRecord right = TextLayoutRecord::Of(FitText(kPhrase, Font(14), wide.size(), false),
                                                      kPhrase, wide, Qt::AlignRight);
  EXPECT_NEAR(right.CharacterRect(kPhrase.size() - 1).right(), wide.right(), 2);
  EXPECT_GT(right.CharacterRect(0).left(), wide.width() / 3);

  // Wrapped, the last word lies below the first and every line inside the area.
  const QRect tall(0, 0, Width(kPhrase, 14) * 6 / 10, 3 * LineHeight(14));
  const TextLayoutRecord wrapped = TextLayoutRecord::Of(
      FitText(kPhrase, Font(14), tall.size(), true), kPhrase, tall, Qt::AlignLeft | Qt::AlignTop);
  EXPECT_GT(wrapped.CharacterRect(kPhrase.size() - 1).top(), wrapped.CharacterRect(0).bottom());
  EXPECT_TRUE(tall.contains(Drawn(wrapped)));

  // Outside the text, or before anything was drawn: no place.
  EXPECT_TRUE(wrapped.CharacterRect(kPhrase.size()).isEmpty());
  EXPECT_TRUE(TextLayoutRecord{}.CharacterRect(0).isEmpty());
}

}  // namespace
}  // namespace corvane::DUI
