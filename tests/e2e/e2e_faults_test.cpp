// The command line under faults: hostile files, a locked store, and the simulator's fault
// knobs set with --sim-fault. A failure must be reported as one, never as success.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "store/sqlite_db.h"

namespace corvane::test {
namespace {

namespace fs = std::filesystem;
using FaultsEndToEndTest = CliEndToEndTest;
constexpr int kDeviceFailedCode = 3;  // as --help documents

// The "firmware: N%" lines of a run's stderr, as numbers in order.
std::vector<int> ProgressLines(const std::string& err) {
  std::vector<int> percents;
  size_t at = 0;
  while ((at = err.find("firmware: ", at)) != std::string::npos) {
    at += 10;
    percents.push_back(std::stoi(err.substr(at)));
  }
  return percents;
}

TEST_F(FaultsEndToEndTest, FirmwareImagesAreReadBoundedAndProgressIsPrintedOncePerPercent) {
  const auto start = std::chrono::steady_clock::now();
  CliResult endless = Cli({"firmware", "flash", "/dev/zero"});
  EXPECT_NE(endless.exit_code, 0);
  EXPECT_NE(endless.err.find("at most"), std::string::npos) << endless.err;
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));

  const fs::path image = home_.Root() / "image.bin";
  ASSERT_TRUE(WriteFileBytes(image, std::string(200 * 1024, '\x5A')));
  CliResult flashed = Cli({"firmware", "flash", image.string()});
  ASSERT_EQ(flashed.exit_code, 0) << flashed.err;
  const std::vector<int> percents = ProgressLines(flashed.err);
  ASSERT_FALSE(percents.empty());
  EXPECT_LE(percents.size(), 101u);
  for (size_t i = 1; i < percents.size(); ++i) EXPECT_GT(percents[i], percents[i - 1]);
  EXPECT_EQ(percents.back(), 100);
}

TEST_F(FaultsEndToEndTest, AFlashTheMouseBreaksOffIsADeviceFailure) {
  const fs::path image = home_.Root() / "image.bin";
  ASSERT_TRUE(WriteFileBytes(image, std::string(48 * 40, '\x5A')));
  // Count the reports before the upgrade starts, then unplug part-way through the next flash.
  ASSERT_EQ(Cli({"--simulate=wired", "firmware", "flash", image.string()}).exit_code, 0);
  size_t before = 0;
  const std::string text = ReadFileBytes(Capture());
  for (size_t at = 0; (at = text.find("OUT ", at)) != std::string::npos; ++at) {
    if (text.compare(at, 18, "OUT sim/wired/if3 ") == 0) break;
    ++before;
  }
  const std::string knob = "wired:unplug_after_reports=" + std::to_string(before + 5);
  CliResult cut = Cli({"--simulate=wired", "--sim-fault", knob, "firmware", "flash", image.string()});
  EXPECT_EQ(cut.exit_code, kDeviceFailedCode) << cut.err;
  EXPECT_NE(cut.err.find("keeps its old firmware"), std::string::npos) << cut.err;
}

TEST_F(FaultsEndToEndTest, APartialReadBackNamesTheValuesItCouldNotRead) {
  ASSERT_EQ(Cli({"--simulate=wired", "readback"}).exit_code, 0);
  // The reports a whole read-back sends before it asks for the DPI stages (0x13).
  size_t before = 0;
  const std::string text = ReadFileBytes(Capture());
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    if (line.rfind("OUT ", 0) != 0) continue;
    if (line.substr(line.rfind(' ') + 1).compare(2, 2, "13") == 0) break;
    ++before;
  }
  const std::string knob = "wired:unplug_after_reports=" + std::to_string(before + 1);
  CliResult partial = Cli({"--simulate=wired", "--sim-fault", knob, "readback"});
  EXPECT_EQ(partial.exit_code, kDeviceFailedCode) << partial.err;
  EXPECT_NE(partial.err.find("the mouse did not answer command 0x13 (DPI stages)"),
            std::string::npos)
      << partial.err;
  EXPECT_NE(partial.err.find("not read: DPI stages"), std::string::npos) << partial.err;
}

