// DPI and performance page logic against a real store: what each action writes and
// which job it posts.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/text_ids.h"
#include "base/text.h"
#include "settings/dpi_stages.h"
#include "settings/performance_options.h"
#include "store/settings_database.h"
#include "support/temp_home.h"

namespace corvane {
namespace {

struct RecordingPoster : TaskPoster {
  void Post(WorkerTask task) override { tasks.push_back(task); }
  std::vector<WorkerTask> tasks;
};

class PageLogicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(store_.OpenDeviceDatabase(home_.DataHome() / "Corvane Files", "m1"));
    profile_ = store_.EnsureProfiles("Profile", {});
    ASSERT_GT(profile_, 0);
  }
  std::string Get(const char* key) { return store_.GetConfigValue(profile_, key).value_or("?"); }
  void Set(const char* key, const char* value) { store_.SetConfigValue(profile_, key, value); }

  test::TempHome home_;
  SettingsDatabase store_;
  DeviceState state_;
  RecordingPoster poster_;
  int profile_ = 0;
};

TEST_F(PageLogicTest, ReducingTheCountPullsTheActiveStageIn) {
  DpiStages dpi(store_, state_, poster_);
  Set("dpi_count", "6");
  Set("dpi_index", "4");
  dpi.Load();
  DpiActionResult result = dpi.ChangeCount(3);
  EXPECT_EQ(Get("dpi_count"), "3");
  EXPECT_EQ(Get("dpi_index"), "2");
  EXPECT_EQ(poster_.tasks, std::vector<WorkerTask>{WorkerTask::kDpiStageValues});
  EXPECT_TRUE(result.posted);
  DpiPageView view = dpi.View();
  EXPECT_EQ(view.stages.size(), 3u);
  EXPECT_EQ(view.index, 2);
}

TEST_F(PageLogicTest, SelectingTheActiveStageWritesButPostsNothing) {
  DpiStages dpi(store_, state_, poster_);
  state_.SetTips(true, true);
  Set("dpi_index", "1");
  dpi.Load();
  EXPECT_FALSE(dpi.SelectStage(1).posted);
  EXPECT_TRUE(poster_.tasks.empty());
  DpiActionResult result = dpi.SelectStage(3);
  EXPECT_EQ(Get("dpi_index"), "3");
  EXPECT_EQ(poster_.tasks, std::vector<WorkerTask>{WorkerTask::kDpiStageValues});
  // The pop-up waits for the worker to see the mouse take the stage.
  EXPECT_EQ(state_.TakePendingDpiPopup(), std::optional<int>(3200));  // built-in stage 3
  EXPECT_TRUE(result.show_save_wait);
  // A stage the list does not show cannot be chosen.
  Set("dpi_count", "3");
  EXPECT_FALSE(dpi.SelectStage(3).posted);
  EXPECT_EQ(Get("dpi_index"), "3") << "unchanged";
}

TEST_F(PageLogicTest, TypedAndSlidValuesFollowTheSensor) {
  DpiStages dpi(store_, state_, poster_);
  state_.SetSensor(17);
  dpi.Load();
  EXPECT_EQ(dpi.TypeValue(0, "12345").value, 12000);
  EXPECT_EQ(Get("dpi_group0_value"), "12000");
  state_.SetSensor(99);
  dpi.TypeValue(0, "12345");
  EXPECT_EQ(Get("dpi_group0_value"), "12300");
  // A field emptied or holding no number changes nothing: no lowest DPI, nothing sent.
  const std::string before = Get("dpi_group2_value");
  poster_.tasks.clear();
  for (const char* text : {"not a number", "", "  ", "1,600", "16k"}) {
    const DpiActionResult kept = dpi.TypeValue(2, text);
    EXPECT_FALSE(kept.posted) << '"' << text << '"';
    EXPECT_EQ(IntToDecimal(kept.value), before) << "the list shows the stored value again";
  }
  EXPECT_EQ(Get("dpi_group2_value"), before);
  EXPECT_TRUE(poster_.tasks.empty());
  EXPECT_EQ(dpi.TypeValue(2, "10").value, 50) << "a number below the range is still raised";
  EXPECT_EQ(Get("dpi_group2_value"), "50");
  // The stage typed into is the current one for the store and the page alike, so a later
  // click on it changes nothing and the mouse's next stage change onto it is not missed.
  EXPECT_EQ(Get("dpi_index"), "2");
  EXPECT_EQ(state_.CachedIndex(), 2);
  // Set from outside the window, a value leaves the mouse on its stage.
  EXPECT_EQ(dpi.TypeValue(1, "900", true).value, 900);
  EXPECT_EQ(Get("dpi_index"), "2");
  EXPECT_EQ(state_.CachedIndex(), 2);
  poster_.tasks.clear();
  EXPECT_FALSE(dpi.SelectStage(2).posted);
  dpi.MoveSlider(1, 40);  // generic scale: 40 * 50
  EXPECT_EQ(Get("dpi_group1_value"), "2000");
  EXPECT_TRUE(poster_.tasks.empty());  // only the release posts
  dpi.Apply();
  EXPECT_EQ(poster_.tasks, std::vector<WorkerTask>{WorkerTask::kDpiStageValues});
}

