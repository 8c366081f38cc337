// Fault knobs and timing: reply delay, dropped replies, forced status, unplugging
// after N reports, garbage reports, the 1 ms interrupt interval and read time-outs.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "sim_test_util.h"

namespace corvane::test {
namespace {

using Clock = std::chrono::steady_clock;

int Read(HidHandle& h, std::vector<uint8_t>& out, int timeout_ms) {
  out.assign(64, 0);
  return h.ReadTimeout(out.data(), out.size(), timeout_ms);
}

bool Write(HidHandle& h, const std::vector<uint8_t>& command) {
  return h.Write(command.data(), command.size()) > 0;
}

long ElapsedMs(Clock::time_point since) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

TEST(SimFaults, ReadTimesOutAfterItsTimeout) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  auto h = OpenConfig(backend, SimLink::kWired);
  std::vector<uint8_t> out;
  const auto start = Clock::now();
  EXPECT_EQ(Read(*h, out, 30), 0);
  EXPECT_GE(ElapsedMs(start), 29);
  EXPECT_EQ(Read(*h, out, 0), 0);
}

TEST(SimFaults, ReplyDelayHoldsTheReplyBack) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  SimFaults faults;
  faults.reply_delay_ms = 60;
  backend.SetFaults(SimLink::kWired, faults);
  auto h = OpenConfig(backend, SimLink::kWired);
  const auto start = Clock::now();
  ASSERT_TRUE(Write(*h, BuildCommand(0x10, 0, 0, {})));
  std::vector<uint8_t> out;
  EXPECT_EQ(Read(*h, out, 20), 0);
  EXPECT_GT(Read(*h, out, 200), 0);
  EXPECT_EQ(out[0], 0x10);
  EXPECT_GE(ElapsedMs(start), 59);
}

TEST(SimFaults, DroppedRepliesStillCarryOutTheCommand) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  SimFaults faults;
  faults.drop_replies = 1;
  backend.SetFaults(SimLink::kWired, faults);
  auto h = OpenConfig(backend, SimLink::kWired);
  ASSERT_TRUE(Write(*h, BuildCommand(0x02, 1, 1, {4})));
  std::vector<uint8_t> out;
  EXPECT_EQ(Read(*h, out, 20), 0);
  EXPECT_EQ(backend.State().settings.report_rate, 4);
  EXPECT_EQ(backend.Faults(SimLink::kWired).drop_replies, 0);
  EXPECT_EQ(ReadCommand(*h, 0x12)[4], 4) << "only one reply was to be lost";
}

TEST(SimFaults, ForcedStatusRefusesWithoutChangingState) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  SimFaults faults;
  faults.forced_status = 0x09;
  backend.SetFaults(SimLink::kWired, faults);
  auto h = OpenConfig(backend, SimLink::kWired);
  EXPECT_EQ(Exchange(*h, BuildCommand(0x02, 1, 1, {4}))[1], 0x09);
  EXPECT_EQ(ReadCommand(*h, 0x10)[1], 0x09);
  EXPECT_EQ(backend.State().settings.report_rate, SimSettings{}.report_rate);
  backend.SetFaults(SimLink::kWired, SimFaults{});
  EXPECT_EQ(ReadCommand(*h, 0x10)[1], 0x00);
}

TEST(SimFaults, UnplugAfterReportsRemovesTheDevice) {
  SimBackend backend(TestIdentity(), SimMode::kBoth);
  SimFaults faults;
  faults.unplug_after_reports = 2;
  backend.SetFaults(SimLink::kReceiver, faults);
  auto h = OpenConfig(backend, SimLink::kReceiver);
  EXPECT_FALSE(ReadCommand(*h, 0x10).empty());
  ASSERT_TRUE(Write(*h, BuildCommand(0x10, 0, 0, {})));  // the last one it takes
  std::vector<uint8_t> out;
  EXPECT_EQ(Read(*h, out, 20), -1);
  EXPECT_FALSE(Write(*h, BuildCommand(0x10, 0, 0, {})));
  EXPECT_FALSE(backend.IsPlugged(SimLink::kReceiver));
  EXPECT_EQ(backend.Enumerate().size(), 4u) << "the wired mouse stays";
  EXPECT_EQ(OpenConfig(backend, SimLink::kReceiver), nullptr);

  backend.Replug(SimLink::kReceiver);
  EXPECT_EQ(backend.Enumerate().size(), 8u);
  EXPECT_EQ(Read(*h, out, 0), -1) << "a handle of the old plug stays dead";
  auto again = OpenConfig(backend, SimLink::kReceiver);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(ReadCommand(*again, 0x10)[1], 0);
  EXPECT_EQ(ReadCommand(*again, 0x10)[1], 0) << "replugging ends the fault";
}

TEST(SimFaults, UnplugWakesABlockedReader) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  auto h = OpenConfig(backend, SimLink::kWired);
  std::thread unplugger([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    backend.Unplug(SimLink::kWired);
  });
  std::vector<uint8_t> out;
  const auto start = Clock::now();
  EXPECT_EQ(Read(*h, out, 2000), -1);
  EXPECT_LT(ElapsedMs(start), 1000);
  unplugger.join();
}

TEST(SimFaults, GarbageReportsComeAheadOfReplies) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  SimFaults faults;
  faults.garbage_notifications = 1;
  backend.SetFaults(SimLink::kWired, faults);
  auto h = OpenConfig(backend, SimLink::kWired);
  ASSERT_TRUE(Write(*h, BuildCommand(0x10, 0, 0, {})));
  std::vector<uint8_t> out;
  ASSERT_GT(Read(*h, out, 50), 0);
  EXPECT_NE(out[0], 0x10);
  EXPECT_NE(out[1], 0x00) << "garbage must not look like an accepted reply";
  ASSERT_GT(Read(*h, out, 50), 0);
  EXPECT_EQ(out[0], 0x10);
  backend.SendGarbageNotification(SimLink::kWired);
  ASSERT_GT(Read(*h, out, 50), 0);
  EXPECT_NE(out[0], 0xC0);
  EXPECT_NE(out[0], 0xC2);
}

TEST(SimFaults, InterruptIntervalSpacesReports) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  SimFaults faults;
  faults.interrupt_interval = true;
  backend.SetFaults(SimLink::kWired, faults);
  auto h = OpenConfig(backend, SimLink::kWired);
  for (int i = 0; i < 5; ++i) backend.PressDpiButton();
  std::vector<uint8_t> out;
  const auto start = Clock::now();
  for (int i = 0; i < 5; ++i) ASSERT_GT(Read(*h, out, 100), 0);
  EXPECT_GE(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count(),
            4000);
}

TEST(SimFaults, HandleOutlivingTheBackendFailsSoftly) {
  std::unique_ptr<HidHandle> h;
  {
    SimBackend backend(TestIdentity(), SimMode::kWired);
    h = OpenConfig(backend, SimLink::kWired);
  }
  std::vector<uint8_t> out;
  EXPECT_EQ(Read(*h, out, 10), -1);
  EXPECT_FALSE(Write(*h, BuildCommand(0x10, 0, 0, {})));
}

}  // namespace
}  // namespace corvane::test
