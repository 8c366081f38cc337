// Worker jobs against the simulated mouse: the exact bytes each performance job sends,
// read-back into the store, the failure reaction and the notifications.
#include <gtest/gtest.h>

#include <algorithm>
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
  faults.drop_replies = 1;  // one lost reply: the mouse itself is still there
  sim_->SetFaults(SimLink::kReceiver, faults);
  view_.SetLinkFlag(false);
  recorder_.ClearCalls();
  jobs_.Run(WorkerTask::kReportRate);
  EXPECT_TRUE(recorder_.Called("ClosePopups"));
  EXPECT_TRUE(recorder_.Called("SetDeviceState 11 1 1"));
  EXPECT_TRUE(recorder_.Called("SetDeviceState " + std::to_string(kIdsOnlyDeviceType) + " 1 1"));
  // The lost reply leaves the rate owed: the line says so until a retry goes through.
  EXPECT_EQ(recorder_.ConnectionText(), kTextNotInStep);
  EXPECT_TRUE(state_.Link());
  jobs_.RetryOwed();
  EXPECT_EQ(recorder_.ConnectionText(), kTextWireless);
}

TEST_F(WorkerSimTest, WriteToASwitchedOffMouseShowsItOffAndIsSentWhenItReturns) {
  StartSim(SimMode::kWireless);
  state_.SetTips(true, false);
  jobs_.Run(WorkerTask::kStartup);
  ASSERT_TRUE(state_.Link());
  SimState off = sim_->State();
  off.mouse_on = false;  // switched off without a word: only the next command finds out
  sim_->SetState(off);
  recorder_.ClearCalls();
  Set("dpi_group1_value", "3200");
  state_.SetPendingDpiPopup(3200);
  jobs_.Run(WorkerTask::kDpiStageValues);
  EXPECT_FALSE(recorder_.Called("ShowDpiPopup 3200")) << "the mouse did not take the stage";
  EXPECT_FALSE(state_.Link());
  EXPECT_EQ(recorder_.ConnectionText(), 50);
  EXPECT_TRUE(recorder_.Called("SetDeviceState 11 1 0"));
  EXPECT_TRUE(jobs_.OutOfStep());
  ASSERT_EQ(jobs_.TakeFailures().size(), 1u);

  sim_->SetMouseOn(true);  // the receiver announces the mouse
  jobs_.PollNotification();
  EXPECT_TRUE(state_.Link());
  EXPECT_FALSE(jobs_.OutOfStep());
  EXPECT_EQ(sim_->State().settings.dpi_code[1], 32) << "the stage changed while off arrived";
  EXPECT_EQ(Get("dpi_group1_value"), "3200") << "the read-back did not undo the change";
}

