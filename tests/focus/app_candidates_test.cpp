// What the link dialog offers: installed desktop entries and the user's running programs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "focus/app_candidates.h"
#include "support/temp_home.h"

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

TEST(InstalledApps, NameEntriesByWindowClassOrFileAndSkipHiddenOnesAndShadowedFiles) {
  TempHome home;
  const fs::path user = home.Root() / "user", system = home.Root() / "system";
  WriteFileBytes(user / "applications" / "org.example.Editor.desktop",
                 "[Desktop Entry]\r\nType=Application\r\nName=Editor\r\n");
  WriteFileBytes(user / "applications" / "shadow.desktop", "[Desktop Entry]\nNoDisplay=true\n");
  WriteFileBytes(system / "applications" / "shadow.desktop", "[Desktop Entry]\nType=Application\n");
  WriteFileBytes(system / "applications" / "game.desktop",
                 "[Desktop Entry]\nType=Application\nStartupWMClass=SuperGame\n"
                 "[Desktop Action x]\nStartupWMClass=Other\n");
  WriteFileBytes(system / "applications" / "link.desktop", "[Desktop Entry]\nType=Link\n");
  WriteFileBytes(system / "applications" / "notes.txt", "[Desktop Entry]\n");
  EXPECT_EQ(InstalledApps({user, system, home.Root() / "missing"}),
            (std::vector<std::string>{"org.example.editor", "supergame"}));
}

TEST(RunningApps, ListThisTestAmongTheUsersProgramsOnce) {
  const std::vector<std::string> apps = RunningApps("/proc", getuid());
  const std::string self = fs::read_symlink("/proc/self/exe").filename().string();
  EXPECT_EQ(std::count(apps.begin(), apps.end(), self), 1);
  EXPECT_TRUE(std::is_sorted(apps.begin(), apps.end()));
  EXPECT_TRUE(RunningApps("/proc", getuid() + 12345).empty());
}

}  // namespace
}  // namespace corvane::test
