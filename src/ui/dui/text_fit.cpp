// The fitting rule for texts drawn into a fixed area.
#include "ui/dui/text_fit.h"

#include <QFontMetrics>
#include <QRect>
#include <QTextLayout>
#include <algorithm>
#include <cstdlib>

namespace corvane::DUI {
namespace {

constexpr int kUnbounded = 1 << 20;

bool Within(const QSize& size, const QSize& area) {
  return size.width() <= area.width() && size.height() <= area.height();
}

QFont WithPixels(QFont font, int pixels) {
  font.setPixelSize(pixels);
  return font;
}

// The first fitting layout of `text` in `font`: one line (as wide as the area; a line
// taller than a low area still reads, centred on it), else wrapped when allowed (every
// line must then be inside the area).
bool FitsIn(const QString& text, const QFont& font, const QSize& area, bool may_wrap,
            bool* wrap) {
  *wrap = false;
  if (TextExtent(text, font, false, area.width()).width() <= area.width()) return true;
  *wrap = may_wrap && Within(TextExtent(text, font, true, area.width()), area);
  return *wrap;
}

}  // namespace

QSize TextExtent(const QString& text, const QFont& font, bool wrap, int width) {
  const QFontMetrics metrics(font);
  const QRect bounds(0, 0, wrap ? width : kUnbounded, kUnbounded);
  return metrics.boundingRect(bounds, wrap ? Qt::TextWordWrap : 0, text).size();
}

bool HasRoomToWrap(const QFont& font, const QSize& area) {
  return area.height() >= 2 * QFontMetrics(font).height();
}

TextFit FitText(const QString& text, const QFont& font, const QSize& area, bool may_wrap) {
  TextFit fit{TextFitMode::kFits, font, false, text};
  if (text.isEmpty() || FitsIn(text, font, area, may_wrap, &fit.wrap)) {
    if (fit.wrap) fit.mode = TextFitMode::kWrapped;
    return fit;
  }
  const int pixels = font.pixelSize();
  for (int smaller = pixels - 1; pixels > 0 && smaller >= pixels - kMaxShrinkPixels && smaller > 0;
       --smaller) {
    const QFont reduced = WithPixels(font, smaller);
    if (FitsIn(text, reduced, area, may_wrap, &fit.wrap)) {
      fit.mode = TextFitMode::kShrunk;
      fit.font = reduced;
      return fit;
    }
  }
  // One line, cut: a cut line reads better than a cut last line of a paragraph.
  fit.mode = TextFitMode::kElided;
  fit.wrap = false;
  QString line = text;
  line.replace('\n', ' ');
  fit.shown = QFontMetrics(font).elidedText(line, Qt::ElideRight, area.width());
  return fit;
}

TextLayoutRecord TextLayoutRecord::Of(const TextFit& fit, const QString& full, const QRect& area,
                                      int flags) {
  return {true, full, fit.shown, fit.mode, fit.font, fit.wrap, flags, area};
}

QRect TextLayoutRecord::CharacterRect(int offset) const {
  if (!drawn || offset < 0 || offset >= shown.size()) return {};
  QString text = shown;
  text.replace('\n', QChar::LineSeparator);
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(wrap ? QTextOption::WordWrap : QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  int height = 0;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(wrap ? area.width() : kUnbounded);
    line.setPosition(QPointF(0, height));
    height += qRound(line.height());
  }
  layout.endLayout();
  int top = area.top();
  if (flags & Qt::AlignVCenter) top += (area.height() - height) / 2;
  if (flags & Qt::AlignBottom) top += area.height() - height;
  const QTextLine line = layout.lineForTextPosition(offset);
  if (!line.isValid()) return {};
  const int width = qRound(line.naturalTextWidth());
  int left = area.left();
  if (flags & Qt::AlignHCenter) left += (area.width() - width) / 2;
  if (flags & Qt::AlignRight) left += area.width() - width;
  const int x = qRound(line.cursorToX(offset));
  const int next = qRound(line.cursorToX(offset + 1));
  return QRect(left + std::min(x, next), top + qRound(line.y()), std::abs(next - x),
               qRound(line.height()));
}

}  // namespace corvane::DUI
