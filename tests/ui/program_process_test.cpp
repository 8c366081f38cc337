// The real window program as separate processes (offscreen, simulated mouse, private XDG
// folders): overlapping starts leave one running copy, and unknown switches or "--hide"
// do not stop a start.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_home.h"
#include "ui/single_instance.h"

extern char** environ;

namespace corvane::ui {
namespace {

constexpr int kStartMs = 15000;
constexpr int kStillRunningMs = 1500;

// Starts the window program with `args`; its standard error goes to `err_file`.
pid_t Spawn(const std::vector<std::string>& args, const std::filesystem::path& err_file) {
  std::vector<char*> argv{const_cast<char*>(CORVANE_GUI_PATH)};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_file.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = -1;
  if (posix_spawn(&pid, CORVANE_GUI_PATH, &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// The exit status once `pid` has ended within `timeout_ms`; -1 while it still runs, -2
// when it ended by a signal.
int WaitExit(pid_t pid, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    if (std::chrono::steady_clock::now() >= deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

// Ends a running copy as the desktop would, and returns its exit status.
int Terminate(pid_t pid) {
  kill(pid, SIGTERM);
  const int status = WaitExit(pid, kStartMs);
  if (status == -1) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  return status;
}

class ProgramProcessTest : public testing::Test {
 protected:
  std::vector<std::string> Args(std::vector<std::string> extra = {}) {
    std::vector<std::string> args{"--simulate=wired", "--program-dir", CORVANE_DATA_DIR};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  }
  std::filesystem::path Err(const std::string& name) { return home_.Root() / (name + ".err"); }

  test::TempHome home_;  // own XDG folders and a 0700 runtime folder for every copy
};

TEST_F(ProgramProcessTest, OverlappingStartsLeaveOneRunningCopyAndLaterOnesEndWithZero) {
  const pid_t a = Spawn(Args(), Err("a"));
  const pid_t b = Spawn(Args(), Err("b"));
  ASSERT_GT(a, 0);
  ASSERT_GT(b, 0);
  int a_status = -1, b_status = -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartMs);
  while (a_status == -1 && b_status == -1 && std::chrono::steady_clock::now() < deadline) {
    a_status = WaitExit(a, 50);
    if (a_status == -1) b_status = WaitExit(b, 50);
  }
  const bool a_ended = a_status != -1;
  const pid_t survivor = a_ended ? b : a;
  EXPECT_TRUE(a_ended || b_status != -1) << "both copies run";
  EXPECT_EQ(a_ended ? a_status : b_status, 0) << test::ReadFileBytes(Err(a_ended ? "a" : "b"));
  EXPECT_EQ(WaitExit(survivor, kStillRunningMs), -1) << "the running copy went away";

  // A later start reaches the live copy and never takes its place.
  const SingleInstance instance("Corvane");
  ASSERT_TRUE(std::filesystem::exists(instance.Name()));
  const pid_t c = Spawn(Args(), Err("c"));
  EXPECT_EQ(WaitExit(c, kStartMs), 0) << test::ReadFileBytes(Err("c"));
  EXPECT_TRUE(std::filesystem::exists(instance.Name())) << "the live copy's socket was removed";
  EXPECT_TRUE(instance.NotifyRunning());
  EXPECT_EQ(WaitExit(survivor, 200), -1);

  EXPECT_EQ(Terminate(survivor), 0);
  if (!a_ended && b_status == -1) Terminate(b);
  EXPECT_FALSE(instance.LockHeld()) << "released when the copy ended";
}

TEST_F(ProgramProcessTest, HideAndUnknownSwitchesStartTheProgramWithOneWarning) {
  const pid_t pid = Spawn(Args({"--hide", "--no-such-switch", "-autorun"}), Err("hide"));
  ASSERT_GT(pid, 0);
  const int early = WaitExit(pid, 3000);
  EXPECT_EQ(early, -1) << "ended at start with " << early << ": "
                       << test::ReadFileBytes(Err("hide"));
  if (early == -1) {
    EXPECT_EQ(Terminate(pid), 0);
  }
  const std::string err = test::ReadFileBytes(Err("hide"));
  std::size_t warnings = 0;
  for (std::size_t at = err.find("unknown option"); at != std::string::npos;
       at = err.find("unknown option", at + 1)) {
    ++warnings;
  }
  EXPECT_EQ(warnings, 1u) << err;
  EXPECT_NE(err.find("--no-such-switch"), std::string::npos) << err;
  EXPECT_EQ(err.find("--hide"), std::string::npos) << err;
  EXPECT_EQ(err.find("-autorun"), std::string::npos) << err;
}

}  // namespace
}  // namespace corvane::ui
