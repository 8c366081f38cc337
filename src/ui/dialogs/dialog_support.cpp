// Helpers the dialogs share.
#include "ui/dialogs/dialog_support.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "ui/dui/cimage_button.h"
#include "ui/dui/mbutton.h"
#include "ui/dui/mdialog.h"
#include "ui/dui/mtext.h"

namespace corvane::ui {

DUI::Rect WorkArea() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  return DUI::Rect::FromQRect(screen->availableGeometry());
}

void CenterOnScreen(DUI::MWindow& window) {
  QWidget* widget = window.GetSafeHwnd();
  const DUI::Rect area = WorkArea();
  if (widget == nullptr || area.IsEmpty()) return;
  QRect frame = widget->geometry();
  frame.moveCenter(area.ToQRect().center());
  widget->move(frame.topLeft());
}

void SetReaderName(DUI::MWindow& window, const std::string& name) {
  QWidget* widget = window.GetSafeHwnd();
  if (widget == nullptr) return;
  // Spoken, so runs of blanks (a profile's display name has two) say nothing.
  widget->setAccessibleName(QString::fromStdString(name).simplified());
}

DUI::MButton* AddButton(DUI::MDialog& dialog, int id, const DUI::Rect& rect,
                        const std::string& text, int font_pixels) {
  auto* button = dialog.Create<DUI::MButton>(id, rect, text);
  if (button == nullptr) return nullptr;
  button->SetImage(kButtonImage, kButtonFrames);
  button->SetFontWidth(font_pixels);
  return button;
}

DUI::CImageButton* AddCloseButton(DUI::MDialog& dialog, int id, const DUI::Rect& rect,
                                  const std::string& tooltip) {
  auto* button = dialog.Create<DUI::CImageButton>(id, rect);
  if (button == nullptr) return nullptr;
  button->SetImage(kCloseImage, kButtonFrames);
  button->SetTooltip(tooltip);
  return button;
}

DUI::MText* AddText(DUI::MDialog& dialog, int id, const DUI::Rect& rect, const std::string& text,
                    int font_pixels, uint32_t color, bool centred) {
  auto* label = dialog.Create<DUI::MText>(id, rect, text);
  if (label == nullptr) return nullptr;
  label->SetFontWidth(font_pixels);
  label->SetTextColor(color);
  if (centred) label->SetAlignment(DUI::kAlignCenter);
  return label;
}

QString AskXmlSaveFile(QWidget* parent, const QString& suggested, const QString& filter) {
  QFileDialog dialog(parent, QString(), suggested, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("xml"));  // asks before overwriting the name it makes
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

}  // namespace corvane::ui
