// The macro page's lists: the event list's rows, selection, counting and scrolling, the
// "more" buttons asking for the list's menu, and pop-up menus ending on a triggered item.
#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <QTimer>
#include <vector>

#include <gtest/gtest.h>

#include "control_fixture.h"
#include "ui/dui/crecord_list.h"
#include "ui/dui/dlist_box.h"
#include "ui/dui/dui_types.h"
#include "ui/dui/manager.h"
#include "ui/dui/macro_list.h"
#include "ui/dui/mdialog.h"
#include "ui/dui/menu_wnd.h"
#include "ui/dui/more_button.h"

namespace corvane::DUI {
namespace {

class ListTest : public ControlFixture {
 protected:
  static MoreButton* MoreOf(QWidget* list) {
    for (QObject* child : list->children()) {
      if (auto* more = dynamic_cast<MoreButton*>(child)) return more;
    }
    return nullptr;
  }
};

TEST_F(ListTest, EventListInsertsSelectsCountsAndScrolls) {
  // Room for three rows.
  auto* list = Make<CRecordList>("CRecordList", 166, Rect{0, 0, 300, 3 * 34});
  ASSERT_NE(list, nullptr);
  list->AddString("10 ms", 1, 10, 5);
  list->AddString("down A", 2, 65, 6);
  ASSERT_TRUE(list->SetSelectEvent(1));
  // Inserting before the selection keeps the same row selected; -1 appends.
  EXPECT_EQ(list->InsertString(0, "up A", 3, 65, 7), 0);
  EXPECT_EQ(list->GetSelectEvent(), 2);
  EXPECT_EQ(list->InsertString(-1, "20 ms", 1, 20, 8), 3);
  EXPECT_EQ(list->GetItemCount(), 4);
  EXPECT_EQ(list->GetEventCount(), 2) << "delays are not counted";
  EXPECT_EQ(list->GetRecrodTimeStamp(0), 7);
  EXPECT_EQ(list->GetRecordInfo(9).type, 0);

  // The appended fourth row scrolled the first out of view.
  EXPECT_TRUE(list->ItemRect(0).isEmpty());
  EXPECT_FALSE(list->ItemRect(3).isEmpty());
  QTest::mouseClick(list, Qt::LeftButton, {}, list->ItemRect(3).center());
  ASSERT_FALSE(dialog_.notes.empty());
  EXPECT_EQ(dialog_.notes.back().code, NotifyCode::kClick);
  EXPECT_EQ(dialog_.notes.back().extra, 3);
  EXPECT_EQ(list->GetSelectEvent(), 3);

  // Deleting the selection clears it; replacing the rows keeps a selection that still exists.
  ASSERT_TRUE(list->DeleteItem(3));
  EXPECT_EQ(list->GetSelectEvent(), -1);
  list->SetSelectEvent(1);
  list->SetRecordItems({{"a", 2, 65, 1}, {"b", 3, 65, 1}});
  EXPECT_EQ(list->GetSelectEvent(), 1);
  list->SetRecordItems({{"a", 2, 65, 1}});
  EXPECT_EQ(list->GetSelectEvent(), -1);
  list->DeleteAllItems();
  EXPECT_EQ(list->GetItemCount(), 0);
  EXPECT_FALSE(list->DeleteItem(0));
}

// Turns the wheel over `widget` by `notches` (positive: away from the user, up the list).
void Wheel(QWidget* widget, int notches) {
  const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
  QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &event);
}

QScrollBar* BarOf(QWidget* list) { return list->findChild<QScrollBar*>(); }

constexpr int kRowHeightHalf = DListBox::kRowHeight / 2;

TEST_F(ListTest, RowsThatOverflowScrollByWheelBarAndKeyboard) {
  // The profile chooser's list: room for three whole rows and part of a fourth.
  auto* list = Make<DListBox>("DListBox", 31, Rect{0, 0, 240, 145});
  ASSERT_NE(list, nullptr);
  for (int i = 1; i <= 3; ++i) list->AddString("Profile " + std::to_string(i), i);
  ASSERT_NE(BarOf(list), nullptr);
  EXPECT_TRUE(BarOf(list)->isHidden()) << "three rows fit: no bar";
  list->AddString("Profile 4", 4);
  EXPECT_EQ(list->VisibleRows(), 3);
  EXPECT_FALSE(BarOf(list)->isHidden()) << "a fourth row overflows: the bar shows";
  EXPECT_TRUE(list->ItemRect(3).isEmpty());
  EXPECT_LE(list->ItemRect(0).right(), BarOf(list)->geometry().left())
      << "rows leave the bar its room";

  // The wheel brings the fourth row up, and a click on it chooses profile 4.
  Wheel(list, -1);
  EXPECT_EQ(list->TopIndex(), 1);
  ASSERT_FALSE(list->ItemRect(3).isEmpty());
  QTest::mouseClick(list, Qt::LeftButton, {}, list->ItemRect(3).center());
  EXPECT_EQ(list->GetCurData(), 4);
  Wheel(list, -5);
  EXPECT_EQ(list->TopIndex(), 1) << "never past the last row";
  Wheel(list, 3);
  EXPECT_EQ(list->TopIndex(), 0);
  EXPECT_EQ(BarOf(list)->value(), 0) << "the bar follows the wheel";
  BarOf(list)->setValue(1);
  EXPECT_EQ(list->TopIndex(), 1) << "and the rows follow the bar";

  // The keyboard keeps the selected row in view.
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Home);
  EXPECT_EQ(list->GetCurSel(), 0);
  EXPECT_FALSE(list->ItemRect(0).isEmpty());
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(list->GetCurSel(), 3);
  EXPECT_FALSE(list->ItemRect(3).isEmpty());
  QTest::keyClick(list, Qt::Key_PageUp);
  EXPECT_EQ(list->GetCurSel(), 0);
  EXPECT_FALSE(list->ItemRect(0).isEmpty());

