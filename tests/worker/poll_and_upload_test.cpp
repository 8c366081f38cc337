// The idle poll and the profile upload against the simulated mouse: the DPI stage the
// worker compares notifications with follows the store, an idle turn without a report
// stays away from the database, the receivers' reads leave the device manager free for
// the interface thread, and a profile without lighting rows still gets its lighting sent.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

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
  std::vector<uint8_t> report(kNotificationBytes, 0);
  report[0] = kNotifyDpiStage;
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
  const int profile = store_.GetActiveProfile();
  ASSERT_EQ(store_.GetLightCount(profile), 0);  // the lighting page was never opened
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

}  // namespace
}  // namespace corvane::test
