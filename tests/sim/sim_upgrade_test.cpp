// The upgrade collection: CRC-16/MODBUS of every block, block order, image assembly
// for images that do and do not fill the last report, and refused transfers.
#include <gtest/gtest.h>

#include "sim/sim_crc16.h"
#include "sim_test_util.h"

namespace corvane::test {
namespace {

using Report = std::vector<uint8_t>;

Report UpgradeReport(uint8_t length, std::initializer_list<uint8_t> head) {
  Report report(64, 0xFF);
  report[0] = 0x05;
  report[1] = 0x02;
  report[2] = length;
  report[3] = 0x00;
  size_t at = 4;
  for (uint8_t b : head) report[at++] = b;
  return report;
}

// Data reports for `image` as the tool builds them: three 20-byte blocks per report.
std::vector<Report> DataReports(const std::vector<uint8_t>& image) {
  std::vector<Report> reports;
  int index = 0;
  for (size_t offset = 0; offset < image.size(); offset += 48) {
    const size_t chunk = std::min<size_t>(48, image.size() - offset);
    const int blocks = static_cast<int>((chunk + 15) / 16);
    Report report = UpgradeReport(static_cast<uint8_t>(20 * blocks), {});
    for (int b = 0; b < blocks; ++b, ++index) {
      uint8_t* block = report.data() + 4 + 20 * b;
      block[0] = index & 0xFF;
      block[1] = index >> 8;
      for (int i = 0; i < 16; ++i) {
        const size_t at = offset + 16 * b + i;
        block[2 + i] = at < image.size() ? image[at] : 0xFF;
      }
      const uint16_t crc = SimCrc16Modbus(block, 18);
      block[18] = crc & 0xFF;
      block[19] = crc >> 8;
    }
    reports.push_back(report);
  }
  return reports;
}

std::vector<uint8_t> Pattern(size_t size) {
  std::vector<uint8_t> image(size);
  for (size_t i = 0; i < size; ++i) image[i] = static_cast<uint8_t>(i * 7 + 3);
  return image;
}

class SimUpgradeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    handle_ = backend_.Open(SimBackend::InterfacePath(SimLink::kReceiver, SimCollection::kUpgrade));
    ASSERT_NE(handle_, nullptr);
  }
  // Writes one report; returns the acknowledgement's status byte (-1 when none).
  int Send(const Report& report) {
    if (handle_->Write(report.data(), report.size()) != 64) return -1;
    uint8_t ack[64] = {};
    return handle_->ReadTimeout(ack, sizeof ack, 100) > 0 ? ack[2] : -1;
  }
  void Transfer(const std::vector<Report>& data) {
    ASSERT_EQ(Send(UpgradeReport(0x02, {0x01, 0xFF})), 0);
    for (const auto& report : data) Send(report);
    Send(UpgradeReport(0x06, {0x02, 0xFF}));
  }

  SimBackend backend_{TestIdentity(), SimMode::kWireless};
  std::unique_ptr<HidHandle> handle_;
};

TEST(SimCrc16, MatchesTheModbusCheckValue) {
  const uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(SimCrc16Modbus(check, sizeof check), 0x4B37);
  EXPECT_EQ(SimCrc16Modbus(nullptr, 0), 0xFFFF);
}

TEST_F(SimUpgradeTest, ImageOfExactlyOneReport) {
  const auto image = Pattern(48);
  const auto reports = DataReports(image);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0][2], 0x3C);
  Transfer(reports);
  EXPECT_EQ(backend_.UpgradeStatus(SimLink::kReceiver).phase, SimUpgradePhase::kComplete);
  EXPECT_EQ(backend_.UpgradeImage(SimLink::kReceiver), image);
  EXPECT_TRUE(backend_.UpgradeImage(SimLink::kWired).empty());
}

TEST_F(SimUpgradeTest, FortyNineBytesEndWithAPaddedOneBlockReport) {
  const auto image = Pattern(49);
  const auto reports = DataReports(image);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[1][2], 0x14);
  Transfer(reports);
  const auto stored = backend_.UpgradeImage(SimLink::kReceiver);
  ASSERT_EQ(stored.size(), 64u);
  EXPECT_TRUE(std::equal(image.begin(), image.end(), stored.begin()));
  for (size_t i = 49; i < 64; ++i) EXPECT_EQ(stored[i], 0xFF) << i;
  EXPECT_EQ(backend_.UpgradeStatus(SimLink::kReceiver).blocks_received, 4);
}

TEST_F(SimUpgradeTest, LargerImageAssemblesInOrder) {
  const auto image = Pattern(16 * 300);
  Transfer(DataReports(image));
  EXPECT_EQ(backend_.UpgradeImage(SimLink::kReceiver), image);
}

TEST_F(SimUpgradeTest, BadCrcSpoilsTheTransferAndKeepsThePreviousImage) {
  const auto first = Pattern(96);
  Transfer(DataReports(first));
  ASSERT_EQ(backend_.UpgradeImage(SimLink::kReceiver), first);

  auto reports = DataReports(Pattern(144));
  reports[1][4 + 20 + 5] ^= 0x01;  // one data bit of block 4
  ASSERT_EQ(Send(UpgradeReport(0x02, {0x01, 0xFF})), 0);
  EXPECT_EQ(Send(reports[0]), 0);
  EXPECT_EQ(Send(reports[1]), 1);
  EXPECT_EQ(Send(reports[2]), 1) << "nothing is taken after a bad block";
  EXPECT_EQ(Send(UpgradeReport(0x06, {0x02, 0xFF})), 1);
  const auto status = backend_.UpgradeStatus(SimLink::kReceiver);
  EXPECT_EQ(status.phase, SimUpgradePhase::kFailed);
  EXPECT_EQ(status.rejected_blocks, 1);
  EXPECT_NE(status.error.find("CRC"), std::string::npos);
  EXPECT_EQ(backend_.UpgradeImage(SimLink::kReceiver), first);
}

TEST_F(SimUpgradeTest, OutOfOrderBlocksAndMissingStartAreRefused) {
  auto reports = DataReports(Pattern(96));
  // Data before any start report is not taken.
  EXPECT_EQ(Send(reports[0]), 1);
  EXPECT_EQ(backend_.UpgradeStatus(SimLink::kReceiver).phase, SimUpgradePhase::kIdle);

  ASSERT_EQ(Send(UpgradeReport(0x02, {0x01, 0xFF})), 0);
  EXPECT_EQ(Send(reports[1]), 1) << "blocks 3..5 cannot come first";
  EXPECT_EQ(backend_.UpgradeStatus(SimLink::kReceiver).phase, SimUpgradePhase::kFailed);
  Send(UpgradeReport(0x06, {0x02, 0xFF}));
  EXPECT_TRUE(backend_.UpgradeImage(SimLink::kReceiver).empty());

  // Start, then end with no data, stores nothing either.
  ASSERT_EQ(Send(UpgradeReport(0x02, {0x01, 0xFF})), 0);
  EXPECT_EQ(Send(UpgradeReport(0x06, {0x02, 0xFF})), 1);
  EXPECT_TRUE(backend_.UpgradeImage(SimLink::kReceiver).empty());
}

TEST_F(SimUpgradeTest, CommandReportsDoNotBelongOnTheUpgradeCollection) {
  const auto command = BuildCommand(0x10, 0, 0, {});
  EXPECT_EQ(handle_->Write(command.data(), command.size()), -1);
}

}  // namespace
}  // namespace corvane::test
