// Firmware transfer against the simulator's upgrade collection, watched through a
// capture: report shapes, the short last report, CRCs, and failure reporting.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "device/capture_backend.h"
#include "device/device_manager.h"
#include "device/upgrade_transfer.h"
#include "protocol/firmware_transfer.h"
#include "sim/sim_backend.h"
#include "support/temp_home.h"
#include "support/test_identity.h"

namespace corvane {
namespace {

std::vector<uint8_t> Image(size_t size) {
  std::vector<uint8_t> image(size);
  for (size_t i = 0; i < size; ++i) image[i] = static_cast<uint8_t>(i * 7 + 3);
  return image;
}

// Bytes of the OUT lines written to the upgrade collection, in order.
std::vector<std::vector<uint8_t>> UpgradeWrites(const std::string& capture) {
  const std::string path = SimBackend::InterfacePath(SimLink::kWired, SimCollection::kUpgrade);
  std::vector<std::vector<uint8_t>> writes;
  std::istringstream in(capture);
  for (std::string tag, p, hex; in >> tag;) {
    size_t length = 0;
    in >> p >> length >> hex;
    if (tag != "OUT" || p != path) continue;
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    EXPECT_EQ(bytes.size(), length);
    writes.push_back(bytes);
  }
  return writes;
}

class FirmwareTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim_ = std::make_shared<SimBackend>(test::TestIdentity(), SimMode::kWired);
    capture_file_ = (home_.Root() / "capture.txt").string();
    manager_.SetBackend(std::make_shared<CaptureBackend>(sim_, capture_file_));
    manager_.AddKnownDevice(0x1209, 0x0001, 7, ConnectionMode::kWired, "C7A1");
    manager_.EnumerateDevice();
    manager_.SetOpened(true);
    manager_.SelectDeviceType(7);
  }
  test::TempHome home_;
  std::shared_ptr<SimBackend> sim_;
  std::string capture_file_;
  DeviceManager manager_;
};

TEST(UpgradeCrc, ModbusCheckValue) {
  const uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(UpgradeCrc16(check, sizeof check), 0x4B37);
  EXPECT_EQ(UpgradeCrc16(check, 0), 0xFFFF);
}

TEST_F(FirmwareTest, FortyNineBytesMakeOneFullAndOneShortReport) {
  const auto image = Image(49);
  std::vector<int> progress;
  FirmwareTransfer transfer(manager_);
  EXPECT_EQ(transfer.Run(image, [&](int p) { progress.push_back(p); }), FirmwareResult::kOk);
  EXPECT_EQ(progress, std::vector<int>{100});

  const auto writes = UpgradeWrites(test::ReadFileBytes(capture_file_));
  ASSERT_EQ(writes.size(), 4u);
  EXPECT_EQ(std::vector<uint8_t>(writes[0].begin(), writes[0].begin() + 6),
            (std::vector<uint8_t>{0x05, 0x02, 0x02, 0x00, 0x01, 0xFF}));
  EXPECT_EQ(writes[1][2], 0x3C);
  EXPECT_EQ(writes[1][44], 2);  // third block's index
  const auto& last = writes[2];
  ASSERT_EQ(last.size(), kUpgradeReportSize);
  EXPECT_EQ(last[2], 0x14);
  EXPECT_EQ(last[4], 3);  // block index 3, little-endian
  EXPECT_EQ(last[5], 0);
  EXPECT_EQ(last[6], image[48]);
  for (int i = 7; i < 22; ++i) EXPECT_EQ(last[i], 0xFF) << i;
  const uint16_t crc = UpgradeCrc16(last.data() + 4, 18);
  EXPECT_EQ(last[22], crc & 0xFF);
  EXPECT_EQ(last[23], crc >> 8);
  for (size_t i = 24; i < last.size(); ++i) EXPECT_EQ(last[i], 0xFF) << i;
  EXPECT_EQ(std::vector<uint8_t>(writes[3].begin(), writes[3].begin() + 10),
            (std::vector<uint8_t>{0x05, 0x02, 0x06, 0x00, 0x02, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));

  const auto received = sim_->UpgradeImage(SimLink::kWired);
  ASSERT_GE(received.size(), image.size());
  EXPECT_EQ(std::vector<uint8_t>(received.begin(), received.begin() + 49), image);
  EXPECT_EQ(sim_->UpgradeStatus(SimLink::kWired).rejected_blocks, 0);
}

TEST_F(FirmwareTest, WholeReportsLeaveNoShortReport) {
  for (size_t size : {48u, 96u}) {
    FirmwareTransfer transfer(manager_);
    std::vector<int> progress;
    EXPECT_EQ(transfer.Run(Image(size), [&](int p) { progress.push_back(p); }), FirmwareResult::kOk);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_EQ(sim_->UpgradeImage(SimLink::kWired), Image(size));
  }
  const auto writes = UpgradeWrites(test::ReadFileBytes(capture_file_));
  ASSERT_EQ(writes.size(), 3u + 4u);  // start, 1 data, end; start, 2 data, end
  EXPECT_EQ(writes[1][2], 0x3C);
  EXPECT_EQ(writes[2][2], 0x06);
}

TEST_F(FirmwareTest, RefusedInputsAndMissingDevicesAreReported) {
  FirmwareTransfer transfer(manager_);
  EXPECT_EQ(transfer.Run({}, nullptr), FirmwareResult::kEmptyImage);
  EXPECT_EQ(transfer.Run(std::vector<uint8_t>(kMaxUpgradeImageBytes + 1), nullptr),
            FirmwareResult::kImageTooLarge);
  EXPECT_FALSE(transfer.SendUpgradeReport(BuildUpgradeStartReport()));  // nothing opened
  manager_.SelectDeviceType(99);
  EXPECT_EQ(transfer.Run(Image(10), nullptr), FirmwareResult::kNoActiveDevice);
  EXPECT_TRUE(UpgradeWrites(test::ReadFileBytes(capture_file_)).empty());
}

TEST_F(FirmwareTest, UnplugPartWayIsAFailureNotASuccess) {
  SimFaults faults;
  faults.unplug_after_reports = 3;  // start and two data reports
  sim_->SetFaults(SimLink::kWired, faults);
  FirmwareTransfer transfer(manager_);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(transfer.Run(Image(48 * 5), nullptr), FirmwareResult::kTransferAborted);
  // One retry with its acknowledgement wait for the failed report, one for the end.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
}

}  // namespace
}  // namespace corvane
