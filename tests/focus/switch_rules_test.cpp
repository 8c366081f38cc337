// The switching rules over a clock the test moves: debounce, targets, refusals.
#include <gtest/gtest.h>

#include "focus/switch_rules.h"

namespace corvane::test {
namespace {

using std::chrono::milliseconds;

class SwitchRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rules_.SetLinks({{"game", 2}, {"editor", 3}});
    rules_.SetDefault(1);
  }
  SwitchRules::Clock::time_point At(int ms) const { return start_ + milliseconds(ms); }

  SwitchRules rules_;
  const SwitchRules::Clock::time_point start_ = SwitchRules::Clock::now();
};

TEST_F(SwitchRulesTest, AFocusCountsOnlyOnceItHasLastedTheDebounceTime) {
  EXPECT_FALSE(rules_.Deadline());
  rules_.Focus("game", At(0));
  ASSERT_TRUE(rules_.Deadline());
  EXPECT_EQ(*rules_.Deadline(), At(0) + SwitchRules::kDebounce);
  EXPECT_EQ(rules_.Settle(At(299), 1), 0);
  EXPECT_TRUE(rules_.Deadline());  // still pending
  EXPECT_EQ(rules_.Settle(At(300), 1), 2);
  EXPECT_FALSE(rules_.Deadline());
  EXPECT_EQ(rules_.Settle(At(900), 1), 0);  // settled once
}

TEST_F(SwitchRulesTest, PassingOverALinkedWindowSwitchesNothing) {
  rules_.Focus("game", At(0));
  rules_.Focus("terminal", At(120));  // alt-tab went past the game
  EXPECT_EQ(rules_.Settle(At(300), 1), 0);
  EXPECT_EQ(rules_.Settle(At(420), 1), 0);  // the default is active already
  rules_.Focus("game", At(500));
  rules_.Focus("editor", At(790));
  EXPECT_EQ(rules_.Settle(At(1090), 1), 3);  // only the focus that lasted counts
}

TEST_F(SwitchRulesTest, AnUnlinkedApplicationReturnsToTheDefault) {
  rules_.Focus("terminal", At(0));
  EXPECT_EQ(rules_.Settle(At(300), 2), 1);
  rules_.Focus("", At(400));  // unknown application
  EXPECT_EQ(rules_.Settle(At(700), 3), 1);
  rules_.SetDefault(4);
  rules_.Focus("terminal", At(800));
  EXPECT_EQ(rules_.Settle(At(1100), 1), 4);
  rules_.SetDefault(0);  // no default known: nothing to return to
  rules_.Focus("other", At(1200));
  EXPECT_EQ(rules_.Settle(At(1500), 2), 0);
}

TEST_F(SwitchRulesTest, ARefusedSwitchIsSettledAgainLater) {
  rules_.Focus("game", At(0));
  ASSERT_EQ(rules_.Settle(At(300), 1), 2);
  rules_.Refused(At(300));
  EXPECT_EQ(rules_.Settle(At(700), 1), 0);
  EXPECT_EQ(rules_.Settle(At(800), 1), 2);
  // Links changed meanwhile: the retry takes the current ones.
  rules_.Focus("game", At(1000));
  rules_.Settle(At(1300), 1);
  rules_.Refused(At(1300));
  rules_.SetLinks({{"game", 4}});
  EXPECT_EQ(rules_.Settle(At(1800), 1), 4);
}

}  // namespace
}  // namespace corvane::test
