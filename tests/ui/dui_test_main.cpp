// Entry point of the control-layer tests: an offscreen QApplication with its own runtime
// folder, and the shipped skin as the skin folder.
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/temp_home.h"
#include "ui/dui/manager.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  corvane::test::TempHome home;  // also gives XDG_RUNTIME_DIR a private 0700 folder
  std::filesystem::create_directories(home.Root() / "runtime");
  std::filesystem::permissions(home.Root() / "runtime", std::filesystem::perms::owner_all);
  setenv("XDG_RUNTIME_DIR", (home.Root() / "runtime").c_str(), 1);
  QApplication app(argc, argv);
  corvane::DUI::Manager::SetProgramDir(CORVANE_DATA_DIR);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
