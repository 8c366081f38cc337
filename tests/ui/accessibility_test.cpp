// The control layer as assistive tools see it: roles, names that follow re-labelling,
// states, values, and actions and keys that end in OnMessage exactly as a click does;
// the list's in-place rename.
#include "ui/dui/accessibility.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>
#include <utility>
#include <vector>

#include "ui/dui/ccolor_button.h"
#include "ui/dui/cdevice_list.h"
#include "ui/dui/dlist_box.h"
#include "ui/dui/light_slider.h"
#include "ui/dui/mbutton.h"
#include "ui/dui/mcontrol_font.h"
#include "ui/dui/mdialog.h"
#include "ui/dui/mpalette.h"
#include "ui/dui/mprogress.h"
#include "ui/dui/mtab_ctrl.h"

namespace corvane::DUI {
namespace {

class RecordingDialog : public MDialog {
 public:
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t) override {
    notes.emplace_back(id, code);
    extras.push_back(extra);
    return 1;
  }
  std::vector<std::pair<int, NotifyCode>> notes;
  std::vector<int64_t> extras;
};

class AccessibilityTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog_.Create(nullptr, "AccessibilityTest", 0, 0, Rect{0, 0, 600, 400}));
    dialog_.ShowWindow(kShowShow);
  }
  template <typename T>
  T* Make(const char* class_name, int id, Rect rect, const char* text = "") {
    return dynamic_cast<T*>(dialog_.CreateControl(class_name, id, rect, text));
  }
  static QAccessibleInterface* Of(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
  }
  static void Act(QAccessibleInterface* iface, const QString& action) {
    ASSERT_TRUE(iface->actionInterface()->actionNames().contains(action)) << action.toStdString();
    iface->actionInterface()->doAction(action);
    QCoreApplication::processEvents();  // actions run after the call returned
  }
  RecordingDialog dialog_;
};

TEST_F(AccessibilityTest, ButtonsAreNamedByWhatTheyShowAndPressLikeAClick) {
  auto* button = Make<MButton>("MButton", 33, {10, 10, 110, 40}, "OK");
  auto* icon = Make<MButton>("CImageButton", 38, {120, 10, 150, 40});
  icon->SetTooltip("Close");
  auto* check = Make<MButton>("CCheckButton", 281, {10, 50, 200, 80}, "Start with the system");
  QAccessibleInterface* face = Of(button);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->role(), QAccessible::Button);
  EXPECT_EQ(face->text(QAccessible::Name), "OK");
  EXPECT_EQ(Of(icon)->text(QAccessible::Name), "Close");
  EXPECT_EQ(Of(check)->role(), QAccessible::CheckBox);

  button->SetTitle("Accept");  // re-labelling renames
  EXPECT_EQ(face->text(QAccessible::Name), "Accept");

  Act(face, QAccessibleActionInterface::pressAction());
  Act(Of(check), QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(Of(check)->state().checked);
  button->SetEnabled(false);
  EXPECT_TRUE(
      face->actionInterface()->actionNames().isEmpty() ||
      !face->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
  EXPECT_EQ(dialog_.notes,
            (std::vector<std::pair<int, NotifyCode>>{{33, NotifyCode::kClick}, {281, NotifyCode::kClick}}));
}

TEST_F(AccessibilityTest, ToggleButtonIsReadAsAToggleFromItsCreation) {
  auto* toggle = dialog_.Create<MToggleButton>(94, Rect{10, 10, 90, 40}, "Ctrl");
  auto* plain = dialog_.Create<MButton>(98, Rect{100, 10, 180, 40}, "Apply");
  QAccessibleInterface* face = Of(toggle);
  ASSERT_NE(face, nullptr);
  EXPECT_TRUE(face->state().checkable);
  EXPECT_FALSE(Of(plain)->state().checkable);
  Act(face, QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(toggle->GetCheck());
  EXPECT_TRUE(face->state().checked);
}

TEST_F(AccessibilityTest, KeyboardFocusMovesByTabAndSkipsWhatIsNotOnScreen) {
  auto* first = Make<MButton>("MButton", 1, {10, 10, 110, 40}, "One");
  auto* second = Make<MButton>("MButton", 2, {120, 10, 220, 40}, "Two");
  dialog_.GetSafeHwnd()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.GetSafeHwnd()));
  first->OnFocus(true);
  ASSERT_TRUE(first->hasFocus());
  QTest::keyClick(first, Qt::Key_Tab);
  EXPECT_TRUE(second->hasFocus());
  QTest::keyClick(second, Qt::Key_Space);
  QTest::keyClick(second, Qt::Key_Return);
  EXPECT_EQ(dialog_.notes,
            (std::vector<std::pair<int, NotifyCode>>{{2, NotifyCode::kClick}, {2, NotifyCode::kClick}}));

  // A control left with an empty rectangle is not on screen: Tab passes it by and a reader
  // does not list it, until it is given an area.
  auto* unplaced = Make<MButton>("CImageButton", 3, Rect{});
  unplaced->SetTooltip("Maximize");
  auto* third = Make<MButton>("MButton", 4, {230, 10, 330, 40}, "Four");
  QCoreApplication::processEvents();
  QTest::keyClick(second, Qt::Key_Tab);
  EXPECT_TRUE(third->hasFocus());
  EXPECT_TRUE(Of(unplaced)->state().invisible);
  unplaced->SetRect({340, 10, 370, 40});
  QCoreApplication::processEvents();
  EXPECT_FALSE(Of(unplaced)->state().invisible);
  second->OnFocus(true);
  QTest::keyClick(second, Qt::Key_Tab);
  EXPECT_TRUE(unplaced->hasFocus());
}

