// The worker's update jobs against a local server: version checks (tasks 23 and 24),
// software install (task 26) and firmware hand-over (task 27), plus the Linux launcher.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/temp_home.h"
#include "update/http_transfer.h"
#include "update/linux_installer_launcher.h"
#include "update/update_install.h"
#include "update/version_check.h"
#include "update_test_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;
using Events = std::vector<std::string>;

class RecordingLauncher : public InstallerLauncher {
 public:
  explicit RecordingLauncher(bool starts) : starts_(starts) {}
  bool Open(const fs::path& installer) override {
    opened.push_back(installer);
    return starts_;
  }
  void EndProcess() override { ++ended; }

  std::vector<fs::path> opened;
  int ended = 0;

 private:
  bool starts_;
};

class UpdateJobsTest : public test::LocalServerTest {
 protected:
  fs::path DataFolder() const { return home_.DataHome() / "Corvane Files"; }
  fs::path Temp() const { return DataFolder() / "temp"; }
  std::string SoftwareUrl() const { return Url("/sw/"); }
  std::string FirmwareUrl() const { return Url("/fw"); }

  // Runs task 27 for version 105 with a transfer that records the image it gets.
  bool RunFirmwareJob() {
    const FirmwareTransfer send = [this](const std::vector<std::uint8_t>& image) {
      handed_.push_back(image);
      return true;
    };
    return InstallFirmwareUpdate(transfer_, view_, send, DataFolder(), FirmwareUrl(), "105");
  }

  HttpTransfer transfer_;
  test::RecordingView view_;
  std::vector<std::vector<std::uint8_t>> handed_;
};

struct SoftwareCase {
  const char* served;
  const char* own;
  int state;
  Events events;
};

TEST_F(UpdateJobsTest, SoftwareCheckOffersOnlyNewerOrDifferentlyShapedVersions) {
  const std::vector<SoftwareCase> cases = {
      {"1.0.10",
       "1.0.2",
       kUpdateAvailable,
       {"software button on", "software label T582: v1.0.10", "update available 1"}},
      {"1.0.2\n", "1.0.2", kUpdateUpToDate, {"software label T580", "software button off"}},
      {"1.1",
       "1.0.2",
       kUpdateAvailable,
       {"software button on", "software label T582: v1.1", "update available 1"}},
      {"1.0.9", "1.1.0", kUpdateUpToDate, {"software label T580", "software button off"}},
  };
  for (const SoftwareCase& c : cases) {
    ASSERT_TRUE(WriteFileBytes(Served() / "sw" / "version", c.served));
    test::RecordingView view;
    VersionCheckState software;
    EXPECT_EQ(CheckSoftwareVersion(transfer_, view, c.own, SoftwareUrl(), software), c.state)
        << c.served;
    EXPECT_EQ(software.new_version, TrimVersionText(c.served));
    EXPECT_EQ(view.Events(), c.events) << c.served;
  }
}

TEST_F(UpdateJobsTest, SoftwareCheckWithoutUsableAnswerSaysItFailedAndKeepsTheState) {
  VersionCheckState software{"old", kUpdateUpToDate};
  ASSERT_TRUE(WriteFileBytes(Served() / "sw" / "version", "1.0.100000"));  // 10 characters: taken
  EXPECT_EQ(CheckSoftwareVersion(transfer_, view_, "", SoftwareUrl(), software), kUpdateUpToDate);
  EXPECT_EQ(software.new_version, "1.0.100000");
  EXPECT_FALSE(software.failed);
  EXPECT_EQ(view_.Events(), Events{}) << "an answer without an own version to compare: no word";
  ASSERT_TRUE(WriteFileBytes(Served() / "sw" / "version", "1.0.1000000"));  // 11: ignored
  EXPECT_EQ(CheckSoftwareVersion(transfer_, view_, "1.0.2", SoftwareUrl(), software),
            kUpdateUpToDate);
  EXPECT_EQ(software.new_version, "");
  CheckSoftwareVersion(transfer_, view_, "1.0.2", RawUrl("/_status/404/"), software);
  EXPECT_EQ(software.new_version, "");
  // Short answers that are not digits and points would compare as "newer"; they are refused.
  for (const char* served : {"<html>", "v1.0.3", "1.0.3 beta", "...", "1.0\n2"}) {
    ASSERT_TRUE(WriteFileBytes(Served() / "sw" / "version", served));
    EXPECT_EQ(CheckSoftwareVersion(transfer_, view_, "1.0.2", SoftwareUrl(), software),
              kUpdateUpToDate)
        << served;
    EXPECT_EQ(software.new_version, "") << served;
  }
  EXPECT_TRUE(software.failed);
  // Each failed check says so (never "up to date") and leaves the check button usable.
  Events failed;
  for (int i = 0; i < 7; ++i) failed.insert(failed.end(), {"software label T584", "software button on"});
  EXPECT_EQ(view_.Events(), failed);
  EXPECT_EQ(SoftwareCheckLabel(software, "T582", "T580", "T584"), "T584");
  software.failed = false;
  EXPECT_EQ(SoftwareCheckLabel(software, "T582", "T580", "T584"), "T580");
  EXPECT_EQ(SoftwareCheckLabel(VersionCheckState{}, "T582", "T580", "T584"), "")
      << "no check yet is not \"up to date\"";
}

