// The real window program on the simulated mouse (offscreen), for window and page tests:
// message boxes are answered with box_answer_ and recorded, exits are counted.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/temp_home.h"
#include "ui/device_main_dlg.h"
#include "ui/dui/cdevice_list.h"
#include "ui/startup_options.h"
#include "ui/window_program.h"
#include "worker/device_session.h"

namespace corvane::ui {

inline constexpr int kWaitMs = 8000;

// Runs the event loop until `done` holds; false on time-out.
inline bool WaitFor(const std::function<bool()>& done, int timeout_ms = kWaitMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeout_ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

class WindowFixture : public testing::Test {
 protected:
  // Starts the program on the simulator in `mode`.
  void Start(const std::string& mode, bool hide = false) {
    if (options_.session.program_dir.empty()) options_.session.program_dir = CORVANE_DATA_DIR;
    options_.session.simulate = mode;
    options_.hide = hide;
    std::string error;
    ASSERT_EQ(program_->Start(options_, error), WindowProgram::StartResult::kStarted) << error;
    Window().SetMessageBoxHandler([this](const std::string& title, const std::string& body, int) {
      box_titles_.push_back(title);
      boxes_.push_back(title + "|" + body);
      return box_answer_;
    });
    Window().SetExitHandler([this] { ++exits_; });
  }
  DeviceMainDlg& Window() { return program_->Window(); }
  DeviceSession& Session() { return program_->Session(); }
  std::string Text(int id) { return Window().Text(id); }
  // Lets the worker finish what it was given and the window take in its reports.
  void Settle() {
    ASSERT_TRUE(Session().Worker().WaitIdle(std::chrono::milliseconds(kWaitMs)));
    QTest::qWait(100);
  }
  // Waits for the simulated mouse in the list and opens it.
  void OpenSimulatedMouse() {
    ASSERT_TRUE(WaitFor([this] { return Window().DeviceList()->GetOnlineDevCount() > 0; }));
    // The list fills before the worker has loaded the model and its database.
    ASSERT_TRUE(Session().Worker().WaitIdle(std::chrono::milliseconds(kWaitMs)));
    Window().DeviceList()->SetSelectIndex(0);
    Window().OnMessage(kIdDeviceList, DUI::NotifyCode::kClick, 0, 0);
  }

  test::TempHome home_;
  StartupOptions options_;
  std::unique_ptr<WindowProgram> program_ =
      std::make_unique<WindowProgram>("/opt/corvane/bin/corvane");
  std::vector<std::string> boxes_;       // "title|body" of every message box
  std::vector<std::string> box_titles_;  // their titles alone
  int box_answer_ = 1;                   // what every message box is answered with
  int exits_ = 0;
};

}  // namespace corvane::ui
