// The reset jobs from the command line: the lighting read-back (task 17), the factory DPI
// stages (task 18) and restoring the defaults (task 20), each proved on the capture and in
// the store, and the profile defaults a new profile gets from its model's definition.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_fixture.h"

namespace corvane::test {
namespace {

class TasksEndToEndTest : public CliEndToEndTest {
 protected:
  // Runs with the simulator's state kept in a file, so the mouse remembers across runs.
  CliResult CliKeepingMouse(std::vector<std::string> args) {
    args.insert(args.begin(), {"--sim-state", (home_.Root() / "sim.state").string()});
    return Cli(args);
  }
  std::string Get(const std::string& key, std::vector<std::string> options = {}) {
    options.insert(options.end(), {"get", key});
    CliResult got = Cli(options);
    EXPECT_EQ(got.exit_code, 0) << got.err;
    return got.out;
  }
  // The `lights --json` object of `mode`, from its opening brace to its closing one.
  std::string LightRow(int mode) {
    const std::string out = Cli({"lights", "--json"}).out;
    const size_t at = out.find("{\"mode\":" + std::to_string(mode) + ",");
    return at == std::string::npos ? "" : out.substr(at, out.find('}', at) - at + 1);
  }
  size_t Position(const std::string& hex) const { return ReadFileBytes(Capture()).find(hex); }
};

TEST_F(TasksEndToEndTest, LightResetPutsMouseAndStoreBackOnTheFactoryEffect) {
  // The mouse breathes at brightness 2, speed 1; the store then moves on alone.
  ASSERT_EQ(CliKeepingMouse({"light", "2", "brightness", "2", "speed", "1"}).exit_code, 0);
  ASSERT_EQ(Cli({"light", "1", "brightness", "3", "speed", "3"}).exit_code, 0);
  EXPECT_NE(LightRow(1).find("\"status\":1"), std::string::npos) << LightRow(1);

  CliResult reset = CliKeepingMouse({"task", "17"});
  ASSERT_EQ(reset.exit_code, 0) << reset.err;
  const std::string light_reset = LastOut("0E");
  ASSERT_FALSE(light_reset.empty());
  EXPECT_EQ(light_reset.substr(8, 4), "0101");
  const std::string read = LastOut("15");
  ASSERT_FALSE(read.empty());
  EXPECT_LT(Position(light_reset), Position(read));

  // The mouse answers with its factory effect (flowing light, level 0x42), and every row is
  // back on its defaults: the breathing row loses its 2/1 as the flowing row its 3/3.
  const std::string flowing = LightRow(1);
  EXPECT_NE(flowing.find("\"brightness\":4,\"speed\":2,"), std::string::npos) << flowing;
  EXPECT_NE(flowing.find("\"status\":1"), std::string::npos) << flowing;
  const std::string breathing = LightRow(2);
  EXPECT_NE(breathing.find("\"brightness\":4,\"speed\":2,"), std::string::npos) << breathing;
  EXPECT_NE(breathing.find("\"status\":0"), std::string::npos) << breathing;
}

TEST_F(TasksEndToEndTest, FactoryDpiStagesAreStoredAndSent) {
  ASSERT_EQ(Cli({"set", "dpi_group0_value", "1234"}).exit_code, 0);
  ASSERT_EQ(Cli({"set", "dpi_group5_rgb", "1"}).exit_code, 0);
  ASSERT_EQ(Cli({"set", "dpi_index", "4"}).exit_code, 0);
  CliResult reset = Cli({"task", "18"});
  ASSERT_EQ(reset.exit_code, 0) << reset.err;

  // The definition's stages: 800 .. 6400 and 12000, stage 2 active, colours in file order.
  EXPECT_EQ(Get("dpi_group0_value"), "800\n");
  EXPECT_EQ(Get("dpi_group5_value"), "12000\n");
  EXPECT_EQ(Get("dpi_group5_rgb"), "16776960\n");  // #00FFFF
  EXPECT_EQ(Get("dpi_index"), "1\n");
  // Count 6 with stage 2 active (0x16), then the codes (DPI / 100 for the simulator's
  // sensor, each stage twice); the colours red first, in a 65-byte report. Byte 32 is the
  // checksum of bytes 5..31.
  EXPECT_EQ(LastOut("03"), "000300012516080008001000100018001800200020004000400078007800000026");
  EXPECT_EQ(LastOut("04"), "0004000112FF00000000FF00FF00FFFF00FF00FF00FFFF000000000000000000F7" +
                               std::string(64, '0'));
  EXPECT_LT(Position(LastOut("03")), Position(LastOut("04")));
}

TEST_F(TasksEndToEndTest, RestoreDefaultsResetsEveryProfileAndReadsTheMouseAgain) {
  ASSERT_EQ(Cli({"set", "report_rate", "8"}).exit_code, 0);
  ASSERT_EQ(Cli({"button", "3", "2", "4", "0"}).exit_code, 0);
  ASSERT_EQ(Cli({"profile", "activate", "2"}).exit_code, 0);
  ASSERT_EQ(Cli({"set", "sleep_light", "180"}).exit_code, 0);
  ASSERT_EQ(Cli({"button", "4", "9", "1"}).exit_code, 0);

  // A second read-back in one run reads nothing; after the restore it reads again.
  CliResult twice = Cli({"task", "4", "4"});
  ASSERT_EQ(twice.exit_code, 0) << twice.err;
  ASSERT_EQ(Outs("12").size(), 1u);
  CliResult restored = Cli({"task", "4", "20", "4"});
  ASSERT_EQ(restored.exit_code, 0) << restored.err;
  EXPECT_EQ(Outs("12").size(), 3u);
  const std::string factory = LastOut("0F");
  ASSERT_FALSE(factory.empty());
  EXPECT_EQ(factory.substr(8, 4), "01FF");

  // Every profile is back at the built-in values with the definition's on top, no rows.
  EXPECT_EQ(Get("sleep_light"), "6\n");
  EXPECT_EQ(Cli({"buttons", "--json"}).out, "[]\n");
  ASSERT_EQ(Cli({"profile", "activate", "1"}).exit_code, 0);
  EXPECT_EQ(Get("report_rate"), "1\n");
  EXPECT_EQ(Get("report_rate_wireless"), "1\n");
  EXPECT_EQ(Cli({"buttons", "--json"}).out, "[]\n");
}

TEST_F(TasksEndToEndTest, ProfileDefaultsSetOnlyTheWiredReportRate) {
  // The wired-only model's definition asks for 500 Hz (code 2); the wireless key keeps its
  // built-in 1000 Hz, on new profiles and after restoring the defaults alike.
  const std::vector<std::string> wren = {"--sim-model", "12"};
  EXPECT_EQ(Get("report_rate", wren), "2\n");
  EXPECT_EQ(Get("report_rate_wireless", wren), "1\n");
  ASSERT_EQ(Cli({"--sim-model", "12", "set", "report_rate_wireless", "8"}).exit_code, 0);
  ASSERT_EQ(Cli({"--sim-model", "12", "task", "20"}).exit_code, 0);
  EXPECT_EQ(Get("report_rate", wren), "2\n");
  EXPECT_EQ(Get("report_rate_wireless", wren), "1\n");
}

}  // namespace
}  // namespace corvane::test
