// UpdateJobs as the worker runs it: tasks 23, 24, 26 and 27 dispatched through DeviceJobs
// against a local server, with what reaches the window read from a RecordingDeviceView,
// and the mouse firmware version taken from the simulated mouse when none was read back.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/memory_key_value_store.h"
#include "catalogue/device_catalogue.h"
#include "device/device_manager.h"
#include "settings/device_state.h"
#include "sim/sim_backend.h"
#include "sim/sim_setup.h"
#include "store/settings_database.h"
#include "update_test_support.h"
#include "worker/device_jobs.h"
#include "worker/device_refresh.h"
#include "worker/model_context.h"
#include "worker/recording_device_view.h"
#include "worker/update_jobs.h"
#include "worker/worker_view.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;
using Lines = std::vector<std::string>;

constexpr int kKestrel = 11;  // shipped model with a firmware address
constexpr int kWren = 12;     // shipped model whose firmware address is empty

// The recorder's line for a posted window message, and its start without the parameters.
std::string PostedPrefix(WindowMessage message) {
  return "Post " + std::to_string(MessageNumber(message));
}
std::string Posted(WindowMessage message, int first, int second) {
  return PostedPrefix(message) + " " + std::to_string(first) + " " + std::to_string(second);
}

class CountingLauncher : public InstallerLauncher {
 public:
  bool Open(const fs::path& installer) override {
    opened.push_back(installer);
    return true;
  }
  void EndProcess() override { ++ended; }

  std::vector<fs::path> opened;
  int ended = 0;
};

// Replaces the first `from` in the file at `path` with `to`.
bool ReplaceInFile(const fs::path& path, const std::string& from, const std::string& to) {
  std::string text = ReadFileBytes(path);
  const size_t at = text.find(from);
  if (at == std::string::npos) return false;
  text.replace(at, from.size(), to);
  return WriteFileBytes(path, text);
}

class UpdateWorkerJobsTest : public test::LocalServerTest {
 protected:
  void SetUp() override {
    LocalServerTest::SetUp();
    ASSERT_TRUE(WriteProgramFolder());
    ASSERT_TRUE(catalogue_.Load(Program()));
    model_ = std::make_unique<ModelContext>(Program(), DataFolder(), catalogue_, store_, state_,
                                            [] { return std::string("Profile"); });
    view_ = std::make_unique<WorkerView>(recorder_, *model_, values_);
    jobs_ = std::make_unique<DeviceJobs>(manager_, *model_, *view_, Text);
    auto launcher = std::make_unique<CountingLauncher>();
    launcher_ = launcher.get();
    updates_ = std::make_unique<UpdateJobs>(
        recorder_, *model_, manager_, catalogue_.Software(), DataFolder(), Text,
        [this](const std::vector<std::uint8_t>& image, const UpdateJobs::UpgradeProgress& progress) {
          handed_.push_back(image);
          if (progress) progress(55);
          return transfer_ok_ ? std::string() : std::string("the transfer stopped part-way");
        },
        std::move(launcher));
    updates_->SetPauseScale(0);
    updates_->Register(*jobs_);
    ASSERT_TRUE(model_->LoadDefinition(kKestrel));
    recorder_.ClearCalls();
  }

  static std::string Text(int id) { return "T" + std::to_string(id); }
  fs::path Program() const { return home_.Root() / "program"; }
  fs::path DataFolder() const { return home_.DataHome() / "Corvane Files"; }

  // The shipped config.xml and definitions with both update addresses on the local server.
  bool WriteProgramFolder() {
    std::error_code ec;
    fs::create_directories(Program(), ec);
    fs::copy(test::ShippedDataDir() / "config.xml", Program(), ec);
    fs::copy(test::ShippedDataDir() / "device", Program() / "device", ec);
    return !ec &&
           ReplaceInFile(Program() / "config.xml", "https://updates.corvane.example/software/",
                         Url("/sw/")) &&
           ReplaceInFile(Program() / "device" / "kestrel_pro.xml",
                         "https://updates.corvane.example/firmware/kestrel_pro", Url("/fw"));
  }