TEST_F(FaultsEndToEndTest, DataFoldersAndFilesArePrivateAndAStateFileKeepsItsMode) {
  const mode_t old_mask = ::umask(022);
  const fs::path state = home_.Root() / "sim.state";
  ASSERT_TRUE(WriteFileBytes(state, "report_rate=2\n"));
  ASSERT_EQ(::chmod(state.c_str(), 0600), 0);
  fs::remove_all(home_.DataHome());  // the base folder is made as well
  CliResult run = Cli({"--sim-state", state.string(), "get", "dpi_count"});
  ::umask(old_mask);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  auto mode = [](const fs::path& path) {
    struct stat seen {};
    return ::stat(path.c_str(), &seen) == 0 ? (seen.st_mode & 07777) : 01000u;
  };
  EXPECT_EQ(mode(state), 0600u) << "the state save widened the file";
  EXPECT_EQ(mode(home_.DataHome()), 0700u);
  const fs::path data = home_.DataHome() / "Corvane Files";
  EXPECT_EQ(mode(data), 0700u);
  EXPECT_EQ(mode(data / "db"), 0700u);
  size_t databases = 0;
  for (const auto& entry : fs::directory_iterator(data / "db")) {
    EXPECT_EQ(mode(entry.path()), 0600u) << entry.path();
    ++databases;
  }
  EXPECT_GT(databases, 0u);
}

TEST_F(FaultsEndToEndTest, SimulatorStateFileIsSavedThroughLinksAndAFailedSaveIsReported) {
  const fs::path real = home_.Root() / "real.state";
  const fs::path link = home_.Root() / "link.state";
  ASSERT_TRUE(WriteFileBytes(real, "report_rate=2\n"));
  fs::create_symlink(real, link);
  CliResult linked = Cli({"--sim-state", link.string(), "get", "dpi_count"});
  EXPECT_EQ(linked.exit_code, 0) << linked.err;
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link))) << "the link must not be replaced";
  EXPECT_NE(ReadFileBytes(real).find("report_rate=2\n"), std::string::npos);

  const fs::path missing = home_.Root() / "missing" / "sim.state";
  CliResult lost = Cli({"--sim-state", missing.string(), "get", "dpi_count"});
  EXPECT_NE(lost.exit_code, 0) << "the state was not saved";
  EXPECT_NE(lost.err.find("not saved"), std::string::npos) << lost.err;
}

TEST_F(FaultsEndToEndTest, SimFaultSettingsAreCheckedBeforeTheRun) {
  for (const char* bad : {"wired:no_such_knob=1", "mouse:drop_replies=1", "wired:drop_replies=x",
                          "wired:forced_status=256", "drop_replies=1"}) {
    CliResult run = Cli({"--sim-fault", bad, "get", "dpi_count"});
    EXPECT_NE(run.exit_code, 0) << bad;
    EXPECT_NE(run.err.find("--sim-fault"), std::string::npos) << bad << ": " << run.err;
  }
  CliResult fine = Cli({"--sim-fault", "receiver:reply_delay_ms=5",
                        "--sim-fault=wired:drop_replies=0", "get", "dpi_count"});
  EXPECT_EQ(fine.exit_code, 0) << fine.err;
}


TEST_F(FaultsEndToEndTest, CommandsTheMouseRefusesFailTheRunAndKeepTheStoredValues) {
  CliResult help = Cli({"--help"});
  std::string help_words;  // the text as one line, however it was wrapped
  for (char c : help.out) {
    const bool space = c == ' ' || c == '\n';
    if (!space || (!help_words.empty() && help_words.back() != ' ')) help_words += space ? ' ' : c;
  }
  EXPECT_NE(help_words.find("3 when the mouse refused a command or did not answer"),
            std::string::npos)
      << help.out;
  // The mouse switched off behind its receiver: the receiver refuses every command for it.
  const fs::path off = home_.Root() / "off.state";
  ASSERT_TRUE(WriteFileBytes(off, "mouse_on=0\n"));
  const std::vector<std::string> wireless = {"--simulate=wireless", "--sim-state", off.string()};
  auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), wireless.begin(), wireless.end());
    return Cli(args);
  };
  ASSERT_EQ(run({"set", "--store-only", "report_rate", "4"}).exit_code, 0);
  // Sent, it meets the refusal like any other job, and the store keeps the value.
  EXPECT_EQ(run({"set", "report_rate", "4"}).exit_code, kDeviceFailedCode);
  const std::vector<std::vector<std::string>> refused = {{"task", "11"},
                                                         {"light", "1"},
                                                         {"button", "1", "1", "2"},
                                                         {"buttons", "reset"},
                                                         {"readback"}};
  for (const auto& command : refused) {
    CliResult result = run(command);
    EXPECT_EQ(result.exit_code, kDeviceFailedCode) << command[0] << ": " << result.err;
    EXPECT_NE(result.err.find("mouse"), std::string::npos) << command[0] << ": " << result.err;
  }
  EXPECT_NE(run({"task", "11"}).err.find("refused command 0x02"), std::string::npos);
  CliResult kept = run({"get", "report_rate"});
  EXPECT_EQ(kept.out, "4\n") << "the store keeps what the user set";
  CliResult activated = run({"profile", "activate", "2"});
  EXPECT_EQ(activated.exit_code, kDeviceFailedCode) << activated.err;
  CliResult listed = run({"profiles", "--json"});
  EXPECT_NE(listed.out.find("{\"id\":2,"), std::string::npos);
  EXPECT_NE(listed.out.find("\"active\":true}"), std::string::npos) << "the switch is stored";
}

