// A setting changed from the command line reaches the simulated mouse as exact bytes
// and is still there when the next process starts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_fixture.h"

namespace corvane::test {
namespace {

using SettingsEndToEndTest = CliEndToEndTest;

TEST_F(SettingsEndToEndTest, DpiStagesTravelAsExactBytesAndSurviveARestart) {
  ASSERT_EQ(Cli({"set", "dpi_count", "6"}).exit_code, 0);
  ASSERT_EQ(Cli({"set", "dpi_index", "2"}).exit_code, 0);
  const char* values[] = {"800", "1600", "2400", "3200", "6400", "99999"};
  for (int i = 0; i < 6; ++i) {
    ASSERT_EQ(Cli({"set", "dpi_group" + std::to_string(i) + "_value", values[i]}).exit_code, 0);
  }
  CliResult sent = Cli({"task", TaskArg(WorkerTask::kDpiStageValues)});
  ASSERT_EQ(sent.exit_code, 0) << sent.err;
  // Sensor 53 (the simulator's): codes are DPI / 100, 99999 is held at 16000.
  EXPECT_EQ(LastOut("03"), "0003000125260800080010001000180018002000200040004000A000A000000086");

  CliResult read = Cli({"get", "dpi_group5_value"});
  EXPECT_EQ(read.exit_code, 0);
  EXPECT_EQ(read.out, "99999\n");  // the store keeps what the user typed; only the mouse is clamped
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

}  // namespace
}  // namespace corvane::test