TEST_F(AccessibilityTest, SlidersAndProgressBarsGiveTheirValues) {
  auto* slider = Make<LightSlider>("LightSlider", 204, {10, 10, 210, 30});
  slider->SetRange(0, 10);
  slider->SetPos(4);
  auto* progress = Make<MProgress>("MProgress", 32, {10, 40, 210, 60});
  progress->SetProgress(42);
  QAccessibleInterface* face = Of(slider);
  EXPECT_EQ(face->role(), QAccessible::Slider);
  EXPECT_EQ(face->valueInterface()->currentValue().toInt(), 4);
  face->valueInterface()->setCurrentValue(12);  // clamped as a drag would be
  QCoreApplication::processEvents();
  EXPECT_EQ(slider->GetPos(), 10);
  Act(face, QAccessibleActionInterface::decreaseAction());
  EXPECT_EQ(slider->GetPos(), 9);
  // Each is a whole choice: the move and then the release carry the position.
  EXPECT_EQ(dialog_.extras, (std::vector<int64_t>{10, 10, 9, 9}));
  EXPECT_EQ(Of(progress)->role(), QAccessible::ProgressBar);
  EXPECT_EQ(Of(progress)->valueInterface()->currentValue().toInt(), 42);
}

// A DPI slider steps through positions 1..80 but shows 100..8000 DPI: a reader gets and
// sets the DPI, never the step number.
TEST_F(AccessibilityTest, SlidersSpeakTheValueTheyShow) {
  auto* slider = Make<LightSlider>("LightSlider", 117, {10, 10, 210, 30});
  slider->SetRange(1, 80);
  slider->SetPos(16);
  slider->SetShownValue([](int pos) { return pos * 100; });
  QAccessibleInterface* face = Of(slider);
  EXPECT_EQ(face->valueInterface()->currentValue().toInt(), 1600);
  EXPECT_EQ(face->text(QAccessible::Value), "1600");
  EXPECT_EQ(face->valueInterface()->minimumValue().toInt(), 100);
  EXPECT_EQ(face->valueInterface()->maximumValue().toInt(), 8000);
  face->valueInterface()->setCurrentValue(3240);  // the nearest DPI the slider can take
  QCoreApplication::processEvents();
  EXPECT_EQ(slider->GetPos(), 32);
  EXPECT_EQ(dialog_.extras.back(), 32) << "the page hears the position, as from a drag";
}

// A swatch reads as its colour unless it has a tooltip, and is marked like a radio
// button; the palette's value is the colour, and setting one chooses it as a drag does.
TEST_F(AccessibilityTest, SwatchesAndThePaletteSpeakColours) {
  auto* swatch = Make<CColorButton>("CColorButton", 209, {10, 10, 36, 36});
  swatch->SetColor(0xFF0C00);
  QAccessibleInterface* face = Of(swatch);
  EXPECT_EQ(face->role(), QAccessible::RadioButton);
  EXPECT_EQ(face->text(QAccessible::Name), "#000CFF");
  Act(face, QAccessibleActionInterface::pressAction());
  EXPECT_TRUE(face->state().checked);
  swatch->SetTooltip("Blue");
  EXPECT_EQ(face->text(QAccessible::Name), "Blue");

  auto* palette = Make<MPalette>("MPalette", 226, {10, 50, 250, 210});
  dialog_.notes.clear();
  QAccessibleInterface* picker = Of(palette);
  EXPECT_EQ(picker->role(), QAccessible::Slider);
  picker->valueInterface()->setCurrentValue(0x2040C0);
  QCoreApplication::processEvents();
  EXPECT_EQ(palette->GetSelectColor(), 0x2040C0u);
  EXPECT_EQ(picker->text(QAccessible::Value), "#C04020");
  EXPECT_EQ(picker->valueInterface()->currentValue().toInt(), 0x2040C0);
  EXPECT_EQ(dialog_.notes, (std::vector<std::pair<int, NotifyCode>>{{226, NotifyCode::kPaletteSelect},
                                                            {226, NotifyCode::kClick}}));
}