TEST_F(FaultsEndToEndTest, AChangeTheMouseMissedReachesItAtTheNextRunNotReadOver) {
  const fs::path off = home_.Root() / "off.state";
  const fs::path on = home_.Root() / "on.state";
  ASSERT_TRUE(WriteFileBytes(off, "mouse_on=0\n"));
  ASSERT_TRUE(WriteFileBytes(on, "mouse_on=1\n"));
  ASSERT_EQ(Cli({"--simulate=wireless", "--sim-state", on.string(), "get", "report_rate"}).out,
            "1\n");
  EXPECT_EQ(Cli({"--simulate=wireless", "--sim-state", off.string(), "set", "report_rate", "4"})
                .exit_code,
            kDeviceFailedCode);
  // A run of another model, in step, leaves this model's debt alone.
  ASSERT_EQ(Cli({"--simulate=wired", "--sim-model", "12", "get", "report_rate"}).exit_code, 0);
  // The mouse is back on with its old rate: the start-up read-back must not put that over
  // the newer stored one, and the rate it missed goes to it.
  const size_t before = Outs("02").size();
  CliResult back = Cli({"--simulate=wireless", "--sim-state", on.string(), "readback"});
  EXPECT_EQ(back.exit_code, 0) << back.err;
  const auto sent = Outs("02");
  ASSERT_GT(sent.size(), before) << "the missed rate was not sent";
  EXPECT_EQ(sent.back().second.substr(10, 2), "04");
  EXPECT_EQ(Cli({"--simulate=wireless", "--sim-state", on.string(), "get", "report_rate"}).out,
            "4\n");
  const size_t settled = Outs("02").size();
  Cli({"--simulate=wireless", "--sim-state", on.string(), "readback"});
  EXPECT_EQ(Outs("02").size(), settled) << "once taken it is not owed again";
}

TEST_F(FaultsEndToEndTest, UnplugPartWayAndForcedErrorsFailTheRunQuickly) {
  CliResult unplugged =
      Cli({"--simulate=wired", "--sim-fault", "wired:unplug_after_reports=3", "task", "5"});
  EXPECT_EQ(unplugged.exit_code, kDeviceFailedCode) << unplugged.err;

  // Forced error statuses from start-up: the mouse is not even identified, so nothing can
  // be sent to it; the saved model is still edited offline but the run says so, at once.
  ASSERT_EQ(Cli({"--simulate=wired", "get", "dpi_count"}).exit_code, 0);
  const auto start = std::chrono::steady_clock::now();
  CliResult forced = Cli({"--simulate=wired", "--sim-fault", "wired:forced_status=5", "task", "9",
                          "10", "11", "12", "13"});
  EXPECT_EQ(forced.exit_code, kDeviceFailedCode) << forced.err;
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  size_t messages = 0;
  for (size_t at = 0; (at = forced.err.find("corvane-cli:", at)) != std::string::npos; ++at)
    ++messages;
  EXPECT_EQ(messages, 1u) << "one message names every failed command: " << forced.err;
}

TEST_F(FaultsEndToEndTest, LockedSettingsDatabaseIsReportedAsBusy) {
  ASSERT_EQ(Cli({"get", "dpi_count"}).exit_code, 0);
  fs::path db;
  for (const auto& entry : fs::recursive_directory_iterator(home_.DataHome())) {
    if (entry.path().extension() == ".db") db = entry.path();
  }
  ASSERT_FALSE(db.empty());
  SQLiteDB other;
  ASSERT_TRUE(other.Open(db.string(), "", SQLiteDB::kOpenReadWrite));
  ASSERT_EQ(other.Execute("BEGIN EXCLUSIVE"), 0);
  CliResult blocked = Cli({"get", "dpi_count"});
  EXPECT_NE(blocked.exit_code, 0);
  EXPECT_NE(blocked.err.find("busy"), std::string::npos) << blocked.err;
  EXPECT_EQ(blocked.err.find("no model selected"), std::string::npos) << blocked.err;
  other.Execute("COMMIT");
}

}  // namespace
}  // namespace corvane::test
