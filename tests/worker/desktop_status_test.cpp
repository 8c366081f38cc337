// What the desktop interface publishes, against the simulated mouse: the device rows,
// profiles and DPI stages as the store and the device list hold them, the changes that
// call for its signals, and the worker telling a caller when its posted task ran and
// whether the mouse took it.
#include "worker/desktop_status.h"

#include <gtest/gtest.h>

#include <chrono>

#include "worker/device_worker.h"
#include "worker_fixture.h"

namespace corvane::test {
namespace {

class DesktopStatusTest : public WorkerSimTest {
 protected:
  DesktopStatus Assemble(std::optional<BatteryStatus> live = std::nullopt) {
    return AssembleDesktopStatus({manager_, catalogue_, store_, state_, live});
  }
  const DesktopDevice* Row(const DesktopStatus& status, ConnectionMode mode) {
    for (const DesktopDevice& device : status.devices) {
      if (device.connection == ModeNumber(mode)) return &device;
    }
    return nullptr;
  }
};

TEST_F(DesktopStatusTest, RowsProfilesAndStagesFollowTheDeviceListAndTheStore) {
  SimState mouse;
  mouse.battery_b = 42;
  StartSim(SimMode::kBoth, &mouse);
  jobs_.Run(WorkerTask::kStartup);
  DesktopStatus status = Assemble();

  ASSERT_EQ(status.devices.size(), 2u);  // one row per interface kind, not per collection
  const DesktopDevice* wired = Row(status, ConnectionMode::kWired);
  const DesktopDevice* receiver = Row(status, ConnectionMode::kReceiver);
  ASSERT_TRUE(wired && receiver);
  const CatalogEntry* model = catalogue_.FindModel(manager_.SelectedDeviceType());
  ASSERT_NE(model, nullptr);
  EXPECT_EQ(wired->model, model->name);
  EXPECT_EQ(receiver->device_type, model->device_type);
  EXPECT_TRUE(wired->active);  // the cable wins while both are present
  EXPECT_FALSE(receiver->active);
  EXPECT_TRUE(receiver->online);
  EXPECT_EQ(wired->battery, 42);
  EXPECT_FALSE(wired->charging);
  int release = 0;
  ASSERT_TRUE(manager_.ReleaseNumberOf(ConnectionMode::kWired, release));
  EXPECT_EQ(wired->firmware, ReleaseVersionText(release));

  const std::vector<ProfileRecord> profiles = store_.GetProfiles();
  ASSERT_EQ(status.profiles.size(), profiles.size());
  for (size_t i = 0; i < profiles.size(); ++i) {
    EXPECT_EQ(status.profiles[i].id, profiles[i].profile);
    EXPECT_EQ(status.profiles[i].name, profiles[i].name);
  }
  EXPECT_EQ(status.active_profile, store_.GetActiveProfile());
  ASSERT_EQ(status.dpi_stages.size(), static_cast<size_t>(std::stoi(Get("dpi_count"))));
  for (size_t i = 0; i < status.dpi_stages.size(); ++i) {
    EXPECT_EQ(std::to_string(status.dpi_stages[i]),
              Get(("dpi_group" + std::to_string(i) + "_value").c_str()));
  }
  EXPECT_EQ(std::to_string(status.active_dpi_stage), Get("dpi_index"));

  // A newer reading of the selected mouse replaces its stored one on its own row only.
  status = Assemble(BatteryStatus{12, 1});
  EXPECT_EQ(Row(status, ConnectionMode::kWired)->battery, 12);
  EXPECT_TRUE(Row(status, ConnectionMode::kWired)->charging);
  EXPECT_EQ(Row(status, ConnectionMode::kReceiver)->battery, 42);
}

TEST_F(DesktopStatusTest, MouseSwitchedOffAndDpiButtonCallForTheirSignals) {
  StartSim(SimMode::kWireless);
  jobs_.Run(WorkerTask::kStartup);
  const DesktopStatus before = Assemble();
  EXPECT_TRUE(CompareDesktopStatus(before, Assemble()).Empty());

  sim_->PressDpiButton();
  jobs_.PollNotification();
  DesktopStatus after = Assemble();
  DesktopChanges changes = CompareDesktopStatus(before, after);
  EXPECT_TRUE(changes.dpi_stage);
  EXPECT_FALSE(changes.profile);
  EXPECT_TRUE(changes.online.empty());
  EXPECT_EQ(changes.properties, (std::vector<std::string>{kPropertyActiveDpiStage}));
  EXPECT_EQ(after.active_dpi_stage, (before.active_dpi_stage + 1) % int(before.dpi_stages.size()));

  sim_->SetMouseOn(false);
  jobs_.PollNotification();
  const DesktopStatus off = Assemble();
  changes = CompareDesktopStatus(after, off);
  ASSERT_EQ(changes.online.size(), 1u);
  EXPECT_FALSE(changes.online[0].online);
  EXPECT_EQ(changes.online[0].connection, ModeNumber(ConnectionMode::kReceiver));
  EXPECT_EQ(changes.properties, (std::vector<std::string>{kPropertyDevices}));
  EXPECT_FALSE(changes.dpi_stage);
}

TEST_F(DesktopStatusTest, BatteryProfileAndUnpluggedInterfaceChanges) {
  StartSim(SimMode::kBoth);
  jobs_.Run(WorkerTask::kStartup);
  const DesktopStatus before = Assemble(BatteryStatus{50, 0});
  DesktopChanges changes = CompareDesktopStatus(before, Assemble(BatteryStatus{49, 0}));
  ASSERT_EQ(changes.battery.size(), 1u);
  EXPECT_EQ(changes.battery[0].battery, 49);
  EXPECT_TRUE(changes.online.empty());

  const int other = before.active_profile == 1 ? 2 : 1;
  ASSERT_TRUE(store_.SetActiveProfile(other));
  DesktopStatus after = Assemble(BatteryStatus{50, 0});
  changes = CompareDesktopStatus(before, after);
  EXPECT_TRUE(changes.profile);
  EXPECT_EQ(after.active_profile, other);
  EXPECT_EQ(changes.properties,
            (std::vector<std::string>{kPropertyActiveProfile, kPropertyProfiles}));

  sim_->Unplug(SimLink::kWired);
  jobs_.Run(WorkerTask::kRemoval);
  changes = CompareDesktopStatus(after, Assemble(BatteryStatus{50, 0}));
  bool wired_gone = false;
  for (const DesktopDevice& device : changes.online) {
    if (device.connection == ModeNumber(ConnectionMode::kWired)) wired_gone = !device.online;
  }
  EXPECT_TRUE(wired_gone);
}

TEST_F(DesktopStatusTest, ALinkReportsBatteryIsNotUndoneByTheStoredOneOfItsReadBack) {
  StartSim(SimMode::kWireless);
  jobs_.Run(WorkerTask::kStartup);
  ASSERT_EQ(state_.Battery().level, 90);  // the simulated mouse's level at enumeration
  recorder_.ClearCalls();
  sim_->SetBattery(0, 14);
  jobs_.PollNotification();
  // The link report's read-back shows the stored level, then the report's: both are 14,
  // so the gauge, the warnings and the bus never see the old 90 again.
  const std::vector<std::string> shown = recorder_.CallsStartingWith("SetBatteryInfo ");
  ASSERT_FALSE(shown.empty());
  for (const std::string& call : shown) EXPECT_EQ(call, "SetBatteryInfo 14 0");
  EXPECT_EQ(state_.Battery().level, 14);
  EXPECT_EQ(Row(Assemble(), ConnectionMode::kReceiver)->battery, 14);
}

TEST(DesktopRequestTest, RequestsAreCheckedBeforeAnythingIsStored) {
  DesktopStatus status;
  status.profiles = {{1, "Profile 1", true}, {3, "Profile 3", false}};
  status.dpi_stages = {800, 1600};
  constexpr bool kLinked = true;
  EXPECT_FALSE(CheckProfileRequest(status, 3, kLinked));
  EXPECT_EQ(CheckProfileRequest(status, 2, kLinked)->name, kErrorNoSuchProfile);
  EXPECT_EQ(CheckProfileRequest(status, 3, !kLinked)->name, kErrorNotConnected);
  EXPECT_FALSE(CheckStageRequest(status, 1, kLinked));
  for (int stage : {-1, 2, 6}) {
    EXPECT_EQ(CheckStageRequest(status, stage, kLinked)->name, kErrorInvalidArgs) << stage;
  }
  EXPECT_EQ(CheckStageRequest(status, 0, !kLinked)->name, kErrorNotConnected);
  EXPECT_FALSE(CheckStageValueRequest(status, 0, 1234, kLinked));
  EXPECT_EQ(CheckStageValueRequest(status, 0, 0, kLinked)->name, kErrorInvalidArgs);
  EXPECT_EQ(CheckStageValueRequest(status, 5, 800, kLinked)->name, kErrorInvalidArgs);

  const DesktopError refused = CommandError(0x03, CommandOutcome::kRefused);
  EXPECT_EQ(refused.name, kErrorRefused);
  EXPECT_NE(refused.message.find("0x03"), std::string::npos);
  EXPECT_EQ(CommandError(0x07, CommandOutcome::kNoReply).name, kErrorNoReply);
  EXPECT_EQ(CommandError(0x07, CommandOutcome::kWriteFailed).name, kErrorWriteFailed);
}

TEST_F(WorkerSimTest, WorkerTellsWhenAPostedTaskRanAndWhetherTheMouseTookIt) {
  StartSim(SimMode::kWired);
  DeviceWorker worker(jobs_, state_);
  JobOutcomes& outcomes = worker.Outcomes();
  int told = 0;
  outcomes.SetListener([&told] { ++told; });
  worker.Post(WorkerTask::kStartup);
  worker.Start();
  ASSERT_TRUE(worker.WaitIdle(std::chrono::seconds(10)));
  const uint64_t started = outcomes.LastPosted();
  EXPECT_TRUE(outcomes.Done(started));
  EXPECT_FALSE(outcomes.FirstFailure(0, started));

  worker.Post(WorkerTask::kDpiStageValues);
  const uint64_t accepted = outcomes.LastPosted();
  ASSERT_TRUE(worker.WaitIdle(std::chrono::seconds(10)));
  EXPECT_TRUE(outcomes.Done(accepted));
  EXPECT_FALSE(outcomes.FirstFailure(started, accepted));

  SimFaults refusing;
  refusing.forced_status = 0x01;
  sim_->SetFaults(SimLink::kWired, refusing);
  worker.Post(WorkerTask::kReportRate);
  const uint64_t refused = outcomes.LastPosted();
  EXPECT_FALSE(outcomes.Done(refused + 1));
  ASSERT_TRUE(worker.WaitIdle(std::chrono::seconds(10)));
  sim_->SetFaults(SimLink::kWired, SimFaults{});
  worker.Post(WorkerTask::kReportRate);
  const uint64_t later = outcomes.LastPosted();
  ASSERT_TRUE(worker.WaitIdle(std::chrono::seconds(10)));

  const auto failure = outcomes.FirstFailure(accepted, refused);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->outcome, CommandOutcome::kRefused);
  EXPECT_EQ(failure->command, 0x02);
  EXPECT_FALSE(outcomes.FirstFailure(refused, later));  // the mouse took the next one
  EXPECT_EQ(told, static_cast<int>(later));
  EXPECT_TRUE(worker.Stop());
}

}  // namespace
}  // namespace corvane::test
