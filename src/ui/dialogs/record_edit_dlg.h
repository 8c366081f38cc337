// The key dialog of the macro page: a field that captures the next key, or a mouse
// button pressed while the cursor is inside the field, and a confirm button. The caller
// reads the captured input after Open returned 1.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "settings/key_decoder.h"
#include "ui/dialogs/dialog_support.h"
#include "ui/dui/mdialog.h"

class QKeyEvent;
class QMouseEvent;

namespace corvane::DUI {
class MEdit;
}

namespace corvane::ui {

// What the field captured: a key (type 2, virtual-key code) or a mouse button (type 4,
// button bit); type 0 when nothing was captured.
struct CapturedInput {
  int type = 0;
  int code = 0;
  std::string name;
};

// The mouse button of a Qt button as the macro page names it: bit and name; bit 0 for
// a button the macro events cannot hold.
CapturedInput MouseButtonInput(Qt::MouseButton button);

class RecordEditDlg : public DUI::MDialog {
 public:
  static constexpr int kWidth = 360, kHeight = 150;
  static constexpr int kIdTitle = 31, kIdClose = 32, kIdCaption = 33, kIdField = 34;
  static constexpr int kIdConfirm = 35;
  using KeyDecode = std::function<KeyEvent(const QKeyEvent&)>;

  // `current` is the name the field shows at first; `decode` names captured keys.
  RecordEditDlg(TextLookup texts, std::string current, KeyDecode decode);
  ~RecordEditDlg() override;

  // Opens centred and waits: 1 after the confirm button, 2 after the close button.
  int Open(DUI::MWindow& owner);
  const CapturedInput& Captured() const { return captured_; }

  int OnInitDialog() override;
  void InitUI(const DUI::Rect& rect) override;
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t extra2) override;

  // Input reaching the field while it captures (public for the field's event filter).
  // Returns true when the event was taken.
  bool OnFieldKey(const QKeyEvent& event);
  bool OnFieldMouse(const QMouseEvent& event);

 private:
  void Show(const CapturedInput& input);

  TextLookup texts_;
  std::string current_;
  KeyDecode decode_;
  CapturedInput captured_;
  bool capturing_ = false;
  DUI::MEdit* field_ = nullptr;
  std::unique_ptr<QObject> filter_;
};

}  // namespace corvane::ui
