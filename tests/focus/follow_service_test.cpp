// The follow service over a scripted focus source: it runs only while links exist,
// switches after the debounce, retries a refused switch, hands pushes to its source.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "focus/follow_service.h"
#include "focus/pushed_focus_source.h"

namespace corvane::test {
namespace {

using namespace std::chrono_literals;

// A source the test drives; it stays alive in the test after the service took a wrapper.
class ForwardingSource : public FocusSource {
 public:
  explicit ForwardingSource(ScriptedFocusSource& target) : target_(target) {}
  std::string Name() const override { return target_.Name(); }
  bool Start(FocusSink& sink) override { return target_.Start(sink); }
  void Stop() override { target_.Stop(); }

 private:
  ScriptedFocusSource& target_;
};

class UnavailableSource : public FocusSource {
 public:
  std::string Name() const override { return "none"; }
  bool Start(FocusSink&) override { return false; }
  void Stop() override {}
};

class FollowServiceTest : public ::testing::Test {
 protected:
  FollowServiceTest()
      : service_({[this] { return active_.load(); },
                  [this](int profile) {
                    std::lock_guard lock(mutex_);
                    switches_.push_back(profile);
                    if (refuse_ > 0) {
                      --refuse_;
                      return FollowService::SwitchOutcome::kRefused;
                    }
                    active_ = profile;
                    return FollowService::SwitchOutcome::kDone;
                  }},
                 [this] {
                   ++factory_calls_;
                   std::vector<std::unique_ptr<FocusSource>> sources;
                   sources.push_back(std::make_unique<UnavailableSource>());
                   sources.push_back(std::make_unique<ForwardingSource>(scripted_));
                   return sources;
                 }) {}

  std::vector<int> Switches() {
    std::lock_guard lock(mutex_);
    return switches_;
  }
  // Waits up to `limit` for `count` switch attempts.
  bool WaitForSwitches(size_t count, std::chrono::milliseconds limit = 3000ms) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (Switches().size() < count && std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(5ms);
    }
    return Switches().size() >= count;
  }

  std::atomic<int> active_{1};
  std::mutex mutex_;
  std::vector<int> switches_;
  int refuse_ = 0;
  int factory_calls_ = 0;
  ScriptedFocusSource scripted_;
  FollowService service_;
};

TEST_F(FollowServiceTest, NothingRunsWhileNoProfileIsLinked) {
  service_.Update({}, 1);
  EXPECT_FALSE(service_.Running());
  EXPECT_EQ(factory_calls_, 0);
  EXPECT_EQ(service_.SourceName(), "");
  service_.Update({{"game", 2}}, 1);
  EXPECT_TRUE(service_.Running());
  EXPECT_EQ(service_.SourceName(), "scripted");  // the first source that could start
  service_.Update({}, 1);
  EXPECT_FALSE(service_.Running());
  EXPECT_FALSE(scripted_.Started());
  scripted_.Focus("game");
  std::this_thread::sleep_for(SwitchRules::kDebounce + 100ms);
  EXPECT_TRUE(Switches().empty());
}

TEST_F(FollowServiceTest, ALastingFocusSwitchesAfterTheDebounceAndBackToTheDefault) {
  service_.Update({{"game", 2}}, 1);
  const auto focused = std::chrono::steady_clock::now();
  scripted_.Focus("game");
  ASSERT_TRUE(WaitForSwitches(1));
  EXPECT_GE(std::chrono::steady_clock::now() - focused, SwitchRules::kDebounce);
  EXPECT_EQ(Switches(), std::vector<int>{2});
  scripted_.Focus("game");  // a repeated report is no new focus
  scripted_.Focus("browser");
  ASSERT_TRUE(WaitForSwitches(2));
  EXPECT_EQ(Switches(), (std::vector<int>{2, 1}));
  EXPECT_EQ(active_, 1);
}

TEST_F(FollowServiceTest, AShortFocusSwitchesNothing) {
  service_.Update({{"game", 2}}, 1);
  scripted_.Focus("game");
  std::this_thread::sleep_for(100ms);
  scripted_.Focus("browser");
  std::this_thread::sleep_for(SwitchRules::kDebounce + 200ms);
  EXPECT_TRUE(Switches().empty());
}

TEST_F(FollowServiceTest, ARefusedSwitchIsTriedAgain) {
  refuse_ = 2;
  service_.Update({{"game", 3}}, 1);
  scripted_.Focus("game");
  ASSERT_TRUE(WaitForSwitches(3, 4000ms));
  EXPECT_EQ(Switches(), (std::vector<int>{3, 3, 3}));
  EXPECT_EQ(active_, 3);
  // The front end can also take back a switch it had accepted.
  active_ = 1;
  service_.RetryLater();
  ASSERT_TRUE(WaitForSwitches(4, 4000ms));
  EXPECT_EQ(Switches().back(), 3);
}

TEST_F(FollowServiceTest, AChoiceByHandBecomesTheProfileToReturnTo) {
  service_.Update({{"game", 2}}, 1);
  scripted_.Focus("game");
  ASSERT_TRUE(WaitForSwitches(1));
  service_.SetDefault(4);
  scripted_.Focus("browser");
  ASSERT_TRUE(WaitForSwitches(2));
  EXPECT_EQ(Switches().back(), 4);
}

TEST(PushedFocus, TheFallbackRunsUntilTheFirstPushAndPushesReachTheRules) {
  class Recorder : public FocusSink {
   public:
    void OnFocus(const std::string& app) override { apps.push_back(app); }
    std::vector<std::string> apps;
  };
  auto fallback = std::make_unique<ScriptedFocusSource>();
  ScriptedFocusSource* scripted = fallback.get();
  PushedFocusSource source(std::move(fallback));
  Recorder sink;
  EXPECT_FALSE(source.Push("early"));  // not started: nobody to tell
  ASSERT_TRUE(source.Start(sink));
  EXPECT_TRUE(scripted->Started());
  EXPECT_EQ(source.Name(), "scripted");
  scripted->Focus("fromprocesses");
  EXPECT_TRUE(source.Push(" Org.Game "));
  EXPECT_FALSE(scripted->Started());
  EXPECT_EQ(source.Name(), "desktop script");
  source.Stop();
  EXPECT_FALSE(source.Push("late"));
  EXPECT_EQ(sink.apps, (std::vector<std::string>{"fromprocesses", "org.game"}));
}

}  // namespace
}  // namespace corvane::test