TEST_F(UpdateJobsTest, FirmwareCheckShowsTheShortFormAndIgnoresLongAnswers) {
  ASSERT_TRUE(WriteFileBytes(Served() / "fw" / "mouse" / "version", "105"));
  VersionCheckState firmware;
  EXPECT_EQ(CheckFirmwareVersion(transfer_, view_, "104", FirmwareUrl(), firmware),
            kUpdateAvailable);
  EXPECT_EQ(view_.Events(),
            (Events{"firmware label T582: V1.05", "firmware button on", "update available 2"}));

  test::RecordingView same;
  EXPECT_EQ(CheckFirmwareVersion(transfer_, same, "105", FirmwareUrl(), firmware), kUpdateUpToDate);
  EXPECT_EQ(same.Events(), (Events{"firmware label T580", "firmware button off"}));

  ASSERT_TRUE(WriteFileBytes(Served() / "fw" / "mouse" / "version", "1000000000"));
  test::RecordingView ignored;
  EXPECT_EQ(CheckFirmwareVersion(transfer_, ignored, "104", FirmwareUrl(), firmware),
            kUpdateUpToDate);
  EXPECT_EQ(firmware.new_version, "");
  EXPECT_TRUE(firmware.failed);
  EXPECT_EQ(ignored.Events(), Events{"firmware label T584"});
  EXPECT_EQ(FirmwareCheckLabel(firmware, "T582", "T580", "T584"), "T584");
}

TEST_F(UpdateJobsTest, FirmwarePackageIsUnpackedHandedOverAndCleanedUp) {
  std::string image(1000, '\0');
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 13 + 1);
  ASSERT_TRUE(test::WriteZip(Served() / "fw" / "mouse" / "firmware-105.zip",
                             {{"firmware-105.bin", image}, {"readme.txt", "notes"}}));
  EXPECT_TRUE(RunFirmwareJob());
  ASSERT_EQ(handed_.size(), 1u);
  EXPECT_EQ(std::string(handed_[0].begin(), handed_[0].end()), image);
  EXPECT_FALSE(fs::exists(Temp() / "firmware-105.bin"));
  EXPECT_FALSE(fs::exists(Temp() / "firmware-105.zip"));
  EXPECT_FALSE(fs::exists(Temp() / "readme.txt")) << "the unpack is removed once used";
  using Step = std::pair<int, std::string>;
  EXPECT_EQ(view_.FirmwareProgress(),
            (std::vector<Step>{{5, "T590"}, {7, "T591"}, {10, "T591"}, {100, "T593"}}));
  EXPECT_EQ(view_.Progress().back(), 100);
}

TEST_F(UpdateJobsTest, FirmwareJobStopsQuietlyWithoutAUsableImage) {
  // Missing package on the server: nothing but the first step.
  EXPECT_FALSE(RunFirmwareJob());
  EXPECT_EQ(view_.FirmwareProgress().size(), 1u);
  EXPECT_FALSE(fs::exists(Temp() / "firmware-105.zip"));

  // Package without the image: unpacked and removed, nothing handed over.
  ASSERT_TRUE(test::WriteZip(Served() / "fw" / "mouse" / "firmware-105.zip", {{"other.bin", "x"}}));
  EXPECT_FALSE(RunFirmwareJob());
  EXPECT_FALSE(fs::exists(Temp() / "firmware-105.zip"));

  // Empty image: not handed over, and removed with the rest of the unpack.
  ASSERT_TRUE(
      test::WriteZip(Served() / "fw" / "mouse" / "firmware-105.zip", {{"firmware-105.bin", ""}}));
  EXPECT_FALSE(RunFirmwareJob());
  EXPECT_FALSE(fs::exists(Temp() / "firmware-105.bin"));
  EXPECT_TRUE(handed_.empty());
  EXPECT_NE(view_.FirmwareProgress().back().first, 100);
}

