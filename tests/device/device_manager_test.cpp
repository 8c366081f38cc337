// DeviceManager over scripted interfaces and over the simulator: which interfaces
// become entries, how they are identified, and which one commands go to.
#include <gtest/gtest.h>

#include <chrono>

#include "device/device_manager.h"
#include "fake_hid_backend.h"
#include "sim/sim_backend.h"

namespace corvane {
namespace {

using test::AnswerAs;
using test::FakeHidBackend;

constexpr int kType = 7;

SimIdentity Identity() {
  SimIdentity id;
  id.device_type = kType;
  id.product_name = "Test Mouse";
  id.wired = {0x1209, 0x0001, "C7A1"};
  id.receiver = {0x1209, 0x0002, "C7B2"};
  return id;
}

class ManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { manager_.SetRetryDelay(std::chrono::milliseconds(0)); }
  void Enumerate() {
    manager_.CloseAll();
    manager_.EnumerateDevice();
    manager_.SetOpened(true);
  }
  void KnowSimModel() {
    manager_.AddKnownDevice(0x1209, 0x0001, kType, ConnectionMode::kWired, "C7A1");
    manager_.AddKnownDevice(0x1209, 0x0002, kType, ConnectionMode::kReceiver, "C7B2");
  }
  DeviceManager manager_;
};

TEST_F(ManagerTest, KnownDeviceQueries) {
  manager_.AddKnownDevice(0x1209, 0x0002, 11, ConnectionMode::kReceiver, "KP11");
  manager_.AddKnownDevice(0x1209, 0x0002, 12, ConnectionMode::kWired, "WR12");
  manager_.AddKnownDevice(0x1209, 0x0003, 13, ConnectionMode::kWired, "");
  EXPECT_TRUE(manager_.IsKnown(0x1209, 0x0002));
  EXPECT_FALSE(manager_.IsKnown(0x1209, 0x0004));
  EXPECT_EQ(manager_.ConnectionModeOf(0x1209, 0x0002), ConnectionMode::kReceiver);  // first wins
  EXPECT_EQ(manager_.ConnectionModeOf(0x1209, 0x0009), ConnectionMode::kWired);
  EXPECT_EQ(manager_.LookupDeviceType(0x1209, 0x0002, "WR12"), 12);
  EXPECT_EQ(manager_.LookupDeviceType(0x1209, 0x0002, "wr12"), 0);  // case-sensitive
  EXPECT_EQ(manager_.LookupDeviceType(0x1209, 0x0003, "ANY1"), kIdsOnlyDeviceType);
  manager_.ClearKnownDevices();
  EXPECT_FALSE(manager_.IsKnown(0x1209, 0x0002));
}

TEST_F(ManagerTest, WiredWinsOverTheReceiver) {
  auto sim = std::make_shared<SimBackend>(Identity(), SimMode::kBoth);
  manager_.SetBackend(sim);
  KnowSimModel();
  Enumerate();
  const auto entries = manager_.Entries();
  ASSERT_EQ(entries.size(), 2u);  // mouse, keyboard and upgrade collections rejected
  EXPECT_EQ(entries[0].device_type, kType);
  EXPECT_EQ(entries[0].mode, ConnectionMode::kWired);
  EXPECT_EQ(entries[0].dev_id, "C7A1");
  EXPECT_EQ(entries[1].device_type, kType);
  EXPECT_EQ(entries[1].mode, ConnectionMode::kReceiver);
  EXPECT_EQ(entries[1].index, 1);
  manager_.SelectDeviceType(kType);
  ASSERT_NE(manager_.ActiveDevice(), nullptr);
  EXPECT_EQ(manager_.ActiveDevice()->Path(), entries[0].path);
  EXPECT_EQ(manager_.ActiveConnectionMode(), ConnectionMode::kWired);
  int vid = 0, pid = 0;
  ASSERT_TRUE(manager_.ActiveVidPid(vid, pid));
  EXPECT_EQ(pid, 0x0001);
}

TEST_F(ManagerTest, ReceiverWithTheMouseOff) {
  auto sim = std::make_shared<SimBackend>(Identity(), SimMode::kWireless);
  sim->SetMouseOn(false);
  manager_.SetBackend(sim);
  KnowSimModel();
  Enumerate();
  manager_.SelectDeviceType(kType);
  ASSERT_EQ(manager_.Entries().size(), 1u);
  EXPECT_EQ(manager_.Entries()[0].online_state, OnlineState::kOnline);  // answers 0x10 itself
  uint8_t info[kDeviceInfoSize] = {};
  ASSERT_TRUE(manager_.QueryDeviceInfo(info));
  EXPECT_EQ(info[14], 0);  // but the mouse is not reachable
  ASSERT_NE(manager_.ActiveDevice(), nullptr);

  manager_.SetOnlineState(kType, ConnectionMode::kReceiver, OnlineState::kOffline);
  EXPECT_EQ(manager_.ActiveConnectionMode(), ConnectionMode::kReceiver);
  EXPECT_EQ(manager_.ActiveDevice(), nullptr);
  uint8_t command[65] = {0, 0x12};
  EXPECT_FALSE(manager_.SendCommand(command, 33));
  EXPECT_EQ(command[1], 0x12);
  EXPECT_FALSE(manager_.IsDevicePresent(kType));
  manager_.SetOnlineState(kType, ConnectionMode::kReceiver, OnlineState::kOfflinePolled);
  EXPECT_TRUE(manager_.IsDevicePresent(kType));  // state 2 counts as present
}

TEST_F(ManagerTest, ModeWithoutFullDevIdGivesIdsOnlyType) {
  FakeHidBackend* fake = nullptr;
  auto backend = std::make_shared<FakeHidBackend>();
  fake = backend.get();
  fake->Add("fake/a", 0x1209, 0x0005, 0x0001, 0x0000).respond = AnswerAs("ZZ99");
  manager_.SetBackend(backend);
  manager_.AddKnownDevice(0x1209, 0x0005, 20, ConnectionMode::kWired, "ZZ");
  Enumerate();
  ASSERT_EQ(manager_.Entries().size(), 1u);
  EXPECT_EQ(manager_.Entries()[0].device_type, kIdsOnlyDeviceType);
}

TEST_F(ManagerTest, TwoModesOfOneVidPidToldApartByDevId) {
  auto backend = std::make_shared<FakeHidBackend>();
  backend->Add("fake/a", 0x1209, 0x0006, 0xFF01, 0x0010).respond = AnswerAs("BBBB");
  backend->Add("fake/b", 0x1209, 0x0006, 0xFF01, 0x0010).respond = AnswerAs("CCCC");
  manager_.SetBackend(backend);
  manager_.AddKnownDevice(0x1209, 0x0006, 21, ConnectionMode::kWired, "AAAA");
  manager_.AddKnownDevice(0x1209, 0x0006, 22, ConnectionMode::kWired, "BBBB");
  Enumerate();
  const auto entries = manager_.Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].device_type, 22);
  EXPECT_EQ(entries[1].device_type, 0);  // matches neither
}

