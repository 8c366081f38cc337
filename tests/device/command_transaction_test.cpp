// The command transaction against scripted interfaces: checksum, the reply wait and
// what the caller's buffer holds afterwards in each outcome.
#include "device/command_transaction.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "fake_hid_backend.h"

namespace corvane {
namespace {

using test::FakeHidBackend;

class TransactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    iface_ = &backend_.Add("fake/cfg", 0x1209, 0x0001, 0xFF01, 0x0010);
    handle_ = backend_.Open("fake/cfg");
    ASSERT_NE(handle_, nullptr);
  }
  std::vector<uint8_t> Reply(uint8_t type, uint8_t status, uint8_t fill = 0) {
    std::vector<uint8_t> reply(64, fill);
    reply[0] = type;
    reply[1] = status;
    return reply;
  }
  // The interface answers the next write with `reports`, in order (reports queued before
  // the write would be drained as stale).
  void AnswerWith(std::vector<std::vector<uint8_t>> reports) {
    iface_->respond = [reports = std::move(reports)](const std::vector<uint8_t>&) {
      return reports;
    };
  }
  FakeHidBackend backend_;
  test::FakeInterface* iface_ = nullptr;
  std::unique_ptr<HidHandle> handle_;
  uint8_t buffer_[kReportBufferSize] = {};
};

TEST_F(TransactionTest, ChecksumCoversBytes5To31Only) {
  buffer_[1] = 0x03;
  buffer_[3] = 0x01;
  buffer_[4] = 37;
  for (size_t i = 5; i <= 31; ++i) buffer_[i] = 0x10;  // 27 * 16 = 432 -> 0xB0
  buffer_[32] = 0x77;                                  // overwritten
  AnswerWith({Reply(0x03, 0)});
  EXPECT_TRUE(RunCommandTransaction(*handle_, buffer_, kShortReportLength));
  ASSERT_EQ(iface_->writes.size(), 1u);
  EXPECT_EQ(iface_->writes[0].size(), size_t{kShortReportLength});
  EXPECT_EQ(iface_->writes[0][32], 0xB0);
  EXPECT_EQ(iface_->writes[0][1], 0x03);
}

TEST_F(TransactionTest, ReadRequestHasZeroChecksumAndReplyComesBack) {
  buffer_[1] = 0x12;
  auto reply = Reply(0x12, 0);
  reply[4] = 0x05;
  AnswerWith({reply});
  EXPECT_TRUE(RunCommandTransaction(*handle_, buffer_, kShortReportLength));
  EXPECT_EQ(iface_->writes[0][32], 0);
  EXPECT_EQ(buffer_[4], 0x05);
}

TEST_F(TransactionTest, TheStatusAloneMarksTheReplyAndNotificationsAreHandedOn) {
  buffer_[1] = 0x13;
  buffer_[3] = 0x00;
  auto busy = Reply(0x13, 0x05);  // not the awaited reply: the wait goes on
  busy[4] = 0x77;
  auto ours = Reply(0x5A, 0x00);  // byte 0 is the mouse's own business
  ours[2] = 0xEE;
  ours[3] = 0x91;
  ours[4] = 0x24;
  AnswerWith({Reply(0xC2, 0x21), busy, Reply(0xC0, 0x00), ours, Reply(0x13, 0x00)});
  HeldNotifications held;
  EXPECT_EQ(RunCommand(*handle_, buffer_, kShortReportLength, &held), CommandOutcome::kAccepted);
  EXPECT_EQ(buffer_[0], 0x5A);
  EXPECT_EQ(buffer_[4], 0x24);
  // The notifications read meanwhile are kept, in order, even one whose byte 1 is 0x00.
  ASSERT_EQ(held.size(), 2u);
  EXPECT_EQ(held[0][0], 0xC2);
  EXPECT_EQ(held[0][1], 0x21);
  EXPECT_EQ(held[1][0], 0xC0);
  EXPECT_EQ(held[1][1], 0x00);
}

TEST_F(TransactionTest, StaleInputIsDrainedBeforeTheRequestIsWritten) {
  buffer_[1] = 0x12;
  iface_->replies.push_back(Reply(0x12, 0x00, 0x11));  // answered an earlier 0x12, too late
  iface_->replies.push_back(Reply(0xC0, 0x01));        // a link change waiting to be read
  auto fresh = Reply(0x12, 0x00);
  fresh[4] = 0x08;
  AnswerWith({fresh});
  HeldNotifications held;
  EXPECT_EQ(RunCommand(*handle_, buffer_, kShortReportLength, &held), CommandOutcome::kAccepted);
  EXPECT_EQ(buffer_[4], 0x08) << "the stale reply must not pass for this one";
  ASSERT_EQ(held.size(), 1u);
  EXPECT_EQ(held[0][0], 0xC0);
}

TEST_F(TransactionTest, ARefusalRunsTheWaitOutAndIsReportedAsSuch) {
  buffer_[1] = 0x16;
  AnswerWith({Reply(0x16, 0x04, 0xAA)});
  EXPECT_EQ(RunCommand(*handle_, buffer_, kShortReportLength, nullptr), CommandOutcome::kRefused);
  EXPECT_EQ(iface_->reads, kReplyReads + 1);  // one drain read before the request
  EXPECT_EQ(buffer_[1], 0x04) << "the buffer holds the refusing report";
}

