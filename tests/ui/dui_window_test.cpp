// Windows and dialogs: hook order, modal results, messages posted from other threads,
// timers and lookup by title.
#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ui/dui/mdialog.h"
#include "ui/dui/mtext.h"
#include "ui/dui/ui_thread.h"

namespace corvane::DUI {
namespace {

constexpr uint32_t kTestMessage = 0x8002;  // any application-defined number

class RecordingDialog : public MDialog {
 public:
  std::vector<std::string> calls;
  std::vector<Rect> sizes;
  bool control_seen_at_init = false;
  std::vector<std::pair<uint32_t, int64_t>> messages;
  std::vector<Qt::HANDLE> message_threads;
  std::vector<int> timers;

  int64_t OnWindowMessage(uint32_t message, int64_t wparam, int64_t lparam) override {
    if (message == kTestMessage) {
      messages.emplace_back(message, wparam);
      message_threads.push_back(QThread::currentThreadId());
      return 1;
    }
    return MDialog::OnWindowMessage(message, wparam, lparam);
  }
  int OnInitDialog() override {
    calls.push_back("OnInitDialog");
    control_seen_at_init = GetControl(31) != nullptr;
    return 1;
  }
  void InitUI(const Rect& rect) override {
    calls.push_back("InitUI");
    CreateArea("MText", 31, Rect{10, 10, rect.right - 10, 40}, "title");
  }
  void UISize(const Rect& rect) override {
    calls.push_back("UISize");
    sizes.push_back(rect);
  }
  int OnNcActivate(bool active) override {
    calls.push_back(active ? "OnNcActivate(1)" : "OnNcActivate(0)");
    return 1;
  }
  void OnTimer(int id) override {
    timers.push_back(id);
    KillTimer(id);
  }
};

constexpr uint32_t kDialogStyle = kStylePopup;

TEST(DialogHooks, InitUIThenUISizeThenOnInitDialogAndUISizeOnEveryResize) {
  RecordingDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr, "HookDlg", kDialogStyle, 0, Rect{0, 0, 300, 200}));
  ASSERT_GE(dialog.calls.size(), 3u);
  EXPECT_EQ(dialog.calls[0], "InitUI");
  EXPECT_EQ(dialog.calls[1], "UISize");
  EXPECT_EQ(dialog.calls[2], "OnInitDialog");
  EXPECT_TRUE(dialog.control_seen_at_init);
  EXPECT_EQ(dialog.sizes.front(), (Rect{0, 0, 300, 200}));

  dialog.ShowWindow(kShowShow);
  QCoreApplication::processEvents();
  const size_t before = dialog.sizes.size();
  dialog.MoveWindow(Rect{0, 0, 420, 260});
  QCoreApplication::processEvents();
  ASSERT_EQ(dialog.sizes.size(), before + 1) << "one UISize per size change";
  EXPECT_EQ(dialog.sizes.back(), (Rect{0, 0, 420, 260}));
  dialog.MoveWindow(Rect{50, 50, 470, 310});  // moved, same size
  QCoreApplication::processEvents();
  EXPECT_EQ(dialog.sizes.size(), before + 1);
  EXPECT_EQ(std::count(dialog.calls.begin(), dialog.calls.end(), "InitUI"), 1);
  EXPECT_FALSE(dialog.Create(nullptr, "again", kDialogStyle, 0, Rect{0, 0, 10, 10}));
}

TEST(DialogHooks, LosingActivationReachesOnNcActivate) {
  RecordingDialog first;
  RecordingDialog second;
  first.Create(nullptr, "FirstDlg", kDialogStyle, 0, Rect{0, 0, 200, 100});
  second.Create(nullptr, "SecondDlg", kDialogStyle, 0, Rect{300, 0, 500, 100});
  first.ShowWindow(kShowShow);
  first.GetSafeHwnd()->activateWindow();
  if (!QTest::qWaitForWindowActive(first.GetSafeHwnd())) GTEST_SKIP() << "no window activation here";
  second.ShowWindow(kShowShow);
  second.GetSafeHwnd()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(second.GetSafeHwnd()));
  QCoreApplication::processEvents();
  EXPECT_NE(std::find(first.calls.begin(), first.calls.end(), "OnNcActivate(1)"), first.calls.end());
  EXPECT_EQ(first.calls.back(), "OnNcActivate(0)");
}

