// corvane-cli devices, run through its registered handler against the simulated mouse:
// the JSON shape, the catalogue edge cases as they show in it, and the failures.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/ini_key_value_store.h"
#include "cli/cli_command.h"
#include "support/temp_home.h"

namespace corvane::cli {

// The dispatcher of corvane-cli lives in main.cpp; this test links only the command.
std::map<std::string, CliCommand>& CliCommands() {
  static std::map<std::string, CliCommand> commands;
  return commands;
}

int CliFail(const std::string& message) {
  std::fprintf(stderr, "corvane-cli: %s\n", message.c_str());
  return 1;
}

// A failed close (the simulator's state not saved) would make the run fail.
bool run_failed = false;
void MarkRunFailed() { run_failed = true; }

namespace {

const std::filesystem::path kFixtures = std::filesystem::path(CORVANE_TEST_DATA_DIR) / "catalogue";

struct Result {
  int code;
  std::string out;
  std::string err;
};

Result RunDevices(const std::filesystem::path& program_dir, bool json,
                  std::vector<std::string> args = {}) {
  CliOptions options;
  options.program_dir = program_dir.string();
  options.json = json;
  options.simulate = "both";
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const int code = CliCommands().at("devices").handler(options, args);
  std::fflush(stdout);
  Result result{code, testing::internal::GetCapturedStdout(), testing::internal::GetCapturedStderr()};
  return result;
}

TEST(DevicesCommandTest, JsonOfShippedCatalogueHasTheDocumentedShape) {
  test::TempHome home;
  const Result result = RunDevices(test::ShippedDataDir(), true);
  ASSERT_EQ(result.code, 0) << result.err;
  // The simulated mouse is found and, with nothing stored, selected and stored.
  const std::string catalogue_part =
            R"({"caption":"Corvane","languages":[1028,1033,1041,1042,1058,2052],"selected":11,)"
            R"("models":[{"name":"Corvane Kestrel Pro","device_type":11,"device_attr":"kestrel_pro",)"
            R"("image":"kestrel_pro.png","modes":[{"mode":0,"vid":4617,"pid":1,"dev_id":"KP11"},)"
            R"({"mode":1,"vid":4617,"pid":2,"dev_id":"KP11"}]},{"name":"Corvane Wren",)"
            R"("device_type":12,"device_attr":"wren","image":"wren.png","modes":[{"mode":0,)"
            R"("vid":4617,"pid":3,"dev_id":"WR12"}]}],"software":{"version":"1.0.0",)"
            R"("website":"https://corvane.example/","feedback":"https://corvane.example/feedback",)"
            R"("qa":"https://corvane.example/faq","store":"https://store.corvane.example/",)"
            R"("upgrade":"https://updates.corvane.example/software/",)"
            R"("copyright":"Copyright (C) 2026 The Corvane developers"},"entries":[)";
  EXPECT_EQ(result.out.substr(0, catalogue_part.size()), catalogue_part);
  EXPECT_EQ(result.out.substr(result.out.size() - 3), "]}\n");
  EXPECT_EQ(IniKeyValueStore::ForCaption("Corvane").ReadDeviceType(), 11);
}

TEST(DevicesCommandTest, JsonShowsCatalogueEdgeCases) {
  test::TempHome home;
  ASSERT_TRUE(IniKeyValueStore::ForCaption("Edge").WriteDeviceType(21));
  const Result result = RunDevices(kFixtures / "edge", true);
  ASSERT_EQ(result.code, 0) << result.err;
  const std::string& out = result.out;
  EXPECT_NE(out.find(R"("caption":"Edge","languages":[1033,2052],"selected":21)"), std::string::npos);
  // 0x-prefixed and bare hex give the same vendor id; a short dev_id is kept as written.
  EXPECT_NE(out.find(R"("modes":[{"mode":0,"vid":4617,"pid":10,"dev_id":"AB12"},)"
                     R"({"mode":1,"vid":4617,"pid":11,"dev_id":"AB1"}])"),
            std::string::npos);
  EXPECT_NE(out.find(R"({"name":"No modes","device_type":22,"device_attr":"nomodes",)"
                     R"("image":"nomodes.png","modes":[]})"),
            std::string::npos);
  EXPECT_NE(out.find(R"("modes":[{"mode":0,"vid":18,"pid":0,"dev_id":""}])"), std::string::npos);
  EXPECT_NE(out.find(R"({"name":"","device_type":0,"device_attr":"","image":"",)"
                     R"("modes":[{"mode":0,"vid":0,"pid":0,"dev_id":""}]})"),
            std::string::npos);
  EXPECT_NE(out.find(R"("feedback":"https://feedback.edge.example/","qa":"",)"), std::string::npos);
  EXPECT_NE(out.find(R"("copyright":"(c) Edge & Co"})"), std::string::npos);
}

TEST(DevicesCommandTest, PlainTextListsModelsModesAndSelection) {
  test::TempHome home;
  const Result result = RunDevices(test::ShippedDataDir(), false);
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_NE(result.out.find("Corvane, version 1.0.0"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("selected device type: 11"), std::string::npos);
  EXPECT_NE(result.out.find("* 11  Corvane Kestrel Pro"), std::string::npos);
  EXPECT_NE(result.out.find("  12  Corvane Wren"), std::string::npos);
  EXPECT_NE(result.out.find("wireless  1209:0002  dev_id \"KP11\""), std::string::npos);
}

TEST(DevicesCommandTest, PlainTextNamesAModelWithoutInterfaces) {
  test::TempHome home;
  const Result result = RunDevices(kFixtures / "edge", false);
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_NE(result.out.find("No modes"), std::string::npos);
  EXPECT_NE(result.out.find("no USB interfaces listed"), std::string::npos);
}

TEST(DevicesCommandTest, MissingConfigOrExtraArgumentsFailWithOneLine) {
  test::TempHome home;
  const Result missing = RunDevices(home.Root() / "nowhere", true);
  EXPECT_NE(missing.code, 0);
  EXPECT_TRUE(missing.out.empty());
  EXPECT_NE(missing.err.find("corvane-cli: cannot read"), std::string::npos);
  EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1);
  const Result extra = RunDevices(test::ShippedDataDir(), true, {"unexpected"});
  EXPECT_NE(extra.code, 0);
  EXPECT_TRUE(extra.out.empty());
}

}  // namespace
}  // namespace corvane::cli