TEST_F(ManagerTest, OrdinaryMouseCollectionIsOpenedRejectedAndClosed) {
  auto backend = std::make_shared<FakeHidBackend>();
  auto& mouse = backend->Add("fake/mouse", 0x1209, 0x0001, 0x0001, 0x0002);
  auto& other = backend->Add("fake/other", 0x1209, 0x0099, 0xFF01, 0x0010);
  manager_.SetBackend(backend);
  manager_.AddKnownDevice(0x1209, 0x0001, 11, ConnectionMode::kWired, "KP11");
  Enumerate();
  EXPECT_TRUE(manager_.Entries().empty());
  EXPECT_EQ(mouse.opens, 1);
  EXPECT_EQ(mouse.closes, 1);
  EXPECT_EQ(other.opens, 0);  // unknown ids are never opened
}

TEST_F(ManagerTest, SilentInterfaceStaysWithTypeZeroAfterOneRetry) {
  auto backend = std::make_shared<FakeHidBackend>();
  auto& silent = backend->Add("fake/s", 0x1209, 0x0001, 0xFF01, 0x0010);
  manager_.SetBackend(backend);
  manager_.AddKnownDevice(0x1209, 0x0001, 11, ConnectionMode::kWired, "KP11");
  Enumerate();
  ASSERT_EQ(manager_.Entries().size(), 1u);
  EXPECT_EQ(manager_.Entries()[0].device_type, 0);
  EXPECT_TRUE(manager_.Entries()[0].dev_id.empty());
  EXPECT_EQ(silent.writes.size(), 2u);
  manager_.SelectDeviceType(11);
  EXPECT_EQ(manager_.ActiveDevice(), nullptr);
  manager_.SelectDeviceType(0);
  EXPECT_NE(manager_.ActiveDevice(), nullptr);  // type 0 chosen only with no selection
}

