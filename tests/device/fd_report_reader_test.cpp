// Report reads from a descriptor: whole reports, time-outs, a node that goes away, and the
// idle read that a post ends at once without waking the thread in between. A datagram
// socket pair stands in for the hidraw node: it keeps report boundaries as hidraw does.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "device/fd_report_reader.h"

namespace corvane::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class FdReportReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    int fds[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds), 0);
    reader_ = std::make_unique<FdReportReader>(fds[0]);
    device_ = fds[1];
  }
  void TearDown() override {
    if (device_ >= 0) close(device_);
  }
  void Send(std::initializer_list<uint8_t> bytes) {
    std::vector<uint8_t> report(bytes);
    ASSERT_EQ(write(device_, report.data(), report.size()),
              static_cast<ssize_t>(report.size()));
  }

  std::unique_ptr<FdReportReader> reader_;
  int device_ = -1;
};

// The calling thread's voluntary context switches: how often it went to sleep.
long VoluntarySwitches() {
  std::ifstream status("/proc/thread-self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("voluntary_ctxt_switches:", 0) == 0) return std::stol(line.substr(24));
  }
  return -1;
}

TEST_F(FdReportReaderTest, ReportsArriveWholeAndInOrderAndTimeOutsReturnNothing) {
  ASSERT_TRUE(reader_->Valid());
  uint8_t data[65] = {};
  EXPECT_EQ(reader_->Read(data, sizeof data, 0), 0);
  auto started = Clock::now();
  EXPECT_EQ(reader_->Read(data, sizeof data, 60), 0);
  EXPECT_GE(Clock::now() - started, milliseconds(55));

  Send({0xC2, 0x21, 0x00});
  Send({0x03, 0x00, 0x01, 0x02});
  EXPECT_EQ(reader_->Read(data, sizeof data, 100), 3);
  EXPECT_EQ(data[0], 0xC2);
  uint8_t small[2] = {};
  EXPECT_EQ(reader_->Read(small, sizeof small, 100), 2);  // a short buffer keeps the head
  EXPECT_EQ(small[0], 0x03);
  EXPECT_EQ(small[1], 0x00);
  EXPECT_EQ(reader_->Read(data, sizeof data, 0), 0);  // and the rest of that report is gone

  close(device_);
  device_ = -1;
  EXPECT_EQ(reader_->Read(data, sizeof data, 100), -1);
  EXPECT_EQ(reader_->Read(nullptr, 4, 0), -1);
}

TEST_F(FdReportReaderTest, APostEndsTheIdleReadAtOnceAndTheThreadSleepsUntilThen) {
  ReadWake wake;
  uint8_t data[65] = {};
  std::thread poster([&] {
    std::this_thread::sleep_for(milliseconds(300));
    wake.Raise();
  });
  const long switches = VoluntarySwitches();
  auto started = Clock::now();
  EXPECT_EQ(reader_->ReadOrWake(data, sizeof data, 5000, wake), 0);
  auto waited = Clock::now() - started;
  const long slept = VoluntarySwitches() - switches;
  poster.join();
  EXPECT_GE(waited, milliseconds(250));
  EXPECT_LT(waited, milliseconds(1500));
  // A read cut into 10 ms slices would have slept about thirty times.
  EXPECT_LE(slept, 3);

  // Still raised: the next wait ends at once. Lowered: it waits out its time again, the
  // earlier wake-up does not linger.
  EXPECT_EQ(reader_->ReadOrWake(data, sizeof data, 5000, wake), 0);
  wake.Clear();
  started = Clock::now();
  EXPECT_EQ(reader_->ReadOrWake(data, sizeof data, 80, wake), 0);
  EXPECT_GE(Clock::now() - started, milliseconds(75));
}

TEST_F(FdReportReaderTest, AReportDuringTheIdleReadIsReturned) {
  ReadWake wake;
  uint8_t data[65] = {};
  std::thread mouse([&] {
    std::this_thread::sleep_for(milliseconds(100));
    Send({0xC0, 0x01});
  });
  EXPECT_EQ(reader_->ReadOrWake(data, sizeof data, 5000, wake), 2);
  mouse.join();
  EXPECT_EQ(data[0], 0xC0);
  close(device_);
  device_ = -1;
  EXPECT_EQ(reader_->ReadOrWake(data, sizeof data, 5000, wake), -1);
}

TEST(FdReportReader, ANodeThatCouldNotBeOpenedIsNotValid) {
  FdReportReader reader(-1);
  EXPECT_FALSE(reader.Valid());
  uint8_t data[4];
  EXPECT_EQ(reader.Read(data, sizeof data, 0), -1);
}

}  // namespace
}  // namespace corvane::test
