// Text fields.
#include "ui/dui/medit.h"

#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>

#include "base/text.h"

namespace corvane::DUI {
namespace {

constexpr int kFrameFocus = 2;
constexpr int kFrameDisabled = 3;

}  // namespace

MEdit::MEdit(QWidget* parent, MDialog* owner, int id)
    : MControlFont(parent, owner, id), field_(new QLineEdit(this)) {
  field_->installEventFilter(this);
  // Typing, and text set by an assistive tool, are edits; SetTitle (title_ already equal)
  // is not. The owner may correct the text from its handler (a clamp): the title then
  // holds the corrected text, not the one this signal carried.
  QObject::connect(field_, &QLineEdit::textChanged, field_, [this](const QString& text) {
    if (text.toStdString() == title_) return;
    title_ = text.toStdString();
    Notify(NotifyCode::kValueChanged);
  });
  QObject::connect(field_, &QLineEdit::returnPressed, field_, [this] {
    title_ = field_->text().toStdString();
    Notify(NotifyCode::kReturnPressed);
  });
  QObject::connect(field_, &QLineEdit::editingFinished, field_, [this] {
    title_ = field_->text().toStdString();
    Notify(NotifyCode::kEditFinished);
  });
  StyleField();
}

void MEdit::SetHint(const std::string& hint) {
  field_->setPlaceholderText(QString::fromStdString(hint));
}

void MEdit::SetNumberOnly(bool number_only, int max_digits) {
  if (!number_only) {
    field_->setValidator(nullptr);
    return;
  }
  const QString pattern = max_digits > 0 ? QString("[0-9]{0,%1}").arg(max_digits) : "[0-9]*";
  field_->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), field_));
}

void MEdit::SetMaxLength(int length) { field_->setMaxLength(length); }

int MEdit::GetNumber() const { return corvane::DecimalToInt(title_); }

void MEdit::OnFocus(bool focused) {
  if (focused) {
    field_->setFocus(Qt::OtherFocusReason);
  } else {
    field_->clearFocus();
  }
}

void MEdit::SetTextColor(uint32_t argb) {
  MControlFont::SetTextColor(argb);
  StyleField();
}

bool MEdit::SetImage(const std::string& file, int frames) {
  const bool loaded = MControlFont::SetImage(file, frames);
  StyleField();
  return loaded;
}

void MEdit::OnTitleChanged() {
  if (field_->text().toStdString() != title_) field_->setText(QString::fromStdString(title_));
}

void MEdit::StyleField() {
  // Over a skin the field is see-through; without one it keeps its native frame.
  field_->setFrame(image_.IsNull());
  field_->setAttribute(Qt::WA_TranslucentBackground, !image_.IsNull());
  QPalette colors = field_->palette();
  if (!image_.IsNull()) {
    colors.setColor(QPalette::Base, Qt::transparent);
    colors.setColor(QPalette::Text, ColorFromArgb(text_color_));
    // Dimmed like every other control's text while disabled.
    QColor dimmed = ColorFromArgb(text_color_);
    dimmed.setAlpha(110);
    colors.setColor(QPalette::Disabled, QPalette::Text, dimmed);
  }
  field_->setPalette(colors);
  field_->setFont(TitleFont());
  field_->setAlignment(Qt::Alignment(TitleFlags() & ~Qt::TextWordWrap));
  field_->setGeometry(image_.IsNull() ? rect() : rect().adjusted(kTextPadding, 0, -kTextPadding, 0));
}

void MEdit::paintEvent(QPaintEvent*) {
  if (image_.IsNull()) return;
  QPainter painter(this);
  ControlState state = State();
  int frame = SkinImage::FrameForState(image_.Frames(), state);
  if (image_.Frames() >= kFrameDisabled + 1) {
    if (!state.enabled) {
      frame = kFrameDisabled;
    } else if (focused_) {
      frame = kFrameFocus;
    }
  }
  image_.Draw(painter, frame, rect());
}

void MEdit::resizeEvent(QResizeEvent* event) {
  MControlFont::resizeEvent(event);
  StyleField();
}

void MEdit::changeEvent(QEvent* event) {
  MControlFont::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::EnabledChange) StyleField();
}

bool MEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == field_) {
    if (event->type() == QEvent::FocusIn) {
      focused_ = true;
      update();
      Notify(NotifyCode::kFocusGained);
    } else if (event->type() == QEvent::FocusOut) {
      focused_ = false;
      update();
    }
  }
  return MControlFont::eventFilter(watched, event);
}

}  // namespace corvane::DUI
