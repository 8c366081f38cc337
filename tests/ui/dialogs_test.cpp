// Dialog logic the GUI harness does not reach: the message box's results for each style
// and for a close from outside, the DPI pop-up's two seconds restarted by each value, the
// about box's version lines, and what a screen reader calls the boxes.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/text_ids.h"
#include "ui/dialogs/about_dlg.h"
#include "ui/dialogs/notice_popups.h"
#include "ui/dialogs/ui_message_box.h"
#include "ui/dui/mcontrol.h"
#include "ui/dui/manager.h"
#include "ui/dui/mcontrol_font.h"

namespace corvane::ui {
namespace {

std::string FakeText(int id) { return "text" + std::to_string(id); }

// Runs `step` on the box once it is showing, then answers what ShowUIMessageBox returned.
int AskWhile(int style, const std::function<void(DUI::MWindow&)>& step) {
  QTimer::singleShot(0, [step] {
    if (DUI::MWindow* box = DUI::MWindow::FindWindow("MessageBox")) step(*box);
  });
  return ShowUIMessageBox(nullptr, "Body", "Title", style, FakeText);
}

void Click(DUI::MWindow& box, int id) {
  auto* control = static_cast<DUI::MDialog&>(box).GetControl(id);
  ASSERT_NE(control, nullptr) << id;
  control->PerformClick();
}

TEST(MessageBox, ButtonsGiveOneAndTwoAndACloseOrEscapeDeclines) {
  EXPECT_EQ(AskWhile(kMessageBoxTwoButtons, [](DUI::MWindow& box) { Click(box, 33); }), 1);
  EXPECT_EQ(AskWhile(kMessageBoxTwoButtons, [](DUI::MWindow& box) { Click(box, 34); }), 2);
  EXPECT_EQ(AskWhile(kMessageBoxOneButton, [](DUI::MWindow& box) { Click(box, 33); }), 1);
  EXPECT_EQ(AskWhile(kMessageBoxTwoButtons,
                     [](DUI::MWindow& box) { box.PostMessage(DUI::kMessageClose, 2, 0); }),
            2);
  // Escape on the focused button declines, as the close button does. Should it not, the
  // close queued behind it ends the box with 0 instead of leaving the test waiting.
  EXPECT_EQ(AskWhile(kMessageBoxTwoButtons,
                     [](DUI::MWindow& box) {
                       QTest::keyClick(static_cast<DUI::MDialog&>(box).GetControl(33),
                                       Qt::Key_Escape);
                       box.PostMessage(DUI::kMessageClose, 0, 0);
                     }),
            2);
}

// Without a window manager nobody hands the keyboard back when a question closes: the
// control that asked it has it again, so Tab and Enter go on where they were.
TEST(MessageBox, TheKeyboardGoesBackToTheControlThatAsked) {
  QWidget owner;
  auto* asker = new QPushButton("Reset", &owner);
  new QPushButton("Other", &owner);
  owner.show();
  owner.activateWindow();
  asker->setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
  ASSERT_EQ(QApplication::focusWidget(), asker);
  EXPECT_EQ(AskWhile(kMessageBoxTwoButtons,
                     [](DUI::MWindow& box) {
                       QTest::keyClick(static_cast<DUI::MDialog&>(box).GetControl(34),
                                       Qt::Key_Escape);
                     }),
            2);
  QTest::qWait(100);
  EXPECT_EQ(QApplication::focusWidget(), asker);
  EXPECT_EQ(QApplication::activeWindow(), &owner);
}

TEST(MessageBox, StylesShowTheirButtonsTextsAndNoButtonForOthers) {
  std::map<int, std::string> seen;
  AskWhile(kMessageBoxTwoButtons, [&seen](DUI::MWindow& window) {
    auto& box = static_cast<DUI::MDialog&>(window);
    for (int id : {31, 32, 33, 34}) {
      auto* text = dynamic_cast<DUI::MControlFont*>(box.GetControl(id));
      seen[id] = text != nullptr ? text->GetTitle() : "<none>";
    }
    box.DoCancel();
  });
  EXPECT_EQ(seen[31], "Title");
  EXPECT_EQ(seen[32], "Body");
  EXPECT_EQ(seen[33], FakeText(kTextAccept));
  EXPECT_EQ(seen[34], FakeText(kTextCancel));
  bool any_button = true;
  AskWhile(7, [&any_button](DUI::MWindow& window) {
    auto& box = static_cast<DUI::MDialog&>(window);
    any_button = box.GetControl(33) != nullptr || box.GetControl(34) != nullptr;
    box.PostMessage(DUI::kMessageClose, 2, 0);
  });
  EXPECT_FALSE(any_button);
}

std::string SpokenName(DUI::MWindow& window) {
  return QAccessible::queryAccessibleInterface(window.GetSafeHwnd())
      ->text(QAccessible::Name)
      .toStdString();
}

TEST(MessageBox, IsReadByItsCaptionElseByTheProgramsName) {
  // Found by its fixed window title, heard by the caption it shows.
  std::string spoken;
  auto hear = [&spoken](DUI::MWindow& box) {
    spoken = SpokenName(box);
    box.PostMessage(DUI::kMessageClose, 2, 0);
  };
  AskWhile(kMessageBoxOneButton, hear);
  EXPECT_EQ(spoken, "Title");
  QTimer::singleShot(0, [&hear] {
    if (DUI::MWindow* box = DUI::MWindow::FindWindow("MessageBox")) hear(*box);
  });
  ShowUIMessageBox(nullptr, "Body", "", kMessageBoxOneButton, FakeText);
  EXPECT_FALSE(DUI::Manager::GetDeviceName().empty());
  EXPECT_EQ(spoken, DUI::Manager::GetDeviceName());
}

TEST(AboutBox, ShowsTheProgramsVersionAndIsReadAsAbout) {
  DUI::MDialog owner;
  ASSERT_TRUE(owner.Create(nullptr, "Owner", 0, 0, {0, 0, 200, 200}));
  AboutDlg about({"Firmware version: V1.06"}, FakeText);
  std::string spoken;
  std::vector<std::string> lines;
  QTimer::singleShot(0, [&] {
    spoken = SpokenName(about);
    for (auto* text : DUI::ControlsOf<DUI::MControlFont>(about.GetSafeHwnd())) {
      if (text->IsVisible()) {
        lines.push_back(QAccessible::queryAccessibleInterface(text)
                            ->text(QAccessible::Name)
                            .toStdString());
      }
    }
    about.PostMessage(DUI::kMessageClose, 1, 0);
  });
  about.Open(owner);
  EXPECT_EQ(spoken, FakeText(kTextAbout));
  const std::string version = FakeText(kTextDeviceVersion) + ": " + CORVANE_PROGRAM_VERSION;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), version), 1) << testing::PrintToString(lines);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Firmware version: V1.06"), 1);
}