TEST_F(PageLogicTest, ColourCancelChangesNothingAndResetPostsEighteen) {
  DpiStages dpi(store_, state_, poster_);
  std::string before = Get("dpi_group2_rgb");
  dpi.SetColour(2, 0);
  EXPECT_EQ(Get("dpi_group2_rgb"), before);
  dpi.SetColour(2, 65280);
  EXPECT_EQ(Get("dpi_group2_rgb"), "65280");
  dpi.Reset();
  EXPECT_EQ(poster_.tasks,
            (std::vector<WorkerTask>{WorkerTask::kDpiStageColours, WorkerTask::kFactoryDpi}));
}

TEST_F(PageLogicTest, SensorSwitchesDropForeignBits) {
  PerformanceOptions options(store_, state_, poster_);
  Set("sensor_flag", "53");
  PerformanceView view = options.Load();
  EXPECT_TRUE(view.sensor_box[0]);
  EXPECT_FALSE(view.sensor_box[1]);
  EXPECT_TRUE(view.sensor_box[2]);
  options.SetSensorSwitches(true, false, false);
  EXPECT_EQ(Get("sensor_flag"), "4");
  EXPECT_EQ(poster_.tasks, std::vector<WorkerTask>{WorkerTask::kSensorOptions});
}

TEST_F(PageLogicTest, ReportRateWritesBothKeysAndHighRatesNeedClassSeven) {
  PerformanceOptions options(store_, state_, poster_);
  state_.SetRateClass(6);
  EXPECT_EQ(options.Load().rates.size(), 4u);
  options.SelectReportRate(1);  // 250Hz
  EXPECT_EQ(Get("report_rate"), "4");
  EXPECT_EQ(Get("report_rate_wireless"), "4");
  state_.SetRateClass(7);
  EXPECT_EQ(options.Load().rates.size(), 7u);
  Set("report_rate", "3");  // matches no item
  EXPECT_FALSE(options.Load().selected_rate.has_value());
  options.ResetReportRate(std::nullopt);
  EXPECT_EQ(Get("report_rate"), "3");
  EXPECT_EQ(poster_.tasks,
            (std::vector<WorkerTask>{WorkerTask::kReportRate, WorkerTask::kReportRate}));
}

TEST_F(PageLogicTest, ResponseTimeAndLiftoffEdges) {
  PerformanceOptions options(store_, state_, poster_);
  EXPECT_EQ(options.CommitResponseTime("25").value, 20);
  EXPECT_EQ(Get("button_respondtime"), "20");
  EXPECT_TRUE(poster_.tasks.empty());
  options.ConfirmResponseTime("-3");
  EXPECT_EQ(Get("button_respondtime"), "0");
  EXPECT_EQ(poster_.tasks, std::vector<WorkerTask>{WorkerTask::kPowerOptions});
  // An emptied field keeps the stored time and sends nothing.
  poster_.tasks.clear();
  Set("button_respondtime", "8");
  EXPECT_EQ(options.CommitResponseTime("").value, 8);
  EXPECT_EQ(options.ConfirmResponseTime(" ").value, 8);
  EXPECT_EQ(Get("button_respondtime"), "8");
  EXPECT_TRUE(poster_.tasks.empty());
  Set("liftoff_height", "0");
  EXPECT_FALSE(options.Load().liftoff_two_mm);
  options.SetLiftoff(true);
  EXPECT_EQ(Get("liftoff_height"), "2");
  EXPECT_TRUE(options.Load().liftoff_two_mm);
}

TEST_F(PageLogicTest, SleepItemsAndMovementSwitchesRoundTrip) {
  PerformanceOptions options(store_, state_, poster_);
  const std::vector<SleepDelayItem>& items = SleepDelayItems();
  ASSERT_EQ(items.size(), 8u);
  int previous_seconds = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    const SleepDelayItem& item = items[i];
    SCOPED_TRACE(testing::Message() << "item " << i);
    // What the item says is what it stores: the data counts tens of seconds.
    const int seconds = item.amount * (item.text_id == kTextMinutes ? 60 : 1);
    EXPECT_TRUE(item.text_id == kTextMinutes || item.text_id == kTextSeconds);
    EXPECT_EQ(seconds, item.data * 10);
    EXPECT_GT(seconds, previous_seconds);  // offered shortest first
    previous_seconds = seconds;
    const OptionResult result = options.SetSleepDelay(item.data);
    EXPECT_TRUE(result.posted);
    EXPECT_EQ(Get("sleep_light"), std::to_string(item.data));
    EXPECT_EQ(options.Load().sleep_item, std::optional<int>(static_cast<int>(i)));
  }
  Set("sleep_light", "2");  // no item holds 20 s
  EXPECT_FALSE(options.Load().sleep_item.has_value());

  options.SetMoveWakeup(false);
  options.SetMoveCloseLight(true);
  EXPECT_EQ(Get("move_wakeup"), "0");
  EXPECT_EQ(Get("move_closelight"), "1");
  PerformanceView view = options.Load();
  EXPECT_FALSE(view.move_wakeup);
  EXPECT_TRUE(view.move_closelight);
  options.SetMoveWakeup(true);
  options.SetMoveCloseLight(false);
  view = options.Load();
  EXPECT_TRUE(view.move_wakeup);
  EXPECT_FALSE(view.move_closelight);
  Set("move_wakeup", "2");  // ticked only for exactly 1
  EXPECT_FALSE(options.Load().move_wakeup);
  // Every power option goes out with the power job.
  EXPECT_EQ(poster_.tasks, std::vector<WorkerTask>(items.size() + 4, WorkerTask::kPowerOptions));
}

}  // namespace
}  // namespace corvane