  void Serve(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(WriteFileBytes(Served() / path, bytes));
  }

  // Serves firmware version 105 and its package holding `image`.
  void ServeFirmware(const std::string& image) {
    Serve("fw/mouse/version", "105");
    ASSERT_TRUE(test::WriteZip(Served() / "fw/mouse/firmware-105.zip", {{"firmware-105.bin", image}}));
  }

  // Plugs the simulated mouse in and enumerates without reading anything back.
  void PlugSim(SimMode mode, uint16_t firmware_version) {
    SimIdentity identity;
    std::string error;
    ASSERT_TRUE(SimIdentityFromCatalogue(catalogue_, "", identity, error)) << error;
    sim_ = std::make_shared<SimBackend>(identity, mode);
    SimState state = sim_->State();
    state.firmware_version = firmware_version;
    sim_->SetState(state);
    manager_.SetBackend(sim_);
    manager_.SetRetryDelay(std::chrono::milliseconds(0));
    values_.WriteDeviceType(identity.device_type);
    RefreshDevices(manager_, model_->KnownDevices(), *view_);
    ReenumerateDevices(manager_, *view_);
    recorder_.ClearCalls();
  }

  Lines UpdateCalls() const {
    Lines calls;
    for (const std::string& line : recorder_.Calls()) {
      if (line.find("Version") != std::string::npos ||
          line.find("UpdateButton") != std::string::npos ||
          line.rfind(PostedPrefix(WindowMessage::kUpdateAvailable), 0) == 0) {
        calls.push_back(line);
      }
    }
    return calls;
  }

  DeviceCatalogue catalogue_;
  SettingsDatabase store_;
  DeviceState state_;
  MemoryKeyValueStore values_;
  RecordingDeviceView recorder_;
  DeviceManager manager_;
  std::unique_ptr<ModelContext> model_;
  std::unique_ptr<WorkerView> view_;
  std::unique_ptr<DeviceJobs> jobs_;
  std::unique_ptr<UpdateJobs> updates_;
  CountingLauncher* launcher_ = nullptr;
  std::vector<std::vector<std::uint8_t>> handed_;
  bool transfer_ok_ = true;  // what the fake device-side transfer reports
  std::shared_ptr<SimBackend> sim_;
};

TEST_F(UpdateWorkerJobsTest, SoftwareCheckReachesTheWindowThroughTheView) {
  Serve("sw/version", "1.0.10");  // own version is 1.0.0
  ASSERT_TRUE(jobs_->Run(WorkerTask::kSoftwareCheck));
  EXPECT_EQ(UpdateCalls(),
            (Lines{"EnableSoftwareUpdateButton 1", "SetSoftwareVersionLabel T582: v1.0.10",
                   Posted(WindowMessage::kUpdateAvailable, 1, 1)}));
  EXPECT_EQ(updates_->Software().state, kUpdateAvailable);
  EXPECT_EQ(updates_->Software().new_version, "1.0.10");

  // The same version with a line break is no update; the button goes off again.
  Serve("sw/version", "1.0.0\n");
  recorder_.ClearCalls();
  jobs_->Run(WorkerTask::kSoftwareCheck);
  EXPECT_EQ(UpdateCalls(), (Lines{"SetSoftwareVersionLabel T580", "EnableSoftwareUpdateButton 0"}));
  EXPECT_EQ(updates_->Software().state, kUpdateUpToDate);

  // A failed fetch says so (never leaving "up to date" standing), keeps the check usable
  // and keeps the last state.
  fs::remove(Served() / "sw/version");
  recorder_.ClearCalls();
  jobs_->Run(WorkerTask::kSoftwareCheck);
  EXPECT_EQ(UpdateCalls(), (Lines{"SetSoftwareVersionLabel T584", "EnableSoftwareUpdateButton 1"}));
  EXPECT_EQ(updates_->Software().state, kUpdateUpToDate);
  EXPECT_TRUE(updates_->Software().failed);
}

