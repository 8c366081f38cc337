// The buttons page's two button selectors: the button list and the mouse picture's hot
// spots, by click and through the accessibility layer, and their geometry under scaling.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QCoreApplication>
#include <QTest>
#include <utility>
#include <vector>

#include "ui/dui/accessibility.h"
#include "ui/dui/mdialog.h"
#include "ui/dui/medit.h"
#include "ui/dui/mouse_ctrl.h"
#include "ui/dui/mouse_key_ctrl.h"

namespace corvane::DUI {
namespace {

class ClickDialog : public MDialog {
 public:
  int64_t OnMessage(int id, DUI::NotifyCode code, int64_t extra, int64_t) override {
    clicks.push_back({id, code == NotifyCode::kClick ? extra : -100});
    return 1;
  }
  std::vector<std::pair<int, int64_t>> clicks;
};

class MouseControlsTest : public testing::Test {
 protected:
  void SetUp() override {
    InstallAccessibility();
    ASSERT_TRUE(dialog_.Create(nullptr, "MouseControls", 0, 0, Rect{0, 0, 1000, 700}));
    dialog_.ShowWindow(kShowShow);
  }
  static void Press(QAccessibleInterface* item) {
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
  }
  ClickDialog dialog_;
};

TEST_F(MouseControlsTest, ButtonListRowsCarryButtonIndexesAndDescriptions) {
  auto* list = dynamic_cast<MouseKeyCtrl*>(
      dialog_.CreateControl("MouseKeyCtrl", 68, Rect{0, 0, 260, 100}, ""));
  ASSERT_NE(list, nullptr);
  list->SetRowHeight(45);
  list->AddItem(0, "Left button", "Left click");
  list->AddItem(4, "Forward button", "Forward");
  list->AddItem(5, "DPI button", "DPI cycle");
  EXPECT_TRUE(list->SetItemKeyDesc(4, "Ctrl+ Alt + A"));
  EXPECT_FALSE(list->SetItemKeyDesc(9, "nothing"));

  QAccessibleInterface* rows = QAccessible::queryAccessibleInterface(list);
  EXPECT_EQ(rows->role(), QAccessible::List);
  ASSERT_EQ(rows->childCount(), 3);
  EXPECT_EQ(rows->child(1)->text(QAccessible::Name), "Forward button: Ctrl+ Alt + A");
  // The third row lies below the 100-pixel control: listed, but off screen.
  EXPECT_TRUE(rows->child(2)->state().offscreen);
  Press(rows->child(1));
  EXPECT_EQ(dialog_.clicks.back(), std::make_pair(68, int64_t{4}));
  EXPECT_EQ(list->GetCurButton(), 4);
  EXPECT_TRUE(rows->child(1)->state().selected);

  QTest::mouseClick(list, Qt::LeftButton, {}, list->ItemRect(0).center());
  EXPECT_EQ(dialog_.clicks.back(), std::make_pair(68, int64_t{0}));
  const size_t before = dialog_.clicks.size();
  QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(130, 99));  // the gap below row 2
  EXPECT_EQ(dialog_.clicks.size(), before);
  EXPECT_TRUE(list->SelectButton(5));
  EXPECT_EQ(dialog_.clicks.size(), before);  // selecting by program tells nobody
}

TEST_F(MouseControlsTest, HotSpotsFollowThePictureScaleAndSelectTheirButton) {
  auto* mouse = dynamic_cast<MouseCtrl*>(
      dialog_.CreateControl("MouseCtrl", 108, Rect{0, 0, 400, 300}, ""));
  ASSERT_NE(mouse, nullptr);
  mouse->AddButton(0, "Left button", 40, 150, 92, 0);
  mouse->AddButton(2, "Middle button", 205, 360, 150, 1);
  EXPECT_FALSE(mouse->SetPicture("device/no_such_mouse.png"));
  EXPECT_TRUE(mouse->IsFallback());

  QTest::mouseClick(mouse, Qt::LeftButton, {}, QPoint(205, 150));
  EXPECT_EQ(dialog_.clicks.back(), std::make_pair(108, int64_t{2}));
  EXPECT_EQ(mouse->GetSelectButton(), 2);

  // Twice the size: the same spot lies at twice the coordinates.
  mouse->SetRect(Rect{0, 0, 800, 600});
  QTest::mouseClick(mouse, Qt::LeftButton, {}, QPoint(100, 180));
  EXPECT_EQ(dialog_.clicks.back(), std::make_pair(108, int64_t{0}));
  const size_t before = dialog_.clicks.size();
  QTest::mouseClick(mouse, Qt::LeftButton, {}, QPoint(400, 580));  // the body, no spot
  EXPECT_EQ(dialog_.clicks.size(), before);

  QAccessibleInterface* spots = QAccessible::queryAccessibleInterface(mouse);
  ASSERT_EQ(spots->childCount(), 2);
  EXPECT_EQ(spots->child(1)->text(QAccessible::Name), "Middle button");
  EXPECT_FALSE(spots->child(1)->state().offscreen);
  Press(spots->child(1));
  EXPECT_EQ(dialog_.clicks.back(), std::make_pair(108, int64_t{2}));
  EXPECT_TRUE(mouse->SetButtonName(2, "Wheel"));
  EXPECT_EQ(spots->child(1)->text(QAccessible::Name), "Wheel");

  // From the keyboard: the arrows choose the neighbouring spot, as a click does, and stop
  // at the ends.
  EXPECT_TRUE(mouse->focusPolicy() & Qt::TabFocus);
  QTest::keyClick(mouse, Qt::Key_Up);
  EXPECT_EQ(dialog_.clicks.back(), std::make_pair(108, int64_t{0}));
  QTest::keyClick(mouse, Qt::Key_Up);
  EXPECT_EQ(dialog_.clicks.back(), std::make_pair(108, int64_t{0}));
  QTest::keyClick(mouse, Qt::Key_Right);
  EXPECT_EQ(dialog_.clicks.back(), std::make_pair(108, int64_t{2}));
  EXPECT_EQ(mouse->GetSelectButton(), 2);
}

TEST_F(MouseControlsTest, FieldTextSetByAnAssistiveToolIsWhatThePageReads) {
  auto* edit = dynamic_cast<MEdit*>(dialog_.CreateControl("MEdit", 105, Rect{0, 0, 120, 28}, "5"));
  ASSERT_NE(edit, nullptr);
  edit->SetNumberOnly(true, 3);
  QAccessibleInterface* field = QAccessible::queryAccessibleInterface(edit);
  ASSERT_NE(field->editableTextInterface(), nullptr);
  field->editableTextInterface()->replaceText(0, 1, "240");
  EXPECT_EQ(edit->GetTitle(), "240");
  EXPECT_EQ(edit->GetNumber(), 240);
}

}  // namespace
}  // namespace corvane::DUI
