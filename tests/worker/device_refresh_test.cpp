// The list rebuilds against the simulator: what the window is told and which model
// ends up selected.
#include "worker/device_refresh.h"

#include <gtest/gtest.h>

#include "device/device_manager.h"
#include "sim/sim_backend.h"
#include "worker/recording_device_view.h"
#include "support/test_identity.h"

namespace corvane {
namespace {

const std::vector<KnownDevice> kCatalogue = {{0x1209, 0x0001, 7, ConnectionMode::kWired, "C7A1"},
                                             {0x1209, 0x0002, 7, ConnectionMode::kReceiver, "C7B2"},
                                             {0x1209, 0x0003, 8, ConnectionMode::kWired, "WR12"}};

class RefreshTest : public ::testing::Test {
 protected:
  void Plug(SimMode mode) {
    sim_ = std::make_shared<SimBackend>(test::TestIdentity(), mode);
    manager_.SetBackend(sim_);
  }
  std::shared_ptr<SimBackend> sim_;
  DeviceManager manager_;
};

TEST_F(RefreshTest, RefreshLoadsCatalogueAndLeavesSelectionAlone) {
  Plug(SimMode::kBoth);
  RecordingDeviceView view(8);
  manager_.SelectDeviceType(8);
  EXPECT_TRUE(RefreshDevices(manager_, kCatalogue, view));
  EXPECT_TRUE(manager_.IsOpened());
  EXPECT_EQ(manager_.Entries().size(), 2u);
  EXPECT_EQ(manager_.SelectedDeviceType(), 8);
  EXPECT_EQ(view.Calls(), std::vector<std::string>{"LoadDefinition 8"});
}

TEST_F(RefreshTest, ReenumerateSelectsSavedModelAndShowsWired) {
  Plug(SimMode::kBoth);
  RefreshDevices(manager_, kCatalogue, *std::make_unique<RecordingDeviceView>());
  RecordingDeviceView view(7);
  EXPECT_TRUE(ReenumerateDevices(manager_, view));
  EXPECT_TRUE(view.Called("SetAllDeviceState 0"));
  EXPECT_TRUE(view.Called("SetDeviceState 7 0 1"));
  EXPECT_TRUE(view.Called("SetDeviceState 7 1 1"));
  EXPECT_EQ(manager_.SelectedDeviceType(), 7);
  EXPECT_EQ(view.SavedDeviceType(), 7);
  EXPECT_TRUE(view.Called("LoadDefinition 7"));
  EXPECT_EQ(view.ConnectionText(), kTextWired);
  EXPECT_TRUE(view.LinkFlag());
  EXPECT_TRUE(view.IdlePoll());
  const auto calls = view.Calls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], "HideSettingsPage");
  EXPECT_EQ(calls.back(), "ClosePopups");
}

TEST_F(RefreshTest, AbsentSavedModelFallsBackToTheListsChoice) {
  Plug(SimMode::kWireless);
  RefreshDevices(manager_, kCatalogue, *std::make_unique<RecordingDeviceView>());
  RecordingDeviceView view(101);  // what the window writes at every start
  ReenumerateDevices(manager_, view);
  EXPECT_EQ(manager_.SelectedDeviceType(), 7);
  EXPECT_EQ(view.SavedDeviceType(), 7);
  EXPECT_EQ(view.ConnectionText(), kTextWireless);
  EXPECT_NE(manager_.ActiveDevice(), nullptr);
}

TEST_F(RefreshTest, NothingPluggedShowsNoDevice) {
  Plug(SimMode::kWired);
  sim_->Unplug(SimLink::kWired);
  RefreshDevices(manager_, kCatalogue, *std::make_unique<RecordingDeviceView>());
  RecordingDeviceView view(7);
  EXPECT_FALSE(ReenumerateDevices(manager_, view));
  EXPECT_EQ(view.ConnectionText(), kTextNoDevice);
  EXPECT_FALSE(view.IdlePoll());
  EXPECT_FALSE(view.LinkFlag());
  EXPECT_TRUE(view.CallsStartingWith("SetDeviceState").empty());
  EXPECT_TRUE(view.CallsStartingWith("LoadDefinition").empty());
  EXPECT_EQ(view.SavedDeviceType(), 7);  // kept for when it comes back
}

}  // namespace
}  // namespace corvane
