// A setting changed from the command line reaches the simulated mouse as exact bytes
// and is still there when the next process starts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "cli_fixture.h"

namespace corvane::test {
namespace {

using SettingsEndToEndTest = CliEndToEndTest;

TEST_F(SettingsEndToEndTest, DpiStagesTravelAsExactBytesAndSurviveARestart) {
  ASSERT_EQ(Cli({"set", "dpi_count", "6"}).exit_code, 0);
  ASSERT_EQ(Cli({"set", "dpi_index", "2"}).exit_code, 0);
  const char* values[] = {"800", "1600", "2400", "3200", "6400", "30000"};
  for (int i = 0; i < 6; ++i) {
    ASSERT_EQ(Cli({"set", "dpi_group" + std::to_string(i) + "_value", values[i]}).exit_code, 0);
  }
  CliResult sent = Cli({"task", TaskArg(WorkerTask::kDpiStageValues)});
  ASSERT_EQ(sent.exit_code, 0) << sent.err;
  // Sensor 53 (the simulator's): codes are DPI / 100, 30000 is held at 16000.
  EXPECT_EQ(LastOut("03"), "0003000125260800080010001000180018002000200040004000A000A000000086");

  CliResult read = Cli({"get", "dpi_group5_value"});
  EXPECT_EQ(read.exit_code, 0);
  EXPECT_EQ(read.out, "30000\n");  // the store keeps what the user typed; only the mouse is clamped
}

TEST_F(SettingsEndToEndTest, ProfilesSwitchAndUploadTheWholeProfile) {
  CliResult list = Cli({"profiles", "--json"});
  ASSERT_EQ(list.exit_code, 0) << list.err;
  EXPECT_NE(list.out.find("\"id\":1,"), std::string::npos);
  EXPECT_NE(list.out.find("\"active\":true"), std::string::npos);
  ASSERT_EQ(Cli({"profile", "rename", "2", "Зима <&>"}).exit_code, 0);
  ASSERT_EQ(Cli({"profile", "activate", "2"}).exit_code, 0);
  for (const char* command : {"09", "03", "04", "02", "06", "07"}) {
    EXPECT_FALSE(LastOut(command).empty()) << "command " << command << " was not sent";
  }
  list = Cli({"profiles", "--json"});
  EXPECT_NE(list.out.find("{\"id\":2,\"name\":\"Зима <&>\",\"active\":true}"), std::string::npos)
      << list.out;
}

TEST_F(SettingsEndToEndTest, SetKeepsThePagesRangesAndSendsWhatItChanges) {
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"dpi_count", "100"}, {"dpi_count", "0"},   {"dpi_index", "6"},
      {"report_rate", "999"}, {"report_rate", "3"}, {"dpi_group0_value", "-800"},
      {"button_respondtime", "21"}, {"dpi_group0_rgb", "16777216"}};
  for (const auto& [key, value] : refused) {
    CliResult result = Cli({"set", key, value});
    EXPECT_NE(result.exit_code, 0) << key << " " << value;
    EXPECT_NE(result.err.find(key + " must be"), std::string::npos) << result.err;
    EXPECT_NE(Cli({"get", key}).out, value + "\n") << key << " was stored";
  }
  EXPECT_TRUE(Outs("03").empty() && Outs("02").empty()) << "nothing refused was sent";

  // Each key goes out with the job its page posts; --store-only keeps it to the store.
  const std::vector<std::tuple<std::string, std::string, std::string>> sent = {
      {"dpi_group0_value", "1200", "03"}, {"dpi_count", "4", "03"}, {"dpi_group1_rgb", "65280", "04"},
      {"report_rate", "4", "02"},         {"liftoff_height", "2", "06"}, {"sleep_light", "6", "07"}};
  for (const auto& [key, value, command] : sent) {
    const size_t before = Outs(command).size();
    CliResult stored_only = Cli({"set", "--store-only", key, value});
    ASSERT_EQ(stored_only.exit_code, 0) << stored_only.err;
    EXPECT_EQ(Outs(command).size(), before) << key << " was sent with --store-only";
    CliResult result = Cli({"set", key, value});
    ASSERT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(Outs(command).size(), before + 1) << key << " did not reach the mouse";
  }
  EXPECT_EQ(Cli({"get", "report_rate_wireless"}).out, "4\n") << "both rate keys, as the page";
  // The active stage stays one of the stages in use.
  ASSERT_EQ(Cli({"set", "dpi_index", "3"}).exit_code, 0);
  CliResult past = Cli({"set", "dpi_index", "4"});
  EXPECT_NE(past.err.find("dpi_index must be below dpi_count 4"), std::string::npos) << past.err;
  ASSERT_EQ(Cli({"set", "dpi_count", "2"}).exit_code, 0);
  EXPECT_EQ(Cli({"get", "dpi_index"}).out, "1\n") << "fewer stages move the active one";
}

TEST_F(SettingsEndToEndTest, BadInputIsRefusedWithAMessage) {
  CliResult unknown = Cli({"set", "no_such_key", "1"});
  EXPECT_NE(unknown.exit_code, 0);
  EXPECT_NE(unknown.err.find("unknown key"), std::string::npos);
  CliResult text = Cli({"set", "dpi_count", "six"});
  EXPECT_NE(text.exit_code, 0);
  EXPECT_NE(Cli({"profile", "activate", "99"}).exit_code, 0);
  EXPECT_NE(Cli({"task", "x"}).exit_code, 0);
  CliResult still = Cli({"get", "dpi_count"});
  EXPECT_EQ(still.exit_code, 0);
  EXPECT_NE(still.out, "six\n");
}

TEST_F(SettingsEndToEndTest, DamagedDatabaseIsNamedAndLeftAlone) {
  const auto file = home_.DataHome() / "Corvane Files" / "db" / "kestrel_pro_data.db";
  std::filesystem::create_directories(file.parent_path());
  const std::string damaged(4096, '\x5A');
  ASSERT_TRUE(WriteFileBytes(file, damaged));
  CliResult refused = Cli({"buttons"});
  EXPECT_NE(refused.exit_code, 0);
  EXPECT_NE(refused.err.find(file.string() + " is not usable"), std::string::npos) << refused.err;
  EXPECT_EQ(refused.err.find("no model selected"), std::string::npos) << refused.err;
  EXPECT_EQ(ReadFileBytes(file), damaged);
  EXPECT_TRUE(Outs("09").empty());
}

}  // namespace
}  // namespace corvane::test
