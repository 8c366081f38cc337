// The process fallback: a made-up /proc tree for the choice of process, and a dummy
// executable really running for the source itself.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "base/text.h"
#include "focus/process_focus_source.h"
#include "support/temp_home.h"

namespace corvane::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Adds /proc/<pid> with an exe link (or only comm) and a stat line with `start` ticks.
void AddProcess(const fs::path& root, int pid, const std::string& exe, unsigned start,
                bool exe_readable = true) {
  const fs::path dir = root / std::to_string(pid);
  fs::create_directories(dir);
  if (exe_readable) fs::create_symlink(exe, dir / "exe");
  WriteFileBytes(dir / "comm", fs::path(exe).filename().string().substr(0, 15) + "\n");
  std::string stat = std::to_string(pid) + " (a b) c) S";
  for (int field = 4; field < 22; ++field) stat += " 0";
  WriteFileBytes(dir / "stat", stat + " " + std::to_string(start) + " 0 0\n");
}

TEST(NewestRunningApp, PicksTheNewestLinkedExecutable) {
  TempHome home;
  const fs::path proc = home.Root() / "proc";
  AddProcess(proc, 10, "/usr/games/Quake", 500);
  AddProcess(proc, 11, "/opt/doom/doom (deleted)", 900);  // replaced on disk while running
  AddProcess(proc, 12, "/usr/bin/bash", 1000);
  AddProcess(proc, 13, "/usr/bin/othergame", 2000, false);  // another user's: comm only
  WriteFileBytes(proc / "self" / "stat", "not a process");
  EXPECT_EQ(NewestRunningApp(proc, {"quake"}), "quake");
  EXPECT_EQ(NewestRunningApp(proc, {"quake", "doom"}), "doom");
  EXPECT_EQ(NewestRunningApp(proc, {"quake", "doom", "othergame"}), "othergame");
  EXPECT_EQ(NewestRunningApp(proc, {"steam"}), "");
  EXPECT_EQ(NewestRunningApp(proc, {}), "");
  EXPECT_EQ(NewestRunningApp(home.Root() / "missing", {"quake"}), "");
}

class Recorder : public FocusSink {
 public:
  void OnFocus(const std::string& app) override {
    std::lock_guard lock(mutex);
    apps.push_back(app);
    changed.notify_all();
  }
  bool WaitFor(const std::string& app, std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, limit, [&] { return !apps.empty() && apps.back() == app; });
  }
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::string> apps;
};

TEST(ProcessFocusSource, ReportsALinkedDummyExecutableWhileItRunsAndOnlyChanges) {
  TempHome home;
  // A name of this run's own: the follow end-to-end test runs a dummy game beside it.
  const std::string name = "CorvaneUnitGame" + std::to_string(getpid());
  const fs::path dummy = home.Root() / name;
  fs::copy_file("/bin/sleep", dummy);
  ProcessFocusSource source;
  source.SetLinkedNames({AsciiLower(name)});
  Recorder sink;
  ASSERT_TRUE(source.Start(sink));
  ASSERT_TRUE(sink.WaitFor("", 2s));  // not running yet

  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    execl(dummy.c_str(), dummy.c_str(), "30", static_cast<char*>(nullptr));
    _exit(127);
  }
  const bool seen = sink.WaitFor(AsciiLower(name), 3s);
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  ASSERT_TRUE(seen);
  EXPECT_TRUE(sink.WaitFor("", 3s));  // gone again
  source.Stop();
  const size_t reports = sink.apps.size();
  EXPECT_EQ(reports, 3u);  // "", the game, "": one report per change, none per scan
  EXPECT_GE(source.Wakeups(), 2);
}

TEST(ProcessFocusSource, DoesNotStartWithoutAProcessFolder) {
  TempHome home;
  ProcessFocusSource source(home.Root() / "no-proc");
  Recorder sink;
  EXPECT_FALSE(source.Start(sink));
  source.Stop();
}

}  // namespace
}  // namespace corvane::test