  // A row chosen without the pointer (an assistive tool) comes into view too.
  list->ChooseItem(3);
  EXPECT_FALSE(list->ItemRect(3).isEmpty());
  EXPECT_EQ(dialog_.notes.back().extra, 3);
  // ...and is drawn where it is said to be: the selected row's fill at its left edge.
  const QImage shown = list->grab().toImage();
  const QPoint edge = list->ItemRect(3).topLeft() + QPoint(3, kRowHeightHalf);
  EXPECT_EQ(shown.pixelColor(edge).rgb(), ColorFromArgb(Manager::m_select_color).rgb());

  // Emptying the list leaves no stale scroll.
  ASSERT_TRUE(list->DeleteItem(0));
  EXPECT_EQ(list->TopIndex(), 0);
  EXPECT_TRUE(BarOf(list)->isHidden());
  EXPECT_FALSE(list->ItemRect(2).isEmpty());
}

TEST_F(ListTest, MacroListReachesEveryMacroWithItsMoreButton) {
  auto* macros = Make<MacroList>("MacroList", 156, Rect{0, 0, 300, 12 * 40});
  for (int i = 0; i < 20; ++i) macros->AddString("Macro " + std::to_string(i), 100 + i);
  EXPECT_EQ(macros->VisibleRows(), 12);
  macros->SetCurSel(19);
  const QRect last = macros->ItemRect(19);
  ASSERT_FALSE(last.isEmpty()) << "the selected last macro was scrolled into view";
  MoreButton* more = MoreOf(macros);
  ASSERT_NE(more, nullptr);
  EXPECT_FALSE(more->isHidden());
  EXPECT_TRUE(last.contains(more->geometry().center())) << "the button sits on its row";
  Wheel(macros, 20);
  EXPECT_TRUE(macros->ItemRect(19).isEmpty());
  EXPECT_TRUE(more->isHidden()) << "no button on a row scrolled away";
}

TEST_F(ListTest, MoreButtonsFollowTheSelectionAndAskForTheMenu) {
  auto* events = Make<CRecordList>("CRecordList", 166, Rect{0, 0, 300, 200});
  auto* macros = Make<MacroList>("MacroList", 156, Rect{300, 0, 600, 200});
  ASSERT_NE(macros, nullptr);
  events->AddString("10 ms", 1, 10, 1);
  MoreButton* more = MoreOf(events);
  ASSERT_NE(more, nullptr);
  EXPECT_TRUE(more->isHidden()) << "no selection, no button";
  events->SetSelectEvent(0);
  EXPECT_FALSE(more->isHidden());
  more->PerformClick();
  ASSERT_FALSE(dialog_.notes.empty());
  EXPECT_EQ(dialog_.notes.back().id, 166);
  EXPECT_EQ(dialog_.notes.back().code, NotifyCode::kShowMenu);
  EXPECT_EQ(dialog_.notes.back().extra, 0);

  macros->AddString("Custom 1", 7);
  macros->AddString("Custom 2", 8);
  macros->SetCurSel(1);
  ASSERT_NE(MoreOf(macros), nullptr);
  EXPECT_FALSE(MoreOf(macros)->isHidden());
  MoreOf(macros)->PerformClick();
  EXPECT_EQ(dialog_.notes.back().id, 156);
  EXPECT_EQ(dialog_.notes.back().extra, 1);
  ASSERT_TRUE(macros->DeleteItem(0));
  EXPECT_EQ(macros->GetCurSel(), 0) << "the selected row moved up";
  EXPECT_EQ(macros->GetItemData(0), 8);
  macros->SetEnabled(false);
  const std::size_t before = dialog_.notes.size();
  macros->ShowMenu();
  EXPECT_EQ(dialog_.notes.size(), before) << "a disabled list opens no menu";
}

