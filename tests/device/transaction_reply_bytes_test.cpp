// The command transaction against the simulated mouse while it fills the reply bytes the
// protocol leaves open (byte 0 echoed, zero or random; bytes 2 and 3 random): every read
// and write still ends with the right data, notifications are still handed on, a busy mouse
// is waited for and a refusing one is waited out.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

#include "device/command_transaction.h"
#include "sim/sim_backend.h"
#include "sim/sim_setup.h"
#include "support/test_identity.h"

namespace corvane {
namespace {

using Clock = std::chrono::steady_clock;

class ReplyBytesTransactionTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(ApplySimFault(sim_, std::string("wired:reply_byte0=") + GetParam(), error))
        << error;
    ASSERT_TRUE(ApplySimFault(sim_, "wired:reply_bytes23=random", error)) << error;
    handle_ = sim_.Open(SimBackend::InterfacePath(SimLink::kWired, SimCollection::kConfig));
    ASSERT_NE(handle_, nullptr);
  }
  // Sends a request with `command` and `payload` (from byte 5) and returns the outcome;
  // the reply is left in buffer_.
  CommandOutcome Send(uint8_t command, std::vector<uint8_t> payload = {}, uint8_t length = 0,
                      uint8_t sequence = 0, HeldNotifications* held = nullptr) {
    std::memset(buffer_, 0, sizeof buffer_);
    buffer_[1] = command;
    buffer_[3] = sequence;
    buffer_[4] = length;
    std::copy(payload.begin(), payload.end(), buffer_ + 5);
    return RunCommand(*handle_, buffer_, kShortReportLength, held);
  }
  SimBackend sim_{test::TestIdentity(), SimMode::kWired};
  std::unique_ptr<HidHandle> handle_;
  uint8_t buffer_[kReportBufferSize] = {};
};

TEST_P(ReplyBytesTransactionTest, ReadsAndWritesKeepTheirDataWhateverBytes0To3Hold) {
  for (int round = 0; round < 20; ++round) {
    ASSERT_EQ(Send(0x10), CommandOutcome::kAccepted) << round;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer_ + 4), 4), "C7A1");
    EXPECT_EQ(buffer_[10], 53);
    const uint8_t rate = static_cast<uint8_t>(1 << (round % 4));
    ASSERT_EQ(Send(0x02, {rate}, 1, 0x01), CommandOutcome::kAccepted);
    ASSERT_EQ(Send(0x12), CommandOutcome::kAccepted);
    EXPECT_EQ(buffer_[4], rate);
  }
  // A macro in two packets: replies to both look alike but for bytes the tool ignores.
  std::vector<uint8_t> first(27, 0x11);
  first[0] = 3;  // button 3
  ASSERT_EQ(Send(0x08, first, 27, 0x02), CommandOutcome::kAccepted);
  ASSERT_EQ(Send(0x08, {0x22, 0x22}, 2, 0x12), CommandOutcome::kAccepted);
  EXPECT_EQ(sim_.State().settings.macros.count(3), 1u);
}

TEST_P(ReplyBytesTransactionTest, NotificationsAreHandedOnAndBusyRepliesWaitedFor) {
  SimFaults faults = sim_.Faults(SimLink::kWired);
  faults.busy_status_replies = 3;
  sim_.SetFaults(SimLink::kWired, faults);
  sim_.PressDpiButton();  // waiting before the request: drained and held
  HeldNotifications held;
  ASSERT_EQ(Send(0x13, {}, 0, 0, &held), CommandOutcome::kAccepted);
  EXPECT_EQ(buffer_[4], sim_.State().settings.dpi_index << 4 | sim_.State().settings.dpi_count);
  ASSERT_EQ(held.size(), 1u);
  EXPECT_EQ(held[0][0], 0xC2);
  for (int i = 0; i < 2; ++i) ASSERT_EQ(Send(0x12), CommandOutcome::kAccepted);
  EXPECT_EQ(sim_.Faults(SimLink::kWired).busy_status_replies, 0);
}

TEST_P(ReplyBytesTransactionTest, ARefusingMouseIsWaitedOutThenReportedAsRefusing) {
  SimFaults faults = sim_.Faults(SimLink::kWired);
  faults.forced_status = 0x03;
  sim_.SetFaults(SimLink::kWired, faults);
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(Send(0x02, {1}, 1, 0x01), CommandOutcome::kRefused);
  const auto waited =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  // 49 empty reads of 30 ms after the refusal: about 1.5 s, not less.
  EXPECT_GE(waited, (kReplyReads - 1) * kReplyReadMs);
  EXPECT_LT(waited, 3 * kReplyReads * kReplyReadMs);
  EXPECT_EQ(buffer_[1], 0x03);
  std::printf("refusing mouse, reply_byte0=%s: %lld ms\n", GetParam(),
              static_cast<long long>(waited));
}

INSTANTIATE_TEST_SUITE_P(EveryByte0, ReplyBytesTransactionTest,
                         ::testing::Values("echo", "zero", "random"));

}  // namespace
}  // namespace corvane
