// Worker jobs against the simulated mouse: the exact bytes each performance job sends,
// read-back into the store, the failure reaction and the notifications.
#include <gtest/gtest.h>

#include <chrono>

#include "worker/device_jobs.h"
#include "worker_fixture.h"

namespace corvane::test {
namespace {

TEST_F(WorkerSimTest, StartupReadsTheMouseBackOnceAndPrefersTheCable) {
  SimState state;
  state.settings.dpi_code = {8, 16, 0, 32, 64, 120};  // stage 2 reads as 0 DPI
  state.settings.sensor_flag8 = 1;
  state.settings.sensor_flag4 = 0;
  state.settings.dpi_count = 4;
  state.settings.dpi_index = 2;
  StartSim(SimMode::kBoth, &state);
  ASSERT_TRUE(jobs_.Run(WorkerTask::kStartup));
  EXPECT_EQ(manager_.ActiveConnectionMode(), ConnectionMode::kWired);
  EXPECT_EQ(recorder_.ConnectionText(), 51);
  EXPECT_EQ(Get("dpi_count"), "4");
  EXPECT_EQ(Get("dpi_index"), "2");
  EXPECT_EQ(Get("dpi_group1_value"), "1600");  // sensor 53: code * 100
  EXPECT_NE(Get("dpi_group2_value"), "0");     // below 50 DPI: previous value kept
  EXPECT_EQ(Get("sensor_flag"), "8");
  EXPECT_EQ(Get("report_rate"), "1");
  EXPECT_EQ(Get("report_rate_wireless"), "1");
  EXPECT_EQ(state_.Sensor(), 53);
  EXPECT_EQ(state_.RateClass(), 7);

  size_t sent = CaptureLines().size();
  EXPECT_TRUE(jobs_.ReadBackSettings());
  EXPECT_EQ(CaptureLines().size(), sent);  // the same type is not read twice in a run
}

TEST_F(WorkerSimTest, DpiJobSendsClampedCodesForEachSensor) {
  StartSim(SimMode::kWired);
  jobs_.Run(WorkerTask::kStartup);
  Set("dpi_count", "6");
  Set("dpi_index", "2");
  const char* values[] = {"800", "1600", "2400", "3200", "6400", "99999"};
  for (int i = 0; i < 6; ++i) Set("dpi_group" + std::to_string(i) + "_value", values[i]);
  jobs_.Run(WorkerTask::kDpiStageValues);
  EXPECT_EQ(Hex(CaptureLines().back()),
            "0003000125260800080010001000180018002000200040004000A000A000000086");

  SimState state = sim_->State();
  state.sensor_code = 17;
  sim_->SetState(state);
  jobs_.Run(WorkerTask::kArrival);  // enumerates again and takes the new sensor code
  EXPECT_EQ(state_.Sensor(), 17);
  Set("dpi_count", "3");
  Set("dpi_index", "1");
  const char* wide[] = {"10", "12000", "24000", "10000", "30000", "99999"};
  for (int i = 0; i < 6; ++i) Set("dpi_group" + std::to_string(i) + "_value", wide[i]);
  jobs_.Run(WorkerTask::kDpiStageValues);
  EXPECT_EQ(Hex(CaptureLines().back()),
            "00030001251301000100DC00DC00E800E800C800C800E800E800E800E8000000CD");
}

TEST_F(WorkerSimTest, OptionJobsReachTheMouse) {
  StartSim(SimMode::kWired);
  jobs_.Run(WorkerTask::kStartup);
  Set("report_rate", "4");
  Set("sensor_flag", "53");
  Set("liftoff_height", "2");
  Set("sleep_light", "30");
  Set("move_wakeup", "0");
  Set("move_closelight", "1");
  Set("button_respondtime", "12");
  Set("dpi_group0_rgb", "16711680");
  for (WorkerTask task : {WorkerTask::kReportRate, WorkerTask::kSensorOptions,
                          WorkerTask::kPowerOptions, WorkerTask::kDpiStageColours}) {
    jobs_.Run(task);
  }
  SimSettings mouse = sim_->State().settings;
  EXPECT_EQ(mouse.report_rate, 4);
  EXPECT_EQ(mouse.liftoff_height, 2);
  EXPECT_EQ(mouse.sensor_flag8, 0);
  EXPECT_EQ(mouse.sensor_flag4, 1);
  EXPECT_EQ(mouse.sleep_light, 30);
  EXPECT_EQ(mouse.move_wakeup, 0);
  EXPECT_EQ(mouse.move_closelight, 1);
  EXPECT_EQ(mouse.button_respondtime, 12);
  EXPECT_EQ(mouse.dpi_color[0], 16711680u);
  std::vector<std::string> out = CaptureLines();
  std::string rate = Hex(out[out.size() - 4]);
  EXPECT_EQ(rate.size(), 130u);  // report rate travels as 65 bytes
  EXPECT_EQ(rate.substr(0, 12), "000200010104");
}

TEST_F(WorkerSimTest, FailedWirelessWriteRunsTheFailureReaction) {
  StartSim(SimMode::kWireless);
  jobs_.Run(WorkerTask::kStartup);
  ASSERT_EQ(manager_.ActiveConnectionMode(), ConnectionMode::kReceiver);
  SimFaults faults;
  faults.forced_status = 0x05;
  sim_->SetFaults(SimLink::kReceiver, faults);
  view_.SetLinkFlag(false);
  recorder_.ClearCalls();
  jobs_.Run(WorkerTask::kReportRate);
  EXPECT_TRUE(recorder_.Called("ClosePopups"));
  EXPECT_TRUE(recorder_.Called("SetDeviceState 11 1 1"));
  EXPECT_TRUE(recorder_.Called("SetDeviceState " + std::to_string(kIdsOnlyDeviceType) + " 1 1"));
  EXPECT_EQ(recorder_.ConnectionText(), 52);
  EXPECT_TRUE(state_.Link());
}

TEST_F(WorkerSimTest, LateRepliesAreNeverTakenForTheNextCommandsReplies) {
  StartSim(SimMode::kWired);
  jobs_.Run(WorkerTask::kStartup);
  ASSERT_FALSE(jobs_.TakeFailure());
  const std::vector<std::string> keys = {"report_rate", "sleep_light", "dpi_group0_rgb",
                                         "dpi_count", "liftoff_height"};
  std::vector<std::string> before;
  for (const std::string& key : keys) before.push_back(Get(key.c_str()));
  SimFaults faults;
  // Every reply lands well after its 50-read wait (which a loaded machine stretches).
  faults.reply_delay_ms = 5000;
  sim_->SetFaults(SimLink::kWired, faults);
  state_.ForgetReads();
  const auto start = std::chrono::steady_clock::now();
  jobs_.ReadBackSettings();
  for (size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(Get(keys[i].c_str()), before[i]) << keys[i];
  const auto failure = jobs_.TakeFailure();
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->outcome, CommandOutcome::kNoReply);
  // The read-back stops at the first unanswered command instead of waiting out each one.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(WorkerSimTest, RefusedCommandEndsTheJobAndIsReported) {
  StartSim(SimMode::kWired);
  jobs_.Run(WorkerTask::kStartup);
  SimFaults faults;
  faults.forced_status = 0x05;
  sim_->SetFaults(SimLink::kWired, faults);
  const size_t sent = CaptureLines().size();
  const auto start = std::chrono::steady_clock::now();
  jobs_.Run(WorkerTask::kUploadProfile);
  // A refusal is not the awaited reply: the wait runs out (50 reads of 30 ms), once.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_EQ(CaptureLines().size(), sent + 1) << "nothing is sent after the refused command";
  const auto failure = jobs_.TakeFailure();
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->outcome, CommandOutcome::kRefused);
  EXPECT_EQ(failure->command, std::stoi(Hex(CaptureLines().back()).substr(2, 2), nullptr, 16))
      << "the refused command, not the reply's status byte";
  EXPECT_FALSE(jobs_.TakeFailure()) << "a failure is reported once";
  sim_->SetFaults(SimLink::kWired, SimFaults{});
  jobs_.Run(WorkerTask::kReportRate);  // the next job starts afresh
  EXPECT_FALSE(jobs_.TakeFailure());
}

TEST_F(WorkerSimTest, NotificationArrivingBeforeACommandIsHandledAfterIt) {
  StartSim(SimMode::kWired);
  jobs_.Run(WorkerTask::kStartup);
  const int before = std::stoi(Get("dpi_index"));
  state_.SetCachedStages(std::stoi(Get("dpi_count")), before);
  sim_->PressDpiButton();           // queued on the interface, not yet read
  jobs_.Run(WorkerTask::kReportRate);  // its wait meets the notification first
  EXPECT_FALSE(jobs_.TakeFailure());
  EXPECT_EQ(Get("dpi_index"), std::to_string(before)) << "not acted on inside the command";
  jobs_.PollNotification();
  EXPECT_EQ(Get("dpi_index"), std::to_string(before + 1));
}

TEST_F(WorkerSimTest, DpiButtonNotificationMovesTheStoredStage) {
  StartSim(SimMode::kWired);
  jobs_.Run(WorkerTask::kStartup);
  int before = std::stoi(Get("dpi_index"));
  state_.SetCachedStages(std::stoi(Get("dpi_count")), before);
  sim_->PressDpiButton();
  jobs_.PollNotification();
  EXPECT_EQ(Get("dpi_index"), std::to_string(before + 1));
  EXPECT_FALSE(recorder_.CallsStartingWith("SelectDpiStage ").empty());

  // The same count and index again changes nothing.
  recorder_.ClearCalls();
  uint8_t repeat[kNotificationBytes] = {kNotifyDpiStage,
                                        static_cast<uint8_t>(((before + 1) << 4) | state_.CachedCount())};
  jobs_.HandleNotification(repeat);
  EXPECT_TRUE(recorder_.Calls().empty());

  // A count of 15 and an index past it are not stored as they come.
  uint8_t wild[kNotificationBytes] = {kNotifyDpiStage, 0xEF};
  jobs_.HandleNotification(wild);
  EXPECT_EQ(Get("dpi_count"), "6");
  EXPECT_EQ(Get("dpi_index"), "5");
}

TEST_F(WorkerSimTest, LinkNotificationsSwitchTheConnectionLine) {
  StartSim(SimMode::kWireless);
  jobs_.Run(WorkerTask::kStartup);
  ASSERT_EQ(recorder_.ConnectionText(), 52);
  sim_->SetMouseOn(false);
  jobs_.PollNotification();
  EXPECT_EQ(recorder_.ConnectionText(), 50);
  EXPECT_FALSE(state_.Link());
  EXPECT_TRUE(recorder_.Called("StopMacroRecording"));

  sim_->SetMouseOn(true);
  for (int i = 0; i < 3 && recorder_.ConnectionText() != 52; ++i) jobs_.PollNotification();
  EXPECT_EQ(recorder_.ConnectionText(), 52);
  EXPECT_TRUE(state_.Link());
}

TEST_F(WorkerSimTest, BatteryOnlyChangesWhenTheLinkReportCarriesOne) {
  StartSim(SimMode::kWireless);
  jobs_.Run(WorkerTask::kStartup);
  recorder_.ClearCalls();
  uint8_t link[kNotificationBytes] = {kNotifyLink, 1, 0, 0};
  jobs_.HandleNotification(link);
  EXPECT_FALSE(recorder_.Called("SetBatteryInfo 0 0"));
  link[2] = 77;
  link[3] = 1;
  jobs_.HandleNotification(link);
  EXPECT_TRUE(recorder_.Called("SetBatteryInfo 77 1"));
}

TEST_F(WorkerSimTest, UnknownTasksAreDropped) {
  StartSim(SimMode::kWired);
  EXPECT_FALSE(jobs_.Run(TaskFromNumber(15)));
  EXPECT_FALSE(jobs_.Run(TaskFromNumber(25)));
  EXPECT_TRUE(CaptureLines().empty());
}

}  // namespace
}  // namespace corvane::test
