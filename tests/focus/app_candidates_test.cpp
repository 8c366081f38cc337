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

// One process of a made-up /proc: its executable link and its stat line.
void AddProcess(const fs::path& proc, const std::string& pid, const std::string& exe,
                const std::string& stat) {
  fs::create_directories(proc / pid);
  if (!exe.empty()) fs::create_symlink(exe, proc / pid / "exe");
  WriteFileBytes(proc / pid / "stat", stat);
}

TEST(RunningApps, OfferTheUsersDesktopProgramsOnceAndNotShellToolsOrAnonymousCode) {
  TempHome home;
  const fs::path proc = home.Root() / "proc";
  AddProcess(proc, "100", "/opt/games/SuperGame", "100 (SuperGame) S 1 100 100 0 -1 4194560");
  AddProcess(proc, "101", "/opt/games/SuperGame", "101 (SuperGame) S 1 100 100 0 -1 4194560");
  AddProcess(proc, "102", "/usr/bin/grep", "102 (grep) S 90 102 90 34816 102 4194304");
  AddProcess(proc, "103", "/memfd:helper (deleted)", "103 (helper) S 1 103 103 0 -1 0");
  AddProcess(proc, "104", "/usr/lib/editor (deleted)", "104 (editor) S 1 104 104 0 -1 0");
  AddProcess(proc, "105", "", "105 (kworker/0:1) I 2 0 0 0 -1 0");
  // A name with spaces and parentheses does not shift the fields after it.
  AddProcess(proc, "106", "/usr/bin/web-browser", "106 (Web (Content) 1) S 1 106 106 0 -1 0");
  AddProcess(proc, "self", "/usr/bin/other", "0 (other) S 1 1 1 0 -1 0");
  EXPECT_EQ(RunningApps(proc, getuid()), (std::vector<std::string>{"supergame", "web-browser"}));
  EXPECT_TRUE(RunningApps(proc, getuid() + 12345).empty()) << "another user's processes";
  const std::vector<std::string> real = RunningApps("/proc", getuid());
  EXPECT_TRUE(std::is_sorted(real.begin(), real.end()));
}

}  // namespace
}  // namespace corvane::test
