// Entry point of the main-window tests: Qt's offscreen platform with a private runtime
// folder, so the tests never reach the user's desktop, tray or running copy.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "support/temp_home.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  corvane::test::TempHome home;
  std::filesystem::permissions(home.Root() / "runtime", std::filesystem::perms::owner_all);
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
