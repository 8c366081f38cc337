// corvane-cli against a local update server: `update check` for an offered and a
// not-offered update, and the firmware path (the firmware check, then the firmware install,
// as `task` arguments), which downloads the package, unpacks it, flashes the image into the
// simulated mouse and removes what it unpacked.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/cli_runner.h"
#include "support/temp_home.h"
#include "update_test_support.h"

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

constexpr size_t kImageBytes = 100;  // two full upgrade reports and a short one
constexpr size_t kUpgradeBlock = 16;

// Replaces the first `from` in the file at `path` with `to`.
bool ReplaceInFile(const fs::path& path, const std::string& from, const std::string& to) {
  std::string text = ReadFileBytes(path);
  const size_t at = text.find(from);
  if (at == std::string::npos) return false;
  text.replace(at, from.size(), to);
  return WriteFileBytes(path, text);
}

std::string Hex(const std::string& bytes) {
  std::string hex;
  char digits[3];
  for (unsigned char byte : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", byte);
    hex += digits;
  }
  return hex;
}

class UpdateEndToEndTest : public LocalServerTest {
 protected:
  void SetUp() override {
    LocalServerTest::SetUp();
    std::error_code ec;
    fs::copy(ShippedDataDir(), Program(), fs::copy_options::recursive, ec);
    ASSERT_FALSE(ec) << ec.message();
    ASSERT_TRUE(ReplaceInFile(Program() / "config.xml", "https://updates.corvane.example/software/",
                              Url("/sw/")));
    ASSERT_TRUE(ReplaceInFile(Program() / "device" / "kestrel_pro.xml",
                              "https://updates.corvane.example/firmware/kestrel_pro", Url("/fw")));
  }

  fs::path Program() const { return home_.Root() / "program"; }
  fs::path StateFile() const { return home_.Root() / "sim.state"; }
  fs::path Capture() const { return home_.Root() / "capture.txt"; }
  fs::path Temp() const { return home_.DataHome() / "Corvane Files" / "temp"; }

  void Serve(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(WriteFileBytes(Served() / path, bytes));
  }

  // Runs corvane-cli on the program copy with the simulated mouse (`simulate` mode).
  CliResult Cli(std::vector<std::string> args, const std::string& simulate = "--simulate") {
    std::vector<std::string> all = {"--program-dir", Program().string(), simulate, "--sim-state",
                                    StateFile().string(), "--capture", Capture().string()};
    all.insert(all.end(), args.begin(), args.end());
    return RunProgram(CORVANE_CLI_PATH, all);
  }

  // The value of `key` in the simulator's state file; "?" when the key is missing.
  std::string StateValue(const std::string& key) const {
    for (const std::string& line : Lines(StateFile())) {
      if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    }
    return "?";
  }

  static std::vector<std::string> Lines(const fs::path& file) {
    std::vector<std::string> lines;
    const std::string text = ReadFileBytes(file);
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      lines.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    return lines;
  }

  // The hex of every OUT line the capture logged for `path`.
  std::vector<std::string> Reports(const std::string& path) const {
    std::vector<std::string> reports;
    const std::string prefix = "OUT " + path + " ";
    for (const std::string& line : Lines(Capture())) {
      if (line.rfind(prefix, 0) == 0) reports.push_back(line.substr(line.rfind(' ') + 1));
    }
    return reports;
  }

  // Serves firmware version 106 with a package holding `image`.
  void ServeFirmware(const std::string& image) {
    Serve("fw/mouse/version", "106");
    ASSERT_TRUE(WriteZip(Served() / "fw/mouse/firmware-106.zip", {{"firmware-106.bin", image}}));
  }

  static std::string TestImage() {
    std::string image;
    for (size_t i = 0; i < kImageBytes; ++i) image += static_cast<char>((i * 7 + 3) & 0xFF);
    return image;
  }
};

TEST_F(UpdateEndToEndTest, CheckOffersNewerSoftwareAndFirmware) {
  Serve("sw/version", "1.0.10");  // config.xml says 1.0.0; parts compare as numbers
  Serve("fw/mouse/version", "106");  // the simulated mouse runs 105
  CliResult check = Cli({"update", "check", "--json"});
  ASSERT_EQ(check.exit_code, 0) << check.err;
  EXPECT_EQ(check.out,
            "{\"software\":{\"own\":\"1.0.0\",\"new\":\"1.0.10\",\"state\":1},"
            "\"firmware\":{\"own\":\"105\",\"new\":\"106\",\"state\":1}}\n");
}

TEST_F(UpdateEndToEndTest, CheckWithNothingNewerOffersNothing) {
  Serve("sw/version", "1.0.0\n");  // the line break is trimmed where the text is read
  Serve("fw/mouse/version", "104");
  CliResult check = Cli({"update", "check", "--json"});
  ASSERT_EQ(check.exit_code, 0) << check.err;
  EXPECT_EQ(check.out,
            "{\"software\":{\"own\":\"1.0.0\",\"new\":\"1.0.0\",\"state\":2},"
            "\"firmware\":{\"own\":\"105\",\"new\":\"104\",\"state\":2}}\n");

  // Nothing served: both sides are shown as not checked, and the failed checks fail the run.
  fs::remove(Served() / "sw/version");
  fs::remove(Served() / "fw/mouse/version");
  check = Cli({"update", "check"});
  EXPECT_EQ(check.exit_code, 1);
  EXPECT_EQ(check.out,
            "software: own 1.0.0, new (none): not checked\n"
            "firmware: own 105, new (none): not checked\n");
  EXPECT_NE(check.err.find("software version check failed"), std::string::npos) << check.err;
  EXPECT_NE(check.err.find("firmware version check failed"), std::string::npos) << check.err;
  EXPECT_NE(check.err.find("HTTP status 404"), std::string::npos) << check.err;
}