bool WaitFor(const std::function<bool()>& done, int timeout_ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeout_ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

TEST(DpiPopup, EachValueRestartsTheTwoSeconds) {
  DUI::MDialog owner;
  ASSERT_TRUE(owner.Create(nullptr, "Owner", 0, 0, {0, 0, 200, 200}));
  DPIMsgDlg popup(FakeText);
  ASSERT_TRUE(popup.Make(owner));
  EXPECT_FALSE(popup.IsWindowVisible());
  EXPECT_EQ(SpokenName(popup), FakeText(kTextDpiStages)) << "not its window's own name";
  QElapsedTimer clock;
  clock.start();
  popup.ShowDpi(800);
  WaitFor([] { return false; }, 1200);
  popup.ShowDpi(1600);
  const qint64 second = clock.elapsed();
  EXPECT_EQ(popup.ShownDpi(), 1600);
  // Past the first value's two seconds the pop-up is still up for the second one...
  WaitFor([] { return false; }, 2300 - static_cast<int>(clock.elapsed()));
  EXPECT_TRUE(popup.IsWindowVisible());
  // ...and goes two seconds after the second value.
  ASSERT_TRUE(WaitFor([&popup] { return !popup.IsWindowVisible(); }, 3000));
  // Qt timers may fire up to 5 % early; the first value alone would have ended at ~800 ms.
  EXPECT_GE(clock.elapsed() - second, kNoticeShowMs * 9 / 10);
}

}  // namespace
}  // namespace corvane::ui