TEST_F(TransactionTest, GivesUpAfterFiftyReads) {
  buffer_[1] = 0x16;
  // Only notifications and reports without a status byte: no reply at all.
  AnswerWith({Reply(0xC2, 0x00, 0xAA), {0x16}});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RunCommand(*handle_, buffer_, kShortReportLength, nullptr), CommandOutcome::kNoReply);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));  // fake never blocks
  EXPECT_EQ(iface_->reads, kReplyReads + 1);
  EXPECT_EQ(buffer_[1], 0x16);
}

TEST_F(TransactionTest, AStopSignalEndsTheReplyWaitAtOnce) {
  // The program shuts down while the mouse is out of reach: the request still goes out,
  // but the wait for its reply ends instead of running its fifty reads.
  ReadWake stop;
  buffer_[1] = 0x16;
  iface_->respond = [&stop](const std::vector<uint8_t>&) {
    stop.Raise();
    return std::vector<std::vector<uint8_t>>{};
  };
  EXPECT_EQ(RunCommand(*handle_, buffer_, kShortReportLength, nullptr, &stop),
            CommandOutcome::kNoReply);
  EXPECT_EQ(iface_->reads, 1) << "only the drain before the request";
  EXPECT_EQ(buffer_[1], 0x16);
  // The late-reply wait and the device query end as well.
  AwaitLateReply(*handle_, nullptr, &stop);
  uint8_t info[kReportBufferSize] = {};
  EXPECT_FALSE(QueryDeviceInfo(*handle_, info, &stop));
  EXPECT_EQ(iface_->reads, 2) << "only the query's drain";
  // A reply already waiting when the signal is low is still taken.
  stop.Clear();
  AnswerWith({Reply(0x16, 0x00, 0xAB)});
  EXPECT_EQ(RunCommand(*handle_, buffer_, kShortReportLength, nullptr, &stop),
            CommandOutcome::kAccepted);
}

TEST_F(TransactionTest, NoReplyLeavesTheRequestInTheBuffer) {
  buffer_[1] = 0x07;
  buffer_[5] = 0x09;
  EXPECT_FALSE(RunCommandTransaction(*handle_, buffer_, kShortReportLength));
  EXPECT_EQ(buffer_[1], 0x07);
  EXPECT_EQ(buffer_[5], 0x09);
  EXPECT_EQ(buffer_[32], 0x09);
}

TEST_F(TransactionTest, WriteFailureReadsNothing) {
  iface_->fail_write = true;
  buffer_[1] = 0x02;
  EXPECT_EQ(RunCommand(*handle_, buffer_, kLongReportLength, nullptr),
            CommandOutcome::kWriteFailed);
  EXPECT_EQ(iface_->reads, 1);  // only the drain before the write
  EXPECT_EQ(buffer_[1], 0x02);
}

TEST_F(TransactionTest, UnpluggedDeviceFailsWithoutHanging) {
  buffer_[1] = 0x10;
  iface_->respond = [this](const std::vector<uint8_t>&) {
    iface_->unplugged = true;  // gone right after taking the report
    return std::vector<std::vector<uint8_t>>{};
  };
  EXPECT_FALSE(RunCommandTransaction(*handle_, buffer_, kShortReportLength));
}

TEST_F(TransactionTest, ShortRepliesNeverPassRequestBytesOffAsData) {
  buffer_[1] = 0x12;
  buffer_[5] = 0x33;
  AnswerWith({{0x00}});  // no status byte: not an answer
  EXPECT_FALSE(RunCommandTransaction(*handle_, buffer_, kShortReportLength));

  AnswerWith({{0x99, 0x00, 0x00, 0x00, 0x07}});
  EXPECT_TRUE(RunCommandTransaction(*handle_, buffer_, kShortReportLength));
  EXPECT_EQ(buffer_[4], 0x07);
  EXPECT_EQ(buffer_[5], 0x00);  // not the request's 0x33
}

TEST_F(TransactionTest, LengthBoundsTheReplyCopy) {
  buffer_[1] = 0x10;
  std::memset(buffer_ + 40, 0x5A, 25);
  AnswerWith({Reply(0x10, 0x00, 0xEE)});
  EXPECT_TRUE(RunCommandTransaction(*handle_, buffer_, kShortReportLength));
  EXPECT_EQ(buffer_[32], 0xEE);
  EXPECT_EQ(buffer_[40], 0x5A);                                // beyond the 33 bytes: untouched
  EXPECT_FALSE(RunCommandTransaction(*handle_, buffer_, 20));  // too short to hold a command
}

TEST_F(TransactionTest, QueryDeviceInfoSendsCommand0x10) {
  iface_->respond = test::AnswerAs("AB12");
  uint8_t reply[kReportBufferSize];
  std::memset(reply, 0x99, sizeof reply);
  ASSERT_TRUE(QueryDeviceInfo(*handle_, reply));
  EXPECT_EQ(iface_->writes[0][1], 0x10);
  EXPECT_EQ(iface_->writes[0].size(), size_t{kShortReportLength});
  EXPECT_EQ(std::string(reinterpret_cast<char*>(reply + 4), 4), "AB12");
  EXPECT_EQ(reply[40], 0);  // the whole buffer was zeroed first
}

}  // namespace
}  // namespace corvane
