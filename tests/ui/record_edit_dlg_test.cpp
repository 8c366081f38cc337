// The macro page's key dialog: a key is captured while the field has the focus, a mouse
// button only while the pointer is over the field, and confirm or close end it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/text_ids.h"
#include "ui/dialogs/record_edit_dlg.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/dui/mdialog.h"

namespace corvane::ui {
namespace {

std::string FakeText(int id) { return "text" + std::to_string(id); }

KeyEvent FakeDecode(const QKeyEvent& event) {
  KeyEvent key;
  if (event.key() == Qt::Key_Shift) return key;  // a key without a code: dropped
  key.kind = kKeyEventKeyboard;
  key.code = event.key() == Qt::Key_B ? 66 : 13;
  key.name = event.key() == Qt::Key_B ? "B" : "Enter";
  key.released = event.type() == QEvent::KeyRelease;
  return key;
}

// Opens the dialog over a plain owner and runs `steps` once it shows; returns Open's result.
int RunDialog(RecordEditDlg& dialog, const std::function<void(QLineEdit&)>& steps) {
  DUI::MDialog owner;
  EXPECT_TRUE(owner.Create(nullptr, "Owner", DUI::kStylePopup, 0, DUI::Rect{0, 0, 400, 300}));
  QTimer::singleShot(0, [&dialog, steps] {
    auto* field = dialog.GetControl(RecordEditDlg::kIdField);
    auto* line = field != nullptr ? field->findChild<QLineEdit*>() : nullptr;
    if (line == nullptr) {
      ADD_FAILURE() << "no key field";
      dialog.DoCancel();
      return;
    }
    steps(*line);
  });
  return dialog.Open(owner);
}

std::string FieldText(RecordEditDlg& dialog) {
  return static_cast<DUI::MControlFont*>(dialog.GetControl(RecordEditDlg::kIdField))->GetTitle();
}

TEST(RecordEditDlg, CapturesTheLastKeyOrAMouseButtonOverTheField) {
  RecordEditDlg dialog(FakeText, "A", FakeDecode);
  std::string shown_at_start, after_key;
  const int result = RunDialog(dialog, [&](QLineEdit& line) {
    shown_at_start = FieldText(dialog);
    QTest::keyClick(&line, Qt::Key_Shift);
    QTest::keyClick(&line, Qt::Key_B);
    after_key = FieldText(dialog);
    // A press delivered to the field while the pointer is outside it does not count.
    QMouseEvent outside(QEvent::MouseButtonPress, QPointF(-20, -20), QPointF(-20, -20),
                        Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(&line, &outside);
    EXPECT_EQ(dialog.Captured().code, 66);
    dialog.GetControl(RecordEditDlg::kIdConfirm)->PerformClick();
  });
  EXPECT_EQ(result, DUI::MWindow::kModalOk);
  EXPECT_EQ(dialog.GetSafeHwnd()->accessibleName().toStdString(),
            FakeText(kTextInsertKeyboardKey)) << "read by its purpose, not by its window's name";
  EXPECT_EQ(shown_at_start, "A") << "the event's current key is shown first";
  EXPECT_EQ(after_key, "B");
  EXPECT_EQ(dialog.Captured().type, 2);
  EXPECT_EQ(dialog.Captured().code, 66);
  EXPECT_EQ(dialog.Captured().name, "B");

  RecordEditDlg second(FakeText, "", FakeDecode);
  const int closed = RunDialog(second, [&](QLineEdit& line) {
    QTest::mouseClick(&line, Qt::MiddleButton, {}, line.rect().center());
    EXPECT_EQ(FieldText(second), "MB");
    second.GetControl(RecordEditDlg::kIdClose)->PerformClick();
  });
  EXPECT_EQ(closed, DUI::MWindow::kModalCancel);
  EXPECT_EQ(second.Captured().type, 4);
  EXPECT_EQ(second.Captured().code, 4);
}

TEST(RecordEditDlg, TabAndEscapeLeaveTheFieldAndTheDialogInsteadOfBeingCaptured) {
  RecordEditDlg dialog(FakeText, "A", FakeDecode);
  std::string after_tab;
  const int result = RunDialog(dialog, [&](QLineEdit& line) {
    line.setFocus();
    QTest::keyClick(&line, Qt::Key_Tab);
    after_tab = FieldText(dialog);
    QTest::keyClick(&line, Qt::Key_Escape);
  });
  EXPECT_EQ(after_tab, "A");
  EXPECT_EQ(result, DUI::MWindow::kModalCancel) << "Escape closes the dialog";
  EXPECT_NE(dialog.Captured().name, "Enter") << "neither key was taken for one to insert";
}

}  // namespace
}  // namespace corvane::ui