TEST_F(UpdateJobsTest, HostilePackageOrVersionWritesNothingOutsideTheTemporaryFolder) {
  ASSERT_TRUE(test::WriteZip(Served() / "fw" / "mouse" / "firmware-105.zip",
                             {{"../../escaped.bin", "x"}, {"firmware-105.bin", "image"}}));
  EXPECT_TRUE(RunFirmwareJob());
  EXPECT_FALSE(fs::exists(home_.DataHome() / "escaped.bin"));
  EXPECT_FALSE(fs::exists(DataFolder() / "escaped.bin"));
  ASSERT_EQ(handed_.size(), 1u);

  const FirmwareTransfer send = [this](const std::vector<std::uint8_t>& image) {
    handed_.push_back(image);
    return true;
  };
  EXPECT_FALSE(InstallFirmwareUpdate(transfer_, view_, send, DataFolder(), FirmwareUrl(), "/../x"));
  RecordingLauncher launcher(true);
  EXPECT_FALSE(
      InstallSoftwareUpdate(transfer_, view_, launcher, DataFolder(), SoftwareUrl(), "..\\x"));
  EXPECT_EQ(handed_.size(), 1u);
  EXPECT_TRUE(launcher.opened.empty());
}

TEST_F(UpdateJobsTest, SoftwareInstallerIsStartedAndTheProcessEnded) {
  ASSERT_TRUE(test::WriteZip(Served() / "sw" / "Mouse-Setup-1.0.3.zip",
                             {{"Mouse-Setup-1.0.3.exe", "MZ installer"}}));
  ASSERT_TRUE(WriteFileBytes(Temp() / "Mouse-Setup-1.0.3.zip", "an earlier attempt"));
  RecordingLauncher launcher(true);
  EXPECT_TRUE(InstallSoftwareUpdate(transfer_, view_, launcher, DataFolder(), Url("/sw"), "1.0.3"));
  EXPECT_EQ(launcher.opened, std::vector<fs::path>{Temp() / "Mouse-Setup-1.0.3.exe"});
  EXPECT_EQ(launcher.ended, 1);
  EXPECT_FALSE(fs::exists(Temp() / "Mouse-Setup-1.0.3.zip"));
  EXPECT_EQ(view_.Progress().back(), 100);

  // An installer that cannot be started must not end the program.
  RecordingLauncher failing(false);
  EXPECT_FALSE(InstallSoftwareUpdate(transfer_, view_, failing, DataFolder(), Url("/sw"), "1.0.3"));
  EXPECT_EQ(failing.opened.size(), 1u);
  EXPECT_EQ(failing.ended, 0);
}

TEST_F(UpdateJobsTest, DebianPackageInTheSoftwarePackageGoesToThePackageInstaller) {
  ASSERT_TRUE(test::WriteZip(
      Served() / "sw" / "Mouse-Setup-1.0.3.zip",
      {{"Mouse-Setup-1.0.3.exe", "MZ installer"}, {"Mouse-Setup-1.0.3.deb", "!<arch>\n"}}));
  RecordingLauncher launcher(true);
  EXPECT_TRUE(InstallSoftwareUpdate(transfer_, view_, launcher, DataFolder(), Url("/sw"), "1.0.3"));
  EXPECT_EQ(launcher.opened, std::vector<fs::path>{Temp() / "Mouse-Setup-1.0.3.deb"});
  EXPECT_EQ(launcher.ended, 1);
  // Unpacked without an executable bit, so the launcher opens it rather than running it.
  EXPECT_NE(access((Temp() / "Mouse-Setup-1.0.3.deb").c_str(), X_OK), 0);
}

TEST_F(UpdateJobsTest, SoftwarePackageWithoutInstallerDoesNothingMore) {
  ASSERT_TRUE(test::WriteZip(Served() / "sw" / "Mouse-Setup-1.0.3.zip", {{"readme.txt", "x"}}));
  RecordingLauncher launcher(true);
  EXPECT_FALSE(
      InstallSoftwareUpdate(transfer_, view_, launcher, DataFolder(), Url("/sw"), "1.0.3"));
  EXPECT_TRUE(launcher.opened.empty());
  EXPECT_EQ(launcher.ended, 0);
  EXPECT_FALSE(fs::exists(Temp() / "readme.txt")) << "a refused unpack is removed";
}

TEST(LinuxInstallerLauncherTest, StartsAnExecutableInstaller) {
  test::TempHome home;
  const fs::path marker = home.Root() / "installer-ran";
  const fs::path installer = home.Root() / "Mouse-Setup-1.0.3.exe";
  ASSERT_TRUE(WriteFileBytes(installer, "#!/bin/sh\ntouch '" + marker.string() + "'\n"));
  ASSERT_EQ(chmod(installer.c_str(), 0755), 0);
  LinuxInstallerLauncher launcher;
  ASSERT_TRUE(launcher.Open(installer));
  const auto start = std::chrono::steady_clock::now();
  while (!fs::exists(marker) &&
         std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(fs::exists(marker));
}

}  // namespace
}  // namespace corvane
