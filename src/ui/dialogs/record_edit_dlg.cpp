// The key dialog of the macro page.
#include "ui/dialogs/record_edit_dlg.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "app/text_ids.h"
#include "settings/macro_event_list.h"
#include "protocol/macro_packets.h"
#include "ui/dui/medit.h"
#include "ui/dui/paint_manager.h"
#include "ui/key_input.h"

namespace corvane::ui {
namespace {

constexpr int kFontPixels = 14;
constexpr int kMargin = 20;
constexpr const char* kTitle = "RecordEditDlg";

// Hands the field's key and mouse input to the dialog while it captures.
class FieldFilter : public QObject {
 public:
  explicit FieldFilter(RecordEditDlg& dialog) : dialog_(dialog) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
        if (dialog_.OnFieldKey(*static_cast<QKeyEvent*>(event))) return true;
        break;
      case QEvent::MouseButtonPress:
        if (dialog_.OnFieldMouse(*static_cast<QMouseEvent*>(event))) return true;
        break;
      default:
        break;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  RecordEditDlg& dialog_;
};

}  // namespace

CapturedInput MouseButtonInput(Qt::MouseButton button) {
  MouseChoice choice;
  switch (button) {
    case Qt::LeftButton: choice = MouseChoice::kLeft; break;
    case Qt::RightButton: choice = MouseChoice::kRight; break;
    case Qt::MiddleButton: choice = MouseChoice::kMiddle; break;
    case Qt::BackButton: choice = MouseChoice::kBackward; break;
    case Qt::ForwardButton: choice = MouseChoice::kForward; break;
    default: return {};
  }
  const int bit = static_cast<int>(choice);
  return {kEventMouseDown, bit, MouseButtonName(bit)};
}

RecordEditDlg::RecordEditDlg(TextLookup texts, std::string current, KeyDecode decode)
    : texts_(std::move(texts)), current_(std::move(current)), decode_(std::move(decode)) {}

RecordEditDlg::~RecordEditDlg() = default;

int RecordEditDlg::Open(DUI::MWindow& owner) {
  if (!Create(&owner, kTitle, kDialogStyle & ~DUI::kStyleVisible, 0, {0, 0, kWidth, kHeight})) {
    return 0;
  }
  SetReaderName(*this, texts_(kTextInsertKeyboardKey));
  CenterWindow();
  return ShowModal(kShowModalCode);
}

void RecordEditDlg::InitUI(const DUI::Rect& rect) {
  const int w = rect.Width(), h = rect.Height();
  AddText(*this, kIdTitle, {kMargin, 8, w - 50, 38}, texts_(kTextInsertKeyboardKey), kFontPixels,
          kTextWhite, true);
  AddCloseButton(*this, kIdClose, {w - 40, 10, w - 16, 34}, texts_(kTextClose));
  AddText(*this, kIdCaption, {kMargin, 50, 90, 84}, texts_(kTextEventKey), kFontPixels, kTextWhite,
          false);
  field_ = Create<DUI::MEdit>(kIdField, {90, 50, w - kMargin, 84});
  field_->SetImage("img_edit.png", 4);
  field_->SetAlignment(DUI::kAlignCenter);
  field_->SetHint(texts_(kTextKeyFieldTip));
  if (auto* line = field_->findChild<QLineEdit*>()) {
    filter_ = std::make_unique<FieldFilter>(*this);
    line->installEventFilter(filter_.get());
  }
  AddButton(*this, kIdConfirm, {w / 2 - 60, h - 50, w / 2 + 60, h - 16}, texts_(kTextConfirm),
            kFontPixels);
}

int RecordEditDlg::OnInitDialog() {
  GetPaintManager().SetBackColor(kDialogFill, kDialogBorder);  // its texts are white
  SetFocusControl(field_);
  field_->SetTitle(current_);
  // The field captures from the start; the focus may only arrive once the window is active.
  capturing_ = true;
  return DUI::MDialog::OnInitDialog();
}

int64_t RecordEditDlg::OnMessage(int id, DUI::NotifyCode code, int64_t, int64_t) {
  if (id == kIdField && code == DUI::NotifyCode::kFocusGained) {
    // Coming back to the field starts a new capture; the first focus keeps the shown key.
    if (!capturing_) field_->SetTitle("");
    capturing_ = true;
    return 1;
  }
  if (id == kIdField && code == DUI::NotifyCode::kEditFinished) {
    // Enter is a key like any other while capturing; only leaving the field ends it.
    if (field_->findChild<QLineEdit*>() == nullptr ||
        !field_->findChild<QLineEdit*>()->hasFocus()) {
      capturing_ = false;
    }
    return 1;
  }
  if (code != DUI::NotifyCode::kClick) return 0;
  if (id == kIdClose) {
    DoCancel();
  } else if (id == kIdConfirm) {
    DoOK();
  } else {
    return 0;
  }
  return 1;
}

bool RecordEditDlg::OnFieldKey(const QKeyEvent& event) {
  // Tab and Escape keep their meaning so the keyboard can leave the field and the dialog;
  // a macro that needs them records them.
  if (!capturing_ || MovesFocus(event) || event.key() == Qt::Key_Escape) return false;
  if (event.isAutoRepeat() || event.type() != QEvent::KeyPress) return true;
  const KeyEvent key = decode_ ? decode_(event) : KeyEvent{};
  if (key.kind == kKeyEventKeyboard && !key.name.empty()) {
    Show({kEventKeyDown, key.code, key.name});
  }
  return true;
}

bool RecordEditDlg::OnFieldMouse(const QMouseEvent& event) {
  auto* line = field_ != nullptr ? field_->findChild<QLineEdit*>() : nullptr;
  // A press that began elsewhere can still be delivered here; only one over the field counts.
  if (!capturing_ || line == nullptr || !line->rect().contains(event.position().toPoint())) {
    return false;
  }
  const CapturedInput input = MouseButtonInput(event.button());
  if (input.code == 0) return false;
  Show(input);
  return true;
}

void RecordEditDlg::Show(const CapturedInput& input) {
  captured_ = input;
  field_->SetTitle(input.name);
}

}  // namespace corvane::ui
