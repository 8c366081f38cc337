// Two copies of the program under one user: the second reaches the first.
#include "ui/single_instance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "support/temp_home.h"

namespace corvane::ui {
namespace {

constexpr int kWaitMs = 3000;

TEST(SingleInstance, SecondStartAsksTheFirstToShowItself) {
  test::TempHome home;
  SingleInstance first("Corvane Solo");
  int shown = 0;
  ASSERT_TRUE(first.Listen([&] { ++shown; }));
  SingleInstance second("Corvane Solo");
  EXPECT_EQ(second.Name(), first.Name());
  EXPECT_TRUE(second.NotifyRunning());
  QElapsedTimer timer;
  timer.start();
  while (shown == 0 && timer.elapsed() < kWaitMs) QCoreApplication::processEvents();
  EXPECT_EQ(shown, 1);
  EXPECT_FALSE(SingleInstance("Another Caption").NotifyRunning())
      << "another caption is another program";
}

TEST(SingleInstance, AStaleSocketFromACrashedCopyIsTakenOver) {
  test::TempHome home;
  SingleInstance probe("Corvane Stale");
  // A leftover socket file that nobody listens on.
  ASSERT_TRUE(test::WriteFileBytes(probe.Name(), ""));
  EXPECT_FALSE(probe.NotifyRunning());
  SingleInstance first("Corvane Stale");
  EXPECT_TRUE(first.Listen([] {}));
  EXPECT_TRUE(SingleInstance("Corvane Stale").NotifyRunning());
}

}  // namespace
}  // namespace corvane::ui