TEST_F(ListTest, EventAndMacroListKeysChooseTheRowTheyReachAndDeleteAsksThePage) {
  auto* events = Make<CRecordList>("CRecordList", 166, Rect{0, 0, 300, 3 * 36});
  for (int i = 0; i < 8; ++i) events->AddString("event " + std::to_string(i), 2, 65, i);
  events->SetSelectEvent(4);
  events->setFocus();
  for (auto [key, row] : {std::pair{Qt::Key_End, 7}, {Qt::Key_Home, 0}, {Qt::Key_PageDown, 3},
                          {Qt::Key_PageUp, 0}}) {
    QTest::keyClick(events, key);
    EXPECT_EQ(events->GetSelectEvent(), row) << "key " << static_cast<int>(key);
    EXPECT_EQ(dialog_.notes.back().code, NotifyCode::kClick) << "the page shows the row's event";
    EXPECT_EQ(dialog_.notes.back().extra, row);
  }
  QTest::keyClick(events, Qt::Key_Delete);
  EXPECT_EQ(dialog_.notes.back().code, NotifyCode::kDeleteItem);
  EXPECT_EQ(dialog_.notes.back().extra, 0);
  EXPECT_EQ(events->GetItemCount(), 8) << "the page deletes, the list only asks";

  auto* macros = Make<MacroList>("MacroList", 156, Rect{300, 0, 600, 200});
  macros->AddString("Custom 1", 7);
  macros->AddString("Custom 2", 8);
  macros->SetCurSel(0);
  macros->setFocus();
  QTest::keyClick(macros, Qt::Key_End);
  EXPECT_EQ(dialog_.notes.back().id, 156);
  EXPECT_EQ(dialog_.notes.back().code, NotifyCode::kClick) << "the macro moved to is the one shown";
  EXPECT_EQ(dialog_.notes.back().extra, 1);
  QTest::keyClick(macros, Qt::Key_Delete);
  EXPECT_EQ(dialog_.notes.back().code, NotifyCode::kDeleteItem);
  EXPECT_EQ(macros->GetCount(), 2);
}

TEST_F(ListTest, MenuReturnsTheTriggeredCommandOrZeroAndIsReadByItsPurpose) {
  MenuWnd menu(dialog_.GetSafeHwnd(), "Macro events");
  menu.AddItem(0, "ignored");
  menu.AddItem(401, "Move up");
  menu.AddItem(402, "Move down");
  EXPECT_EQ(menu.GetItemCount(), 2);
  // An item triggered the way the keyboard and assistive tools do it ends the menu. The
  // window keeps the title the program closes pop-ups by; a reader hears what it is for.
  QString spoken;
  QTimer::singleShot(50, [&spoken] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* shown = qobject_cast<QMenu*>(widget);
      if (shown != nullptr && shown->isVisible() && shown->windowTitle() == "Menu Window") {
        spoken = QAccessible::queryAccessibleInterface(shown)->text(QAccessible::Name);
        shown->actions().at(1)->trigger();
      }
    }
  });
  EXPECT_EQ(menu.TrackPopup(QPoint(10, 10)), 402);
  EXPECT_EQ(spoken, "Macro events");
  QTimer::singleShot(50, [] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* shown = qobject_cast<QMenu*>(widget); shown != nullptr && shown->isVisible()) {
        shown->close();
      }
    }
  });
  EXPECT_EQ(menu.TrackPopup(QPoint(10, 10)), 0);
}

// The menu takes the keyboard to be walked with the arrows; once it closes, the control
// that opened it has it again (no window manager hands it back).
TEST_F(ListTest, AClosedMenuHandsTheKeyboardBack) {
  auto* opener = new QPushButton("More", dialog_.GetSafeHwnd());
  opener->show();
  dialog_.GetSafeHwnd()->activateWindow();
  opener->setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.GetSafeHwnd()));
  ASSERT_EQ(QApplication::focusWidget(), opener);
  MenuWnd menu(dialog_.GetSafeHwnd(), "Macro events");
  menu.AddItem(401, "Move up");
  QTimer::singleShot(50, [] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* shown = qobject_cast<QMenu*>(widget);
      if (shown != nullptr && shown->isVisible()) shown->actions().at(0)->trigger();
    }
  });
  EXPECT_EQ(menu.TrackPopup(QPoint(10, 10)), 401);
  QTest::qWait(100);
  EXPECT_EQ(QApplication::focusWidget(), opener);
}

}  // namespace
}  // namespace corvane::DUI
