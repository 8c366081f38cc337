// Notifications on request: the DPI button (0xC2) and the receiver's link changes
// (0xC0), where they are delivered, and the state they leave behind.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "sim_test_util.h"

namespace corvane::test {
namespace {

std::vector<uint8_t> ReadReport(HidHandle& handle, int timeout_ms = 100, size_t length = 65) {
  std::vector<uint8_t> data(length, 0);
  const int n = handle.ReadTimeout(data.data(), data.size(), timeout_ms);
  data.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return data;
}

TEST(SimNotify, DpiButtonCyclesStagesAndTellsEveryLinkedInterface) {
  SimBackend backend(TestIdentity(), SimMode::kBoth);
  auto wired = OpenConfig(backend, SimLink::kWired);
  auto receiver = OpenConfig(backend, SimLink::kReceiver);
  SimState state = backend.State();
  state.settings.dpi_count = 3;
  state.settings.dpi_index = 1;
  backend.SetState(state);

  backend.PressDpiButton();
  for (HidHandle* h : {wired.get(), receiver.get()}) {
    const auto report = ReadReport(*h);
    ASSERT_EQ(report.size(), 64u);
    EXPECT_EQ(report[0], 0xC2);
    EXPECT_EQ(report[1], 0x23);
  }
  backend.PressDpiButton();
  EXPECT_EQ(ReadReport(*wired)[1], 0x03) << "wraps to stage 0";
  EXPECT_EQ(backend.State().settings.dpi_index, 0);

  backend.SetMouseOn(false);
  ASSERT_EQ(ReadReport(*receiver)[1], 0x03);  // the earlier press
  ASSERT_EQ(ReadReport(*receiver)[0], 0xC0);
  backend.PressDpiButton();
  EXPECT_EQ(ReadReport(*wired)[1], 0x13);
  EXPECT_TRUE(ReadReport(*receiver, 20).empty()) << "an unreachable mouse cannot tell the receiver";
}

TEST(SimNotify, LinkChangesCarryStateAndBattery) {
  SimBackend backend(TestIdentity(), SimMode::kWireless);
  auto receiver = OpenConfig(backend, SimLink::kReceiver);
  backend.SetBattery(1, 55, false);
  EXPECT_TRUE(ReadReport(*receiver, 10).empty()) << "a silent battery change sends nothing";
  backend.SetMouseOn(false);
  auto report = ReadReport(*receiver);
  ASSERT_GE(report.size(), 4u);
  EXPECT_EQ(report[0], 0xC0);
  EXPECT_EQ(report[1], 0);
  backend.SetMouseOn(false);
  EXPECT_TRUE(ReadReport(*receiver, 10).empty()) << "no change, no report";
  backend.SetMouseOn(true);
  report = ReadReport(*receiver, 100, 33);
  ASSERT_EQ(report.size(), 33u);
  EXPECT_EQ(report[1], 1);
  EXPECT_EQ(report[2], 55);
  EXPECT_EQ(report[3], 1);
  backend.SetBattery(0, 20);
  report = ReadReport(*receiver);
  EXPECT_EQ(report[0], 0xC0);
  EXPECT_EQ(report[2], 20);
}

TEST(SimNotify, ReportsGoOnlyToHandlesOpenAtTheTimeAndEachGetsItsOwnCopy) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  backend.PressDpiButton();
  auto late = OpenConfig(backend, SimLink::kWired);
  EXPECT_TRUE(ReadReport(*late, 10).empty());
  auto other = OpenConfig(backend, SimLink::kWired);
  backend.PressDpiButton();
  EXPECT_EQ(ReadReport(*late)[0], 0xC2);
  EXPECT_EQ(ReadReport(*other)[0], 0xC2);
}

TEST(SimNotify, UnreadReportsBeyondTheQueueLimitLoseTheOldest) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  auto h = OpenConfig(backend, SimLink::kWired);
  SimState state = backend.State();
  state.settings.dpi_count = 6;
  state.settings.dpi_index = 0;
  backend.SetState(state);
  for (int i = 0; i < 70; ++i) backend.PressDpiButton();
  int received = 0;
  std::vector<uint8_t> first;
  for (auto report = ReadReport(*h, 10); !report.empty(); report = ReadReport(*h, 10)) {
    if (received++ == 0) first = report;
  }
  EXPECT_EQ(received, 64);
  // Presses 1..6 were pushed out; press 7 moved to stage 7 % 6 = 1.
  EXPECT_EQ(first[1], 0x16);
}

TEST(SimNotify, ButtonPressesFromAnotherThreadDuringTraffic) {
  SimBackend backend(TestIdentity(), SimMode::kWired);
  auto h = OpenConfig(backend, SimLink::kWired);
  std::atomic<bool> done{false};
  std::thread presser([&] {
    while (!done) {
      backend.PressDpiButton();
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  });
  int answered = 0;
  for (int i = 0; i < 200; ++i) {
    const auto command = BuildCommand(0x12, 0, 0, {});
    ASSERT_GT(h->Write(command.data(), command.size()), 0);
    // Skip notifications until the reply to this command comes by.
    for (int tries = 0; tries < 200; ++tries) {
      const auto report = ReadReport(*h, 100);
      if (!report.empty() && report[0] == 0x12) {
        ++answered;
        break;
      }
    }
  }
  done = true;
  presser.join();
  // The queue keeps the newest reports; under a flood a reply may be pushed out.
  EXPECT_GT(answered, 0);
  const int index = backend.State().settings.dpi_index;
  EXPECT_LT(index, backend.State().settings.dpi_count);
}

}  // namespace
}  // namespace corvane::test
