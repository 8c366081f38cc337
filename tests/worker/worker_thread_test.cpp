// The worker thread: order of tasks, dropped numbers, sleeping when idle, stopping
// while a job waits for a reply.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "worker/device_worker.h"
#include "worker_fixture.h"

namespace corvane::test {
namespace {

using Clock = std::chrono::steady_clock;

TEST_F(WorkerSimTest, TasksRunInOrderAndRepeatsRunEachTime) {
  StartSim(SimMode::kWired);
  DeviceWorker worker(jobs_, state_);
  worker.Post(WorkerTask::kStartup);
  worker.Start();
  ASSERT_TRUE(worker.WaitIdle(std::chrono::seconds(10)));
  size_t before = CaptureLines().size();
  for (WorkerTask task : {WorkerTask::kDpiStageValues, TaskFromNumber(15),
                          WorkerTask::kDpiStageValues, WorkerTask::kReportRate}) {
    worker.Post(task);
  }
  ASSERT_TRUE(worker.WaitIdle(std::chrono::seconds(10)));
  std::vector<std::string> out = CaptureLines();
  ASSERT_EQ(out.size(), before + 3);
  EXPECT_EQ(Hex(out[before]).substr(0, 4), "0003");
  EXPECT_EQ(Hex(out[before + 1]).substr(0, 4), "0003");
  EXPECT_EQ(Hex(out[before + 2]).substr(0, 4), "0002");
  EXPECT_TRUE(worker.Stop());
}

TEST_F(WorkerSimTest, IdleWorkerWithoutDevicesSleepsUntilATaskArrives) {
  StartSim(SimMode::kWired);
  sim_->Unplug(SimLink::kWired);
  DeviceWorker worker(jobs_, state_);
  worker.Post(WorkerTask::kStartup);
  worker.Start();
  ASSERT_TRUE(worker.WaitIdle(std::chrono::seconds(10)));
  EXPECT_FALSE(state_.IdlePoll());
  long long steps = worker.StepCount();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_LE(worker.StepCount() - steps, 1);  // a 2 ms loop would have turned ~100 times

  auto posted = Clock::now();
  worker.Post(WorkerTask::kDpiStageValues);
  ASSERT_TRUE(worker.WaitIdle(std::chrono::seconds(5)));
  EXPECT_LT(Clock::now() - posted, std::chrono::milliseconds(200));
  EXPECT_TRUE(worker.Stop());
}

TEST_F(WorkerSimTest, TaskPostedDuringTheIdleReadIsWrittenAtOnce) {
  // The idle notification read now lasts up to a second, but a post ends it: the command
  // goes out sooner than even one of the old 100 ms reads would have ended.
  constexpr auto kOldNotificationRead = std::chrono::milliseconds(100);
  StartSim(SimMode::kWired);
  DeviceWorker worker(jobs_, state_);
  worker.Post(WorkerTask::kStartup);
  worker.Start();
  ASSERT_TRUE(worker.WaitIdle(std::chrono::seconds(10)));
  ASSERT_TRUE(state_.IdlePoll());
  long long steps = worker.StepCount();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_LE(worker.StepCount() - steps, 1);  // one long read, not a turn every 100 ms
  size_t before = CaptureLines().size();

  auto posted = Clock::now();
  worker.Post(WorkerTask::kDpiStageValues);
  ASSERT_TRUE(worker.WaitIdle(std::chrono::seconds(5)));
  EXPECT_LT(Clock::now() - posted, kOldNotificationRead);
  std::vector<std::string> out = CaptureLines();
  ASSERT_EQ(out.size(), before + 1);
  EXPECT_EQ(Hex(out[before]).substr(0, 4), "0003");

  // A notification that arrives during the wait is still handled while idle.
  int index = state_.CachedIndex();
  sim_->PressDpiButton();
  auto deadline = Clock::now() + std::chrono::seconds(2);
  while (state_.CachedIndex() == index && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_NE(state_.CachedIndex(), index);
  EXPECT_TRUE(worker.Stop());
}

TEST_F(WorkerSimTest, WaitIdleDoesNotWaitOutTheIdleNotificationRead) {
  // A slow caller may first look after the worker has gone back to its one-second idle
  // read; the read is not a job, so the caller must not wait for it to end.
  StartSim(SimMode::kWired);
  DeviceWorker worker(jobs_, state_);
  worker.Post(WorkerTask::kStartup);
  worker.Start();
  ASSERT_TRUE(worker.WaitIdle(std::chrono::seconds(10)));
  ASSERT_TRUE(state_.IdlePoll());
  size_t before = CaptureLines().size();
  worker.Post(WorkerTask::kDpiStageValues);
  auto deadline = Clock::now() + std::chrono::seconds(5);
  while (CaptureLines().size() == before && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the read has begun

  auto asked = Clock::now();
  EXPECT_TRUE(worker.WaitIdle(std::chrono::seconds(5)));
  EXPECT_LT(Clock::now() - asked, std::chrono::milliseconds(500));
  EXPECT_TRUE(worker.Stop());
}

TEST_F(WorkerSimTest, StopReturnsWithinASecondWhileAJobWaitsForItsReply) {
  StartSim(SimMode::kWired);
  jobs_.Run(WorkerTask::kStartup);
  SimFaults faults;
  faults.drop_replies = 1000;
  sim_->SetFaults(SimLink::kWired, faults);
  DeviceWorker worker(jobs_, state_);
  worker.Post(WorkerTask::kDpiStageValues);
  worker.Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  auto start = Clock::now();
  worker.Stop();
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1100));
}

}  // namespace
}  // namespace corvane::test
