// Entry point of the main-window tests: Qt's offscreen platform with a private runtime
// folder and no session bus, so the tests never reach the user's desktop, tray, running
// copy or notification service.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "support/temp_home.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // The window would own its bus name and send battery warnings on the desktop's bus.
  setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/corvane-test-bus", 1);
  corvane::test::TempHome home;
  std::filesystem::permissions(home.Root() / "runtime", std::filesystem::perms::owner_all);
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
