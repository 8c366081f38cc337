// Two copies of the program under one user: the first claims the caption, a later one
// reaches it; a leftover socket is replaced, a live one never.
#include "ui/single_instance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <filesystem>

#include "support/temp_home.h"

namespace corvane::ui {
namespace {

constexpr int kWaitMs = 3000;

// Handles events until `shown` reaches `count` (or for a while when it never does).
void WaitFor(const int& shown, int count) {
  QElapsedTimer timer;
  timer.start();
  while (shown < count && timer.elapsed() < kWaitMs) QCoreApplication::processEvents();
}

TEST(SingleInstance, SecondStartAsksTheFirstToShowItselfEvenBeforeItsWindowExists) {
  test::TempHome home;
  SingleInstance first("Corvane Solo");
  ASSERT_EQ(first.TakeOver(), SingleInstance::Claim::kOwner);
  SingleInstance second("Corvane Solo");
  EXPECT_EQ(second.Name(), first.Name());
  EXPECT_EQ(second.TakeOver(), SingleInstance::Claim::kOtherRunning);
  int shown = 0;
  WaitFor(shown, 1);  // no handler yet: the request waits
  // The request that came before the window is kept for it.
  first.SetShowHandler([&] { ++shown; });
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(SingleInstance("Corvane Solo").NotifyRunning());
  WaitFor(shown, 2);
  EXPECT_EQ(shown, 2);
  EXPECT_FALSE(SingleInstance("Another Caption").NotifyRunning())
      << "another caption is another program";
}

TEST(SingleInstance, AStaleSocketIsReplacedButALiveOwnerIsNeverTakenOver) {
  test::TempHome home;
  SingleInstance probe("Corvane Stale");
  // A leftover socket file that nobody listens on.
  ASSERT_TRUE(test::WriteFileBytes(probe.Name(), ""));
  EXPECT_FALSE(probe.NotifyRunning());
  auto first = std::make_unique<SingleInstance>("Corvane Stale");
  EXPECT_EQ(first->TakeOver(), SingleInstance::Claim::kOwner);
  EXPECT_TRUE(SingleInstance("Corvane Stale").NotifyRunning());
  for (int i = 0; i < 3; ++i) {
    SingleInstance later("Corvane Stale");
    EXPECT_EQ(later.TakeOver(), SingleInstance::Claim::kOtherRunning);
  }
  EXPECT_TRUE(std::filesystem::exists(first->Name())) << "a later start removed the live socket";
  EXPECT_TRUE(SingleInstance("Corvane Stale").NotifyRunning());
  first.reset();
  EXPECT_FALSE(probe.LockHeld());
  SingleInstance next("Corvane Stale");
  EXPECT_EQ(next.TakeOver(), SingleInstance::Claim::kOwner) << "released on exit";
}

TEST(SingleInstance, CaptionPassesTheSafeNameRuleBeforeNamingTheSocket) {
  test::TempHome home;
  const std::filesystem::path runtime = home.Root() / "runtime";
  for (const char* caption : {"../../evil", "a/b", "..", ""}) {
    SingleInstance instance(caption);
    EXPECT_EQ(std::filesystem::path(instance.Name()).parent_path(), runtime) << caption;
    EXPECT_EQ(instance.TakeOver(), SingleInstance::Claim::kOwner) << caption;
  }
  EXPECT_EQ(
      std::filesystem::path(SingleInstance("a/b").Name()).filename().string().rfind("a_b-", 0), 0u);
}

}  // namespace
}  // namespace corvane::ui