TEST_F(UpdateEndToEndTest, FirmwareUpdateFlashesTheSimulatedMouse) {
  const std::string image = TestImage();
  ServeFirmware(image);
  CliResult run =
      Cli({"task", TaskArg(WorkerTask::kFirmwareCheck), TaskArg(WorkerTask::kFirmwareInstall)});
  ASSERT_EQ(run.exit_code, 0) << run.err;

  // Stored as received: padded with 0xFF to whole 16-byte blocks.
  std::string padded = image;
  padded.resize((image.size() + kUpgradeBlock - 1) / kUpgradeBlock * kUpgradeBlock, '\xFF');
  EXPECT_EQ(StateValue("wired_upgrade_image"), Hex(padded));
  EXPECT_EQ(StateValue("receiver_upgrade_image"), "");

  const std::vector<std::string> reports = Reports("sim/wired/if3");
  ASSERT_EQ(reports.size(), 5u);  // start, three data reports, end
  EXPECT_EQ(reports.front().substr(0, 12), "0502020001FF");
  EXPECT_EQ(reports[1].substr(0, 8), "05023C00");
  EXPECT_EQ(reports[3].substr(0, 8), "05021400");  // the last 4 bytes in one block
  EXPECT_EQ(reports.back().substr(0, 12), "0502060002FF");

  // Neither the package nor the image is left behind.
  EXPECT_FALSE(fs::exists(Temp() / "firmware-106.zip"));
  EXPECT_FALSE(fs::exists(Temp() / "firmware-106.bin"));
}

TEST_F(UpdateEndToEndTest, FirmwareCheckAloneSendsNothingToTheMouse) {
  ServeFirmware(TestImage());
  CliResult run = Cli({"task", TaskArg(WorkerTask::kFirmwareCheck)}, "--simulate=wireless");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  // Behind the receiver the version comes only from a read-back: the check asks nothing.
  const std::vector<std::string> reports = Reports("sim/receiver/if2");
  for (const std::string& report : reports) EXPECT_NE(report.substr(2, 2), "20") << report;
}

TEST_F(UpdateEndToEndTest, FirmwareUpdateGoesThroughTheReceiverWhenThatIsAllThereIs) {
  ServeFirmware(TestImage());
  // Start-up reads the mouse back (its version included), then checks the firmware.
  CliResult run =
      Cli({"task", TaskArg(WorkerTask::kStartup), TaskArg(WorkerTask::kFirmwareInstall)},
          "--simulate=wireless");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(Reports("sim/receiver/if3").size(), 5u);
  EXPECT_EQ(StateValue("receiver_upgrade_image").size(), 2 * 112u);
}

TEST_F(UpdateEndToEndTest, FirmwareInstallWithoutACheckFlashesNothing) {
  ServeFirmware(TestImage());
  CliResult run =
      Cli({"task", TaskArg(WorkerTask::kFirmwareInstall)});  // no version known in this process
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("no newer firmware is known"), std::string::npos) << run.err;
  EXPECT_TRUE(Reports("sim/wired/if3").empty());
  EXPECT_EQ(StateValue("wired_upgrade_image"), "");
}

TEST_F(UpdateEndToEndTest, FailedUpdateJobsFailTheRunWithTheirReason) {
  Serve("fw/mouse/version", "106");  // offered, but the package is missing
  const std::string check = TaskArg(WorkerTask::kFirmwareCheck);
  const std::string install = TaskArg(WorkerTask::kFirmwareInstall);
  CliResult missing = Cli({"task", check, install});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.err.find("HTTP status 404"), std::string::npos) << missing.err;
  ASSERT_TRUE(WriteFileBytes(Served() / "fw/mouse/firmware-106.zip", "PK truncated"));
  CliResult truncated = Cli({"task", check, install});
  EXPECT_EQ(truncated.exit_code, 1);
  EXPECT_NE(truncated.err.find("not a readable zip archive"), std::string::npos) << truncated.err;
  EXPECT_TRUE(Reports("sim/wired/if3").empty());
  CliResult software = Cli({"task", TaskArg(WorkerTask::kSoftwareCheck)});
  EXPECT_EQ(software.exit_code, 1);
  EXPECT_NE(software.err.find("HTTP status 404"), std::string::npos) << software.err;
}

TEST_F(UpdateEndToEndTest, ATransferCutPartWayIsADeviceFailureAndKeepsTheOldFirmware) {
  std::string image(480, '\x5A');  // ten full data reports
  ServeFirmware(image);
  const std::string check = TaskArg(WorkerTask::kFirmwareCheck);
  const std::string install = TaskArg(WorkerTask::kFirmwareInstall);
  ASSERT_EQ(Cli({"task", check, install}).exit_code, 0);
  // Unplug the mouse after the start report and three data reports of the next run.
  size_t before = 0;
  for (const std::string& line : Lines(Capture())) {
    if (line.rfind("OUT sim/wired/if3 ", 0) == 0) break;
    if (line.rfind("OUT ", 0) == 0) ++before;
  }
  fs::remove(StateFile());
  fs::remove(Capture());
  const std::string knob = "wired:unplug_after_reports=" + std::to_string(before + 4);
  CliResult cut = Cli({"--sim-fault", knob, "task", check, install});
  EXPECT_EQ(cut.exit_code, 3) << cut.err;
  EXPECT_NE(cut.err.find("part-way"), std::string::npos) << cut.err;
  EXPECT_NE(cut.err.find("keeps its old firmware"), std::string::npos) << cut.err;
  EXPECT_EQ(StateValue("wired_upgrade_image"), "");
}

}  // namespace
}  // namespace corvane::test
