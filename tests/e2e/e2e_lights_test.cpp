// Lighting changed from the command line reaches the simulated mouse as the exact
// lighting command, and a later process reads the same rows back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_fixture.h"

namespace corvane::test {
namespace {

class LightsEndToEndTest : public CliEndToEndTest {
 protected:
  // The lighting command's bytes after the report id, up to the first colour's end.
  std::string LastLightHead() const {
    auto outs = Outs("05");
    return outs.empty() ? "" : outs.back().second.substr(2, 18);
  }
};

TEST_F(LightsEndToEndTest, ListingCreatesTheRowsOnceWithModeOneActive) {
  CliResult listed = Cli({"lights", "--json"});
  ASSERT_EQ(listed.exit_code, 0) << listed.err;
  EXPECT_EQ(listed.out.rfind("[{\"mode\":1,", 0), 0u) << listed.out;
  EXPECT_NE(listed.out.find("\"colors\":[255,65280,16711680,16776960,65535,16711935,16777215]"),
            std::string::npos);
  EXPECT_NE(listed.out.find("\"reserved\":280,\"status\":1}"), std::string::npos);
  EXPECT_EQ(Cli({"lights", "--json"}).out, listed.out);  // not created a second time
  EXPECT_TRUE(Outs("05").empty());  // listing sends nothing
}

// The plain listing names the modes as the window does, not by the stored rows' names
// (which were made in Chinese).
TEST_F(LightsEndToEndTest, ThePlainListingNamesModesInTheSessionsLanguage) {
  const std::string listed = Cli({"lights"}).out;
  EXPECT_NE(listed.find("* 1 "), std::string::npos) << listed;
  for (unsigned char c : listed) EXPECT_LT(c, 0x80) << listed;  // English throughout
}

TEST_F(LightsEndToEndTest, ChangesSendTheLightingCommandAndSurviveARestart) {
  CliResult steady = Cli({"light", "3", "brightness", "2", "colour", "#FF8000"});
  ASSERT_EQ(steady.exit_code, 0) << steady.err;
  ASSERT_EQ(Outs("05").size(), 1u);  // one command for the whole change
  // Mode 3, brightness 2 and speed 2 in one byte, then red, green, blue.
  EXPECT_EQ(LastLightHead(), "050001050322FF8000");

  ASSERT_EQ(Cli({"light", "1", "speed", "5"}).exit_code, 0);
  EXPECT_EQ(LastLightHead().substr(0, 12), "050001030145");

  CliResult listed = Cli({"lights", "--json"});
  ASSERT_EQ(listed.exit_code, 0);
  // 0x0080FF: red in the low byte.
  EXPECT_NE(listed.out.find("{\"mode\":3,\"name\":"), std::string::npos);
  EXPECT_NE(listed.out.find("\"brightness\":2,\"speed\":2,\"direction\":0,\"colorful\":1,"
                            "\"colorindex\":0,\"colors\":[33023,"),
            std::string::npos) << listed.out;
  EXPECT_NE(listed.out.find("\"brightness\":4,\"speed\":5,"), std::string::npos);
  EXPECT_NE(listed.out.find("\"reserved\":280,\"status\":1}"), std::string::npos)
      << "mode 1 is active again";
  EXPECT_NE(listed.out.find("\"reserved\":282,\"status\":0}"), std::string::npos);
}

TEST_F(LightsEndToEndTest, BadRequestsAreRefusedWithAMessage) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"light", "3", "colour", "red"},
                                             {"light", "3", "colour", "#12345G"},
                                             {"light", "3", "brightness", "5"},
                                             {"light", "3", "speed", "-1"},
                                             {"light", "3", "glow", "1"},
                                             {"light", "3", "brightness"},
                                             {"light", "9"},
                                             {"light", "0", "brightness", "1"},
                                             {"light"}}) {
    CliResult result = Cli(args);
    EXPECT_NE(result.exit_code, 0) << args.back();
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
  }
  EXPECT_TRUE(Outs("05").empty());

  CliResult unlit = Cli({"--sim-model", "12", "lights"});
  EXPECT_NE(unlit.exit_code, 0);
  EXPECT_NE(unlit.err.find("no lighting"), std::string::npos) << unlit.err;
}

}  // namespace
}  // namespace corvane::test
