// Title text of controls: font, alignment and drawing.
#include "ui/dui/mcontrol_font.h"

#include <QPainter>

#include "ui/dui/accessibility.h"
#include "ui/dui/manager.h"

namespace corvane::DUI {
namespace {

constexpr int kDisabledAlpha = 110;

}  // namespace

MControlFont::MControlFont(QWidget* parent, MDialog* owner, int id) : MControl(parent, owner, id) {}

void MControlFont::SetTitle(const std::string& title) {
  if (title == title_) return;
  title_ = title;
  OnTitleChanged();
  AccessibleNameChanged(this);
}

void MControlFont::SetFontName(const std::string& face) {
  face_ = face;
  OnFontChanged();
}

void MControlFont::SetFont(const std::string& face, int size, int style) {
  if (!face.empty()) face_ = face;
  if (size > 0) size_ = size;
  style_ = style;
  OnFontChanged();
}

void MControlFont::SetFontWidth(int size) {
  if (size > 0) size_ = size;
  OnFontChanged();
}

void MControlFont::SetAlignment(int alignment) {
  alignment_ = alignment;
  OnFontChanged();
}

void MControlFont::SetVAlignment(int alignment) {
  valignment_ = alignment;
  OnFontChanged();
}

void MControlFont::SetMultiLine(bool multi_line) {
  multi_line_ = multi_line;
  OnFontChanged();
}

QFont MControlFont::TitleFont() const {
  QFont font(QString::fromStdString(face_.empty() ? Manager::GetFontName() : face_));
  font.setPixelSize(size_);
  font.setBold(style_ & kFontBold);
  font.setItalic(style_ & kFontItalic);
  font.setUnderline(style_ & kFontUnderline);
  return font;
}

int MControlFont::TitleFlags() const {
  int flags = Qt::AlignLeft;
  if (alignment_ & kAlignCenter) flags = Qt::AlignHCenter;
  if (alignment_ & kAlignRight) flags = Qt::AlignRight;
  if (valignment_ & kVAlignCenter) {
    flags |= Qt::AlignVCenter;
  } else if (valignment_ & kVAlignBottom) {
    flags |= Qt::AlignBottom;
  } else {
    flags |= Qt::AlignTop;
  }
  if (multi_line_) flags |= Qt::TextWordWrap;
  return flags;
}

int MControlFont::TitleWidth() const {
  return TextExtent(QString::fromStdString(title_), TitleFont(), false, 0).width();
}

TextFit MControlFont::TitleFit(const QString& text, const QRect& area) const {
  const QFont font = TitleFont();
  return FitText(text, font, area.size(), multi_line_ || HasRoomToWrap(font, area.size()));
}

int MControlFont::FlagsFor(const TextFit& fit) const {
  const int flags = TitleFlags() & ~Qt::TextWordWrap;
  return fit.wrap ? flags | Qt::TextWordWrap : flags;
}

void MControlFont::DrawTitle(QPainter& painter, const QRect& area) {
  if (title_.empty()) {
    title_layout_ = {};
    ShowWholeInTooltip({});
    return;
  }
  QColor color = ColorFromArgb(text_color_);
  if (!isEnabled()) color.setAlpha(kDisabledAlpha);
  const QString text = QString::fromStdString(title_);
  const TextFit fit = TitleFit(text, area);
  painter.setFont(fit.font);
  painter.setPen(color);
  painter.drawText(area, FlagsFor(fit), fit.shown);
  RecordTitleLayout(fit, text, area);
}

void MControlFont::RecordTitleLayout(const TextFit& fit, const QString& full, const QRect& area) {
  title_layout_ = TextLayoutRecord::Of(fit, full, area, FlagsFor(fit));
  ShowWholeInTooltip(fit.mode == TextFitMode::kElided ? full : QString());
}

void MControlFont::ShowWholeInTooltip(const QString& whole) {
  // A tooltip set since the last drawing is the control's own.
  if (toolTip() != cut_tooltip_) own_tooltip_ = toolTip();
  QString wanted = own_tooltip_;
  if (!whole.isEmpty() && own_tooltip_ != whole) {
    wanted = own_tooltip_.isEmpty() ? whole : whole + '\n' + own_tooltip_;
  }
  cut_tooltip_ = wanted;
  if (toolTip() != wanted) setToolTip(wanted);
}

}  // namespace corvane::DUI