TEST(DialogModal, ResultsOfOkCancelCloseMessageAndDestruction) {
  RecordingDialog ok;
  ok.Create(nullptr, "OkDlg", kDialogStyle, 0, Rect{0, 0, 200, 100});
  QTimer::singleShot(0, [&] { ok.DoOK(); });
  EXPECT_EQ(ok.ShowModal(kShowShow), 1);
  EXPECT_FALSE(ok.IsWindowVisible());

  RecordingDialog cancel;
  cancel.Create(nullptr, "CancelDlg", kDialogStyle, 0, Rect{0, 0, 200, 100});
  QTimer::singleShot(0, [&] { cancel.DoCancel(); });
  EXPECT_EQ(cancel.ShowModal(kShowShow), 2);

  RecordingDialog closed;
  closed.Create(nullptr, "MessageBox", kDialogStyle, 0, Rect{0, 0, 200, 100});
  QTimer::singleShot(0, [] { MWindow::FindWindow("MessageBox")->PostMessage(kMessageClose, 2, 0); });
  EXPECT_EQ(closed.ShowModal(kShowShow), 2);

  RecordingDialog destroyed;
  destroyed.Create(nullptr, "GoneDlg", kDialogStyle, 0, Rect{0, 0, 200, 100});
  QTimer::singleShot(0, [&] { destroyed.DestroyWindow(); });
  EXPECT_EQ(destroyed.ShowModal(kShowShow), 2);
  EXPECT_EQ(destroyed.GetSafeHwnd(), nullptr);
  EXPECT_EQ(destroyed.ShowModal(kShowShow), 0) << "no window, no loop";
}

TEST(DialogMessages, PostedFromWorkerRunOnGuiThreadAndDieWithTheWindow) {
  RecordingDialog dialog;
  dialog.Create(nullptr, "PostDlg", kDialogStyle, 0, Rect{0, 0, 200, 100});
  std::atomic<bool> posted{false};
  std::thread worker([&] { posted = dialog.PostMessage(kTestMessage, 7, 0); });
  worker.join();
  EXPECT_TRUE(posted);
  EXPECT_TRUE(dialog.messages.empty()) << "queued, not run on the worker";
  QTest::qWait(20);
  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_EQ(dialog.messages[0].second, 7);
  EXPECT_EQ(dialog.message_threads[0], QThread::currentThreadId());

  dialog.PostMessage(kTestMessage, 8, 0);
  dialog.DestroyWindow();
  QTest::qWait(20);
  EXPECT_EQ(dialog.messages.size(), 1u) << "a message for a destroyed window is dropped";
  EXPECT_FALSE(dialog.PostMessage(kTestMessage, 9, 0));
}

TEST(DialogLifetime, ControlsOfADestroyedWindowOutliveTheirDialogSafely) {
  auto dialog = std::make_unique<RecordingDialog>();
  dialog->Create(nullptr, "ShortDlg", kDialogStyle, 0, Rect{0, 0, 200, 100});
  MControl* text = dialog->GetControl(31);
  ASSERT_NE(text, nullptr);
  text->AddMTimer();
  dialog->DestroyWindow();  // the widget and its controls are deleted later...
  EXPECT_EQ(text->GetOwner(), nullptr);
  dialog.reset();           // ...after the dialog object is gone
  QTest::qWait(20);         // runs the deferred deletion; must not touch the dialog
  SUCCEED();
}

TEST(UiThread, WorkerCallsAreQueuedToTheGuiThread) {
  Qt::HANDLE ran_on = nullptr;
  bool worker_saw_ui_thread = true;
  std::thread worker([&] {
    worker_saw_ui_thread = IsUiThread();
    RunOnUiThread([&] { ran_on = QThread::currentThreadId(); });
  });
  worker.join();
  EXPECT_FALSE(worker_saw_ui_thread);
  EXPECT_EQ(ran_on, nullptr);
  QTest::qWait(20);
  EXPECT_EQ(ran_on, QThread::currentThreadId());
  EXPECT_FALSE(RunOnUiThread(nullptr));
}

TEST(DialogTimers, TimerFiresWithItsIdAndFindWindowForgetsDestroyedWindows) {
  RecordingDialog dialog;
  dialog.Create(nullptr, "TimerDlg", kDialogStyle, 0, Rect{0, 0, 200, 100});
  EXPECT_EQ(MWindow::FindWindow("TimerDlg"), &dialog);
  EXPECT_TRUE(dialog.SetTimer(100, 5));
  EXPECT_FALSE(dialog.SetTimer(101, 0));
  QTest::qWait(60);
  ASSERT_EQ(dialog.timers.size(), 1u) << "killed inside OnTimer, so it fires once";
  EXPECT_EQ(dialog.timers[0], 100);
  dialog.DestroyWindow();
  EXPECT_EQ(MWindow::FindWindow("TimerDlg"), nullptr);
}

}  // namespace
}  // namespace corvane::DUI