TEST_F(AccessibilityTest, TabsAndDeviceCardsAreItemsThatPressLikeAClick) {
  auto* tabs = Make<MTabCtrl>("MTabCtrl", 48, {0, 0, 190, 300});
  tabs->InsertItem(1, "Home", "");
  tabs->InsertItem(2, "Buttons", "");
  tabs->SetCurSel(0);
  QAccessibleInterface* strip = Of(tabs);
  EXPECT_EQ(strip->role(), QAccessible::PageTabList);
  ASSERT_EQ(strip->childCount(), 2);
  EXPECT_EQ(strip->child(1)->role(), QAccessible::PageTab);
  EXPECT_EQ(strip->child(1)->text(QAccessible::Name), "Buttons");
  Act(strip->child(1), QAccessibleActionInterface::pressAction());
  EXPECT_EQ(tabs->GetCurSel(), 1);
  EXPECT_TRUE(strip->child(1)->state().selected);

  auto* list = Make<CDeviceList>("CDeviceList", 57, {200, 0, 600, 300});
  list->AddDevice("Kestrel Pro", 7, "");
  list->AddDevice("Absent Model", 8, "");
  list->SetDeviceState(7, CDeviceList::kModeWired, 1);
  QAccessibleInterface* cards = Of(list);
  ASSERT_EQ(cards->childCount(), 1);  // only present models have a card
  EXPECT_EQ(cards->child(0)->text(QAccessible::Name), "Kestrel Pro");
  Act(cards->child(0), QAccessibleActionInterface::pressAction());
  EXPECT_EQ(dialog_.notes.back(), std::make_pair(57, NotifyCode::kClick));
  EXPECT_EQ(dialog_.extras.back(), 7);
}

TEST_F(AccessibilityTest, ListRowsRenameInPlaceAndRefuseAnEmptyName) {
  auto* list = Make<DListBox>("DListBox", 31, {0, 0, 200, 200});
  list->AddString("Profile 1", 1);
  list->AddString("Profile 2", 2);
  QAccessibleInterface* rows = Of(list);
  // The two rows, then the list's scroll bar (hidden while the rows fit).
  ASSERT_EQ(rows->childCount(), 3);
  EXPECT_EQ(rows->child(1)->role(), QAccessible::ListItem);
  EXPECT_EQ(rows->child(2)->role(), QAccessible::ScrollBar);
  Act(rows->child(1), "Rename");
  ASSERT_TRUE(list->IsEditing());
  auto* field = list->findChild<QLineEdit*>();
  field->setText("Aiming");
  list->OnFocus(false);  // clicking elsewhere keeps the text
  EXPECT_EQ(list->GetItemText(1), "Aiming");
  EXPECT_EQ(rows->child(1)->text(QAccessible::Name), "Aiming");
  EXPECT_EQ(dialog_.notes.back(), std::make_pair(31, NotifyCode::kEditFinished));

  ASSERT_TRUE(list->BeginEdit(0));
  field->setText("  ");
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(list->GetItemText(0), "Profile 1");
  EXPECT_TRUE(list->LastEditText().empty());

  const size_t told = dialog_.notes.size();
  ASSERT_TRUE(list->BeginEdit(0));
  field->setText("Dropped");
  QTest::keyClick(field, Qt::Key_Escape);
  EXPECT_FALSE(list->IsEditing());
  EXPECT_EQ(list->GetItemText(0), "Profile 1");
  EXPECT_EQ(dialog_.notes.size(), told);  // Escape tells nobody
}

TEST_F(AccessibilityTest, FieldWidgetsAreNotMistakenForControls) {
  // A field holds a plain line edit; walking the dialog's controls must count the field
  // once and never hand back its line edit as a control.
  const size_t before = ControlsOf<MControl>(dialog_.GetSafeHwnd()).size();
  Make<MControlFont>("MEdit", 37, {10, 10, 100, 40}, "255");
  Make<MControlFont>("MEdit", 38, {10, 50, 100, 80}, "0");
  const std::vector<MControl*> controls = ControlsOf<MControl>(dialog_.GetSafeHwnd());
  EXPECT_EQ(controls.size(), before + 2);
  for (MControl* control : controls) {
    EXPECT_EQ(qobject_cast<QLineEdit*>(static_cast<QWidget*>(control)), nullptr);
  }
  EXPECT_EQ(dialog_.GetControl(37)->GetID(), 37);
  EXPECT_EQ(Of(dialog_.GetControl(37))->role(), QAccessible::EditableText);
  EXPECT_EQ(Of(dialog_.GetControl(37))->text(QAccessible::Value), "255");
}

}  // namespace
}  // namespace corvane::DUI