TEST_F(ManagerTest, OverlongPathsAndFailedOpensAreSkipped) {
  auto backend = std::make_shared<FakeHidBackend>();
  const std::string long_path(kMaxDevicePathBytes + 1, 'p');
  auto& longer = backend->Add(long_path, 0x1209, 0x0001, 0xFF01, 0x0010);
  longer.respond = AnswerAs("KP11");
  backend->Add("fake/broken", 0x1209, 0x0001, 0xFF01, 0x0010).fail_open = true;
  backend->Add(std::string(kMaxDevicePathBytes, 'q'), 0x1209, 0x0001, 0xFF01, 0x0010).respond =
      AnswerAs("KP11");
  manager_.SetBackend(backend);
  manager_.AddKnownDevice(0x1209, 0x0001, 11, ConnectionMode::kWired, "KP11");
  Enumerate();
  ASSERT_EQ(manager_.Entries().size(), 1u);
  EXPECT_EQ(manager_.Entries()[0].path.size(), kMaxDevicePathBytes);
  EXPECT_EQ(longer.opens, 0);
}

TEST_F(ManagerTest, CommandsNeedAnEnumerationAndReleaseNumbersNeedOpened) {
  auto sim = std::make_shared<SimBackend>(Identity(), SimMode::kWired);
  manager_.SetBackend(sim);
  KnowSimModel();
  manager_.SelectDeviceType(kType);
  uint8_t command[65] = {0, 0x12};
  EXPECT_FALSE(manager_.SendCommand(command, 33));
  int release = -1;
  EXPECT_FALSE(manager_.ReleaseNumberOf(ConnectionMode::kWired, release));
  Enumerate();
  EXPECT_TRUE(manager_.SendCommand(command, 33));
  EXPECT_TRUE(manager_.ReleaseNumberOf(ConnectionMode::kWired, release));
  EXPECT_EQ(release, sim->State().firmware_version);
  manager_.CloseAll();
  EXPECT_FALSE(manager_.SendCommand(command, 33));
  EXPECT_TRUE(manager_.Entries().empty());
}

TEST_F(ManagerTest, UnplugMidSessionFailsCommandsWithoutCrashing) {
  auto sim = std::make_shared<SimBackend>(Identity(), SimMode::kWired);
  manager_.SetBackend(sim);
  KnowSimModel();
  Enumerate();
  manager_.SelectDeviceType(kType);
  SimFaults faults;
  faults.unplug_after_reports = 1;
  sim->SetFaults(SimLink::kWired, faults);
  uint8_t command[65] = {0, 0x12};
  EXPECT_FALSE(manager_.SendCommand(command, 33));
  EXPECT_FALSE(manager_.SendCommand(command, 33));
}

TEST_F(ManagerTest, EntryListsBySelection) {
  auto sim = std::make_shared<SimBackend>(Identity(), SimMode::kBoth);
  manager_.SetBackend(sim);
  KnowSimModel();
  std::vector<DeviceEntryInfo> list;
  EXPECT_FALSE(manager_.EntriesOfSelected(list));
  Enumerate();
  EXPECT_TRUE(manager_.EntriesOfSelected(list));
  EXPECT_EQ(list.size(), 2u);
  manager_.SelectDeviceType(kType);
  EXPECT_TRUE(manager_.WirelessEntriesOfSelected(list));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].mode, ConnectionMode::kReceiver);
  manager_.SelectDeviceType(99);
  EXPECT_TRUE(manager_.EntriesOfSelected(list));
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(manager_.ActiveConnectionMode(), ConnectionMode::kNone);
}

TEST_F(ManagerTest, LinkNotificationsMoveTheReceiverOnlineState) {
  auto sim = std::make_shared<SimBackend>(Identity(), SimMode::kWireless);
  manager_.SetBackend(sim);
  KnowSimModel();
  Enumerate();
  manager_.SelectDeviceType(kType);
  sim->SetMouseOn(false);
  uint8_t buffer[65] = {};
  int type = 0;
  // The receiver is still the active interface, so the 0xC0 arrives there.
  EXPECT_TRUE(manager_.ReadNotification(buffer, type));
  EXPECT_EQ(buffer[0], 0xC0);
  manager_.SetOnlineState(kType, ConnectionMode::kReceiver, OnlineState::kOffline);
  EXPECT_EQ(manager_.ActiveDevice(), nullptr);
  sim->SetMouseOn(true);
  std::fill(buffer, buffer + 65, 0);
  EXPECT_FALSE(manager_.ReadNotification(buffer, type));  // receiver branch reports false
  EXPECT_EQ(buffer[0], 0xC0);
  EXPECT_EQ(type, kType);
  EXPECT_EQ(manager_.Entries()[0].online_state, OnlineState::kOnline);
  EXPECT_NE(manager_.ActiveDevice(), nullptr);
}

}  // namespace
}  // namespace corvane