TEST_F(WorkerSimTest, LateRepliesAreNeverTakenForTheNextCommandsReplies) {
  StartSim(SimMode::kWired);
  jobs_.Run(WorkerTask::kStartup);
  ASSERT_TRUE(jobs_.TakeFailures().empty());
  const std::vector<std::string> keys = {"report_rate", "sleep_light", "dpi_group0_rgb",
                                         "dpi_count", "liftoff_height"};
  std::vector<std::string> before;
  for (const std::string& key : keys) before.push_back(Get(key.c_str()));
  SimFaults faults;
  // Every reply lands after its own wait, during the next command's.
  faults.reply_delay_ms = 2000;
  sim_->SetFaults(SimLink::kWired, faults);
  state_.ForgetReads();
  jobs_.ReadBackSettings();
  for (size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(Get(keys[i].c_str()), before[i]) << keys[i];
  // Each read was tried and each is named.
  std::vector<uint8_t> failed;
  for (const auto& failure : jobs_.TakeFailures()) {
    EXPECT_EQ(failure.outcome, CommandOutcome::kNoReply);
    failed.push_back(failure.command);
  }
  EXPECT_EQ(failed, (std::vector<uint8_t>{0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17}));
}

TEST_F(WorkerSimTest, RefusedStepsAreAllReportedTheRestStillRunsAndAllAreSentLater) {
  StartSim(SimMode::kWired);
  jobs_.Run(WorkerTask::kStartup);
  Set("report_rate", "4");
  Set("sleep_light", "30");
  SimFaults faults;
  faults.forced_status = 0x05;
  sim_->SetFaults(SimLink::kWired, faults);
  const size_t sent = CaptureLines().size();
  jobs_.Run(WorkerTask::kUploadProfile);
  std::vector<uint8_t> commands;
  for (size_t i = sent; i < CaptureLines().size(); ++i) {
    commands.push_back(static_cast<uint8_t>(std::stoi(Hex(CaptureLines()[i]).substr(2, 2), nullptr, 16)));
  }
  EXPECT_EQ(commands, (std::vector<uint8_t>{0x09, 0x05, 0x03, 0x04, 0x02, 0x06, 0x07}))
      << "one refusal does not end the job";
  std::vector<uint8_t> failed;
  for (const auto& failure : jobs_.TakeFailures()) failed.push_back(failure.command);
  EXPECT_EQ(failed, commands) << "the refused command, not the reply's status byte";
  EXPECT_TRUE(jobs_.TakeFailures().empty()) << "a failure is reported once";
  EXPECT_TRUE(jobs_.OutOfStep());

  sim_->SetFaults(SimLink::kWired, SimFaults{});
  jobs_.Run(WorkerTask::kDpiStageValues);  // goes through, then what was refused follows
  EXPECT_TRUE(jobs_.TakeFailures().empty());
  EXPECT_FALSE(jobs_.OutOfStep());
  EXPECT_EQ(sim_->State().settings.report_rate, 4);
  EXPECT_EQ(sim_->State().settings.sleep_light, 30);
}

TEST_F(WorkerSimTest, ARefusingReceiverIsShownAndWhatItRefusedGoesAgainOnceItTakesCommands) {
  StartSim(SimMode::kWireless);
  jobs_.Run(WorkerTask::kStartup);
  ASSERT_EQ(recorder_.ConnectionText(), kTextWireless);
  Set("report_rate", "2");
  SimFaults refusing;
  refusing.forced_status = 0x01;  // the receiver refuses everything, its own query too
  sim_->SetFaults(SimLink::kReceiver, refusing);
  jobs_.Run(WorkerTask::kReportRate);
  EXPECT_TRUE(state_.Link()) << "a refusing receiver says nothing about the mouse being off";
  EXPECT_EQ(recorder_.ConnectionText(), kTextNotInStep);
  jobs_.RetryOwed();
  EXPECT_EQ(recorder_.ConnectionText(), kTextNotInStep) << "still refused";
  EXPECT_NE(sim_->State().settings.report_rate, 2);

  sim_->SetFaults(SimLink::kReceiver, SimFaults{});
  jobs_.RetryOwed();
  EXPECT_EQ(sim_->State().settings.report_rate, 2);
  EXPECT_FALSE(jobs_.OutOfStep());
  EXPECT_EQ(recorder_.ConnectionText(), kTextWireless);
  recorder_.ClearCalls();
  jobs_.Run(WorkerTask::kReportRate);
  EXPECT_TRUE(recorder_.CallsStartingWith("SetConnectionText").empty())
      << "a mouse in step keeps its line untouched";
}

TEST_F(WorkerSimTest, AReceiverThatRefusedWhenPluggedInIsTakenInOnceItAnswers) {
  StartSim(SimMode::kWireless);
  SimFaults refusing;
  refusing.forced_status = 0x01;
  sim_->SetFaults(SimLink::kReceiver, refusing);
  Set("report_rate", "2");
  jobs_.Run(WorkerTask::kArrival);
  ASSERT_TRUE(jobs_.HasUnnamedDevices());
  EXPECT_FALSE(recorder_.DeviceListShown());
  EXPECT_FALSE(jobs_.NameRefusingDevices()) << "still refusing";

  sim_->SetFaults(SimLink::kReceiver, SimFaults{});
  ASSERT_TRUE(jobs_.NameRefusingDevices());
  EXPECT_FALSE(jobs_.HasUnnamedDevices());
  EXPECT_TRUE(recorder_.DeviceListShown());
  EXPECT_EQ(recorder_.ConnectionText(), kTextWireless);
  EXPECT_EQ(Get("report_rate"), std::to_string(sim_->State().settings.report_rate))
      << "the store holds what the mouse read back";
  EXPECT_FALSE(jobs_.NameRefusingDevices()) << "a named device is not asked again";
}

TEST_F(WorkerSimTest, OwedTasksKeptAsTextComeBackAsTheSameTasksAndNothingElse) {
  StartSim(SimMode::kWireless);
  EXPECT_EQ(jobs_.OwedText(), "");
  const int rate = static_cast<int>(WorkerTask::kReportRate);
  const int buttons = static_cast<int>(WorkerTask::kButtonTable);
  const std::string startup = std::to_string(static_cast<int>(WorkerTask::kStartup));
  // A task that restores no setting, junk and an empty item are not owed.
  jobs_.OweAgain(std::to_string(rate) + ",," + startup + ",x9,+3, 4,999999999999," +
                 std::to_string(buttons));
  EXPECT_EQ(jobs_.OwedText(), std::to_string(std::min(rate, buttons)) + "," +
                                  std::to_string(std::max(rate, buttons)));
  jobs_.Run(WorkerTask::kStartup);
  EXPECT_FALSE(jobs_.OutOfStep()) << "sent after the first job that went through";
}

TEST_F(WorkerSimTest, NotificationArrivingBeforeACommandIsHandledAfterIt) {
  StartSim(SimMode::kWired);
  jobs_.Run(WorkerTask::kStartup);
  const int before = std::stoi(Get("dpi_index"));
  state_.SetCachedStages(std::stoi(Get("dpi_count")), before);
  sim_->PressDpiButton();           // queued on the interface, not yet read
  jobs_.Run(WorkerTask::kReportRate);  // its wait meets the notification first
  EXPECT_TRUE(jobs_.TakeFailures().empty());
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
  uint8_t repeat[kNotificationSize] = {Byte(CommandId::kDpiStageNotification),
                                        static_cast<uint8_t>(((before + 1) << 4) | state_.CachedCount())};
  jobs_.HandleNotification(repeat);
  EXPECT_TRUE(recorder_.Calls().empty());

  // A count of 15 and an index past it are not stored as they come.
  uint8_t wild[kNotificationSize] = {Byte(CommandId::kDpiStageNotification), 0xEF};
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
  uint8_t link[kNotificationSize] = {Byte(CommandId::kLinkNotification), 1, 0, 0};
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