TEST_F(UpdateWorkerJobsTest, FirmwareCheckComparesTheReadBackVersionWithTheModelsServer) {
  state_.SetMouseVersion("104");
  Serve("fw/mouse/version", "105");
  ASSERT_TRUE(jobs_->Run(WorkerTask::kFirmwareCheck));
  EXPECT_EQ(UpdateCalls(),
            (Lines{"SetFirmwareVersionLabel T582: V1.05", "EnableFirmwareUpdateButton 1",
                   Posted(WindowMessage::kUpdateAvailable, 2, 1)}));
  EXPECT_EQ(updates_->Firmware().new_version, "105");
  EXPECT_EQ(updates_->Firmware().state, kUpdateAvailable);

  // A model without a firmware address is never asked about, and the other model's new
  // version is not offered for it.
  ASSERT_TRUE(model_->LoadDefinition(kWren));
  recorder_.ClearCalls();
  EXPECT_EQ(updates_->CheckFirmware(), kUpdateAvailable);
  EXPECT_TRUE(recorder_.Calls().empty());
  EXPECT_EQ(updates_->Firmware().new_version, "");
  handed_.clear();
  EXPECT_FALSE(updates_->InstallFirmware());
  EXPECT_TRUE(handed_.empty());
}

TEST_F(UpdateWorkerJobsTest, MouseVersionIsAskedForOnlyOutsideTheCheck) {
  EXPECT_EQ(updates_->MouseFirmwareVersion(), "");  // no device at all

  PlugSim(SimMode::kWired, 0x0104);  // the wired release number
  EXPECT_EQ(updates_->MouseFirmwareVersion(), "104");
  EXPECT_EQ(state_.MouseVersion(), "104");

  state_.SetMouseVersion("");
  PlugSim(SimMode::kWireless, 0x0107);
  Serve("fw/mouse/version", "107");
  // The check itself asks the mouse nothing: without a read-back it has nothing to compare.
  EXPECT_EQ(updates_->CheckFirmware(), kUpdateNotChecked);
  EXPECT_EQ(state_.MouseVersion(), "");
  EXPECT_EQ(updates_->Firmware().new_version, "107");
  EXPECT_EQ(updates_->MouseFirmwareVersion(), "107");  // command 0x20 through the receiver
  EXPECT_EQ(updates_->CheckFirmware(), kUpdateUpToDate);
  EXPECT_TRUE(recorder_.Called("SetFirmwareVersionLabel T580"));
}

TEST_F(UpdateWorkerJobsTest, FirmwareInstallHandsTheImageOverAndClosesThePopUp) {
  state_.SetMouseVersion("104");
  ServeFirmware("IMAGE-BYTES");
  jobs_->Run(WorkerTask::kFirmwareCheck);
  recorder_.ClearCalls();
  ASSERT_TRUE(jobs_->Run(WorkerTask::kFirmwareInstall));

  ASSERT_EQ(handed_.size(), 1u);
  EXPECT_EQ(std::string(handed_[0].begin(), handed_[0].end()), "IMAGE-BYTES");
  EXPECT_EQ(recorder_.CallsStartingWith("SetUpgradeProgress"),
            (Lines{"SetUpgradeProgress 5 T590", "SetUpgradeProgress 7 T591", "SetUpgradeProgress 10 T591",
                   "SetUpgradeProgress 55 T592", "SetUpgradeProgress 100 T593"}));
  EXPECT_TRUE(recorder_.Called(Posted(WindowMessage::kDownloadProgress, 0, 100)));
  EXPECT_EQ(recorder_.Calls().back(), "CloseUpgradeProgress");
  EXPECT_FALSE(fs::exists(DataFolder() / "temp" / "firmware-105.bin"));
  EXPECT_FALSE(fs::exists(DataFolder() / "temp" / "firmware-105.zip"));
}

