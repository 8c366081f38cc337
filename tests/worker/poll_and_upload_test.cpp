// The idle poll and the profile upload against the simulated mouse: the DPI stage the
// worker compares notifications with follows the store, an idle turn without a report
// stays away from the database, the receivers' reads leave the device manager free for
// the interface thread, a profile without lighting rows still gets its lighting sent, a
// profile change brings that profile's macros back, and both lighting resets reach store
// and mouse alike.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "protocol/button_table_encoding.h"
#include "store/sqlite_db.h"
#include "worker_fixture.h"

namespace corvane::test {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// A mouse with four stages whose current stage is the last one.
SimState MouseOnLastOfFourStages() {
  SimState mouse;
  mouse.settings.dpi_count = 4;
  mouse.settings.dpi_index = 3;
  return mouse;
}

std::vector<uint8_t> DpiReport(int index, int count) {
  std::vector<uint8_t> report(kNotificationSize, 0);
  report[0] = Byte(CommandId::kDpiStageNotification);
  report[1] = static_cast<uint8_t>((index << 4) | count);
  return report;
}

TEST_F(WorkerSimTest, DpiButtonWrapToTheFirstStageIsTakenAfterReadBack) {
  const SimState mouse = MouseOnLastOfFourStages();
  StartSim(SimMode::kWired, &mouse);
  jobs_.Run(WorkerTask::kStartup);
  ASSERT_EQ(Get("dpi_index"), "3");
  recorder_.ClearCalls();

  sim_->PressDpiButton();  // the mouse wraps from its last stage to the first
  jobs_.PollNotification();

  EXPECT_EQ(Get("dpi_index"), "0");
  EXPECT_EQ(recorder_.CallsStartingWith("SelectDpiStage 0 ").size(), 1u);
  // The next upload sends the stage the mouse is on, not the one before the wrap.
  jobs_.Run(WorkerTask::kDpiStageValues);
  EXPECT_EQ(sim_->State().settings.dpi_index, 0);
}

TEST_F(WorkerSimTest, DpiStageCacheFollowsAProfileChange) {
  StartSim(SimMode::kWired);
  jobs_.Run(WorkerTask::kStartup);
  Set("dpi_count", "4");
  Set("dpi_index", "2");
  jobs_.Run(WorkerTask::kUploadProfile);  // what choosing a profile posts
  ASSERT_EQ(sim_->State().settings.dpi_index, 2);
  recorder_.ClearCalls();

  // The same stage again is a repeat; the first stage is a change.
  jobs_.HandleNotification(DpiReport(2, 4).data());
  EXPECT_TRUE(recorder_.CallsStartingWith("SelectDpiStage").empty());
  jobs_.HandleNotification(DpiReport(0, 4).data());
  EXPECT_EQ(Get("dpi_index"), "0");
  EXPECT_EQ(recorder_.CallsStartingWith("SelectDpiStage 0 ").size(), 1u);
}

TEST_F(WorkerSimTest, IdleTurnWithoutAReportDoesNotQueryTheStore) {
  StartSim(SimMode::kWired);
  jobs_.Run(WorkerTask::kStartup);
  // Another connection holds the database's exclusive lock: a query would wait for it.
  SQLiteDB other;
  ASSERT_TRUE(other.Open(store_.Path(), "", SQLiteDB::kOpenReadWrite));
  ASSERT_EQ(other.Execute("BEGIN EXCLUSIVE"), 0);

  const auto start = steady_clock::now();
  jobs_.PollNotification();  // nothing to read: one 100 ms read on the wired interface
  const auto took = steady_clock::now() - start;
  other.Execute("ROLLBACK");

  EXPECT_LT(took, milliseconds(SQLiteDB::kBusyTimeoutMs / 2));
}

TEST_F(WorkerSimTest, ReceiverReadsLeaveTheManagerFreeForOtherThreads) {
  StartSim(SimMode::kWireless);
  jobs_.Run(WorkerTask::kStartup);
  sim_->SetMouseOn(false);
  jobs_.PollNotification();  // the receiver says the mouse is off: no active interface now
  ASSERT_EQ(manager_.ActiveDevice(), nullptr);

  // Identifying the returning mouse waits for a slow device information reply.
  SimFaults slow;
  slow.reply_delay_ms = 800;
  sim_->SetFaults(SimLink::kReceiver, slow);
  sim_->SetMouseOn(true);
  std::thread worker([this] { jobs_.PollNotification(); });
  std::this_thread::sleep_for(milliseconds(200));

  const auto start = steady_clock::now();
  const size_t entries = manager_.Entries().size();
  manager_.ActiveConnectionMode();
  const auto took = steady_clock::now() - start;
  sim_->SetFaults(SimLink::kReceiver, SimFaults{});
  worker.join();

  EXPECT_EQ(entries, 1u);
  EXPECT_LT(took, milliseconds(300));
  EXPECT_TRUE(state_.Link());
}

TEST_F(WorkerSimTest, ProfileUploadCreatesMissingLightingRowsAndSendsTheMode) {
  StartSim(SimMode::kWired);
  jobs_.Run(WorkerTask::kStartup);
  const int profile = store_.GetProfiles().back().profile;
  store_.SetActiveProfile(profile);
  ASSERT_EQ(store_.GetLightCount(profile), 0);  // neither shown nor read back yet
  const size_t before = CaptureLines().size();

  jobs_.Run(WorkerTask::kUploadProfile);

  EXPECT_GT(store_.GetLightCount(profile), 0);
  int lighting_commands = 0;
  const std::vector<std::string> out = CaptureLines();
  for (size_t i = before; i < out.size(); ++i) {
    if (Hex(out[i]).substr(2, 2) == "05") ++lighting_commands;
  }
  EXPECT_EQ(lighting_commands, 1);
}

// Gives `button` of the active profile the macro `id` as the buttons page does.
void AssignMacro(SettingsDatabase& store, DeviceState& state, int button, int id) {
  KeyAssignRecord row;
  row.profile = store.GetActiveProfile();
  row.key_code = button;
  row.macro_type = kFamilyMacro;
  row.macro_value = id;
  store.SaveKeyAssign(row);
  state.MarkMacroButton(button);
}

int MacroOfKey(SettingsDatabase& store, char key) {
  const int id = store.AddMacro(std::string(1, key));
  MacroEventRecord down, up;
  down.macro_id = up.macro_id = id;
  down.type = 2;
  up.type = 3;
  down.value = up.value = key;
  up.record_index = 1;
  store.ReplaceMacroEvents(id, {down, up});
  return id;
}

TEST_F(WorkerSimTest, ProfileSwitchPutsThatProfilesMacrosBackOnItsButtons) {
  StartSim(SimMode::kWired);
  jobs_.Run(WorkerTask::kStartup);
  const std::vector<ProfileRecord> profiles = store_.GetProfiles();
  const int a = MacroOfKey(store_, 'A');
  const int b = MacroOfKey(store_, 'B');
  AssignMacro(store_, state_, 4, a);
  jobs_.Run(WorkerTask::kButtonTable);
  const std::vector<uint8_t> macro_a = sim_->State().settings.macros.at(4);
  store_.SetActiveProfile(profiles[1].profile);
  AssignMacro(store_, state_, 4, b);
  jobs_.Run(WorkerTask::kButtonTable);
  ASSERT_NE(sim_->State().settings.macros.at(4), macro_a);

  store_.SetActiveProfile(profiles[0].profile);
  jobs_.Run(WorkerTask::kUploadProfile);
  EXPECT_EQ(sim_->State().settings.macros.at(4), macro_a) << "button 4 plays B on profile 1";
  EXPECT_TRUE(state_.TakeMarkedMacroButtons().empty());
}

TEST_F(WorkerSimTest, ReadBackOfAProfileWithoutLightRowsKeepsTheMousesLighting) {
  SimState mouse;
  mouse.settings.light_mode = 3;
  mouse.settings.light_level = 0x21;
  StartSim(SimMode::kWired, &mouse);
  jobs_.Run(WorkerTask::kStartup);
  const int profile = store_.GetActiveProfile();
  EXPECT_EQ(store_.GetActiveLight(profile), 3);
  const std::optional<LightRecord> row = store_.GetLight(profile, 3);
  ASSERT_TRUE(row);
  EXPECT_EQ(row->brightness, 2);
  EXPECT_EQ(row->speed, 1);
}

TEST_F(WorkerSimTest, RestoreAndLightResetLeaveStoreAndMouseOnTheFactoryLighting) {
  SimState mouse;
  mouse.settings.light_mode = 3;
  mouse.settings.light_level = 0x11;
  mouse.settings.light_color[0] = 0x123456;
  StartSim(SimMode::kWired, &mouse);
  jobs_.Run(WorkerTask::kStartup);
  const SimSettings factory;
  const int profile = store_.GetActiveProfile();
  const auto expect_factory = [&](const char* after) {
    SCOPED_TRACE(after);
    const SimSettings now = sim_->State().settings;
    EXPECT_EQ(now.light_mode, factory.light_mode);
    EXPECT_EQ(now.light_level, factory.light_level);
    EXPECT_EQ(now.light_color, factory.light_color);
    EXPECT_EQ(store_.GetActiveLight(profile), factory.light_mode);
    const std::optional<LightRecord> steady = store_.GetLight(profile, 3);
    ASSERT_TRUE(steady);
    EXPECT_EQ(steady->color_value1, 255) << "the steady mode's colour is the default red again";
    const std::optional<LightRecord> active = store_.GetLight(profile, factory.light_mode);
    EXPECT_EQ((active->brightness << 4) | active->speed, factory.light_level);
  };
  LightRecord changed = *store_.GetLight(profile, 3);
  changed.color_value1 = 0x123456;
  store_.UpdateLight(3, changed);

  recorder_.ClearCalls();
  jobs_.Run(WorkerTask::kLightingReadback);
  expect_factory("reset lighting");
  EXPECT_TRUE(recorder_.Called("RefreshPage lighting")) << "the page shows it";

  store_.UpdateLight(3, changed);
  store_.SetActiveLight(profile, 3);
  jobs_.Run(WorkerTask::kLightingMode);
  ASSERT_EQ(sim_->State().settings.light_mode, 3);
  jobs_.Run(WorkerTask::kRestoreDefaults);
  expect_factory("restore defaults");
  EXPECT_TRUE(jobs_.TakeFailures().empty());

  // A confirmed reset the mouse refused is not lost: the store takes the factory lighting
  // at once and the mouse gets it once it takes commands again.
  store_.UpdateLight(3, changed);
  store_.SetActiveLight(profile, 3);
  jobs_.Run(WorkerTask::kLightingMode);
  SimFaults refusing;
  refusing.forced_status = 0x05;
  sim_->SetFaults(SimLink::kWired, refusing);
  jobs_.Run(WorkerTask::kLightingReadback);
  EXPECT_TRUE(jobs_.OutOfStep());
  sim_->SetFaults(SimLink::kWired, SimFaults{});
  jobs_.RetryOwed();
  expect_factory("a refused reset, sent again");
  EXPECT_FALSE(jobs_.OutOfStep());
}

}  // namespace
}  // namespace corvane::test