TEST_F(UpdateWorkerJobsTest, FailedTransferNeverShowsTheUpdateAsComplete) {
  state_.SetMouseVersion("104");
  ServeFirmware("IMAGE-BYTES");
  jobs_->Run(WorkerTask::kFirmwareCheck);
  transfer_ok_ = false;
  recorder_.ClearCalls();
  EXPECT_FALSE(updates_->InstallFirmware());
  EXPECT_EQ(handed_.size(), 1u);
  const Lines progress = recorder_.CallsStartingWith("SetUpgradeProgress");
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), "SetUpgradeProgress 55 T592");
  EXPECT_EQ(recorder_.Calls().back(), "CloseUpgradeProgress");
  // The job fails, as a device failure, and says what the transfer said.
  const std::optional<UpdateJobs::Failure> failure = updates_->TakeFailure();
  ASSERT_TRUE(failure.has_value());
  EXPECT_TRUE(failure->device);
  EXPECT_NE(failure->text.find("stopped part-way"), std::string::npos) << failure->text;

  // The next attempt that goes through shows completion again.
  transfer_ok_ = true;
  EXPECT_TRUE(updates_->InstallFirmware());
  EXPECT_TRUE(recorder_.Called("SetUpgradeProgress 100 T593"));
  EXPECT_FALSE(updates_->TakeFailure().has_value());
}

TEST_F(UpdateWorkerJobsTest, FailedDownloadsAndChecksAreReportedWithTheirReason) {
  jobs_->Run(WorkerTask::kSoftwareCheck);  // nothing served: 404
  std::optional<UpdateJobs::Failure> failure = updates_->TakeFailure();
  ASSERT_TRUE(failure.has_value());
  EXPECT_NE(failure->text.find("HTTP status 404"), std::string::npos) << failure->text;
  EXPECT_FALSE(failure->device);
  state_.SetMouseVersion("104");
  Serve("fw/mouse/version", "105");
  jobs_->Run(WorkerTask::kFirmwareCheck);
  EXPECT_FALSE(updates_->TakeFailure().has_value());
  jobs_->Run(WorkerTask::kFirmwareInstall);  // the package is missing
  failure = updates_->TakeFailure();
  ASSERT_TRUE(failure.has_value());
  EXPECT_NE(failure->text.find("firmware install failed"), std::string::npos) << failure->text;
  EXPECT_FALSE(failure->device);
  EXPECT_TRUE(handed_.empty());
}

TEST_F(UpdateWorkerJobsTest, FirmwareInstallWithoutACheckedVersionOnlyClosesThePopUp) {
  ServeFirmware("IMAGE-BYTES");
  EXPECT_FALSE(updates_->InstallFirmware());
  EXPECT_TRUE(handed_.empty());
  EXPECT_EQ(recorder_.Calls(), (Lines{"CloseUpgradeProgress"}));
}

TEST_F(UpdateWorkerJobsTest, SoftwareInstallStartsTheInstallerOfTheOfferedVersion) {
  Serve("sw/version", "1.0.3");
  ASSERT_TRUE(test::WriteZip(Served() / "sw/Mouse-Setup-1.0.3.zip",
                             {{"Mouse-Setup-1.0.3.exe", "#!/bin/sh\n"}}));
  jobs_->Run(WorkerTask::kSoftwareCheck);
  ASSERT_TRUE(jobs_->Run(WorkerTask::kSoftwareInstall));
  ASSERT_EQ(launcher_->opened.size(), 1u);
  EXPECT_EQ(launcher_->opened[0], DataFolder() / "temp" / "Mouse-Setup-1.0.3.exe");
  EXPECT_EQ(launcher_->ended, 1);
  EXPECT_TRUE(recorder_.Called(Posted(WindowMessage::kDownloadProgress, 0, 100)));
}

TEST_F(UpdateWorkerJobsTest, CancelledJobsLeaveEverythingAlone) {
  Serve("sw/version", "9.9.9");
  updates_->Cancel();
  jobs_->Run(WorkerTask::kSoftwareCheck);
  EXPECT_EQ(updates_->Software().state, kUpdateNotChecked);
  EXPECT_TRUE(UpdateCalls().empty());
}

}  // namespace
}  // namespace corvane
