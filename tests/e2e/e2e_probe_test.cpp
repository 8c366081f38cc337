// A mouse of the family that the catalogue does not know, played by the simulator under
// ids no model lists: found by probe, described by its answer to 0x10, added to the user's
// models, and then configured like a shipped one, with exact bytes. Also the support
// report and what becomes of broken or clashing user model files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_fixture.h"

namespace corvane::test {
namespace {

constexpr char kNode[] = "sim/wired/if2";
constexpr char kUpgradeNode[] = "sim/wired/if3";

class ProbeEndToEndTest : public CliEndToEndTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteFileBytes(StateFile(), "usb_vid=0x1d50\nusb_pid=0x6177\n"));
  }
  std::filesystem::path StateFile() const { return home_.Root() / "unknown.state"; }
  std::filesystem::path Models() const { return home_.DataHome() / "corvane" / "models"; }
  // The wired mouse alone, under the unknown ids.
  CliResult Unknown(std::vector<std::string> args) {
    args.insert(args.begin(), {"--simulate=wired", "--sim-state", StateFile().string()});
    return Cli(args);
  }
  // Every OUT line of the capture, whole.
  std::vector<std::string> OutLines() const {
    std::vector<std::string> lines;
    const std::string text = ReadFileBytes(Capture());
    for (size_t at = 0, end; at < text.size(); at = end + 1) {
      end = text.find('\n', at);
      if (end == std::string::npos) end = text.size();
      if (text.compare(at, 4, "OUT ") == 0) lines.push_back(text.substr(at, end - at));
    }
    return lines;
  }
};

TEST_F(ProbeEndToEndTest, AnUnknownMouseGoesFromProbeToConfiguredInThreeCommands) {
  CliResult devices = Unknown({"devices", "--json"});
  ASSERT_EQ(devices.exit_code, 0) << devices.err;
  EXPECT_NE(devices.out.find("\"entries\":[]"), std::string::npos) << devices.out;

  CliResult listing = Unknown({"probe", "--json"});
  ASSERT_EQ(listing.exit_code, 0) << listing.err;
  EXPECT_EQ(listing.out,
            std::string("[{\"node\":\"") + kNode +
                "\",\"vid\":7504,\"pid\":24951,\"interface\":2,\"usage_page\":65281,\"usage\":16,"
                "\"release\":261,\"model\":\"unknown\",\"can_open\":true},"
                "{\"node\":\"" +
                kUpgradeNode +
                "\",\"vid\":7504,\"pid\":24951,\"interface\":3,\"usage_page\":65519,\"usage\":0,"
                "\"release\":261,\"model\":\"unknown\",\"can_open\":true}]\n");

  CliResult probe = Unknown({"probe", kNode});
  ASSERT_EQ(probe.exit_code, 0) << probe.err;
  for (const char* expected :
       {"device id   \"KP11\"", "sensor      0x35 (100..16000 DPI)",
        "rate        capability 0x40 (rate class 7)", "battery     a 0, b 90",
        "device_type=\"1000\" device_attr=\"user_1d50_6177\"",
        "vid=\"0x1d50\" pid=\"0x6177\" dev_id=\"KP11\"",
        "Started from the shipped model Corvane Kestrel Pro", "<firmware url=\"\"/>",
        "KERNEL==\"hidraw*\", ATTRS{idVendor}==\"1d50\", ATTRS{idProduct}==\"6177\", "
        "TAG+=\"uaccess\""}) {
    EXPECT_NE(probe.out.find(expected), std::string::npos) << expected << "\n" << probe.out;
  }
  // Nothing but the read-only device-information query reached the unknown mouse.
  const std::string query = "OUT sim/wired/if2 33 0010" + std::string(62, '0');
  EXPECT_EQ(OutLines(), std::vector<std::string>{query});

  CliResult add = Unknown({"probe", kNode, "--add", "Falcon \"Test\" & Co"});
  ASSERT_EQ(add.exit_code, 0) << add.err;
  EXPECT_TRUE(std::filesystem::exists(Models() / "user_1d50_6177.xml"));
  EXPECT_TRUE(std::filesystem::exists(Models() / "device" / "user_1d50_6177.xml"));
  EXPECT_EQ(OutLines(), std::vector<std::string>(2, query));

  CliResult info = Unknown({"info", "--json"});
  ASSERT_EQ(info.exit_code, 0) << info.err;
  EXPECT_NE(info.out.find("\"device_type\":1000,\"connection\":0,\"sensor\":53"), std::string::npos)
      << info.out;
  CliResult listed = Unknown({"devices"});
  EXPECT_NE(listed.out.find("1000  Falcon \"Test\" & Co"), std::string::npos) << listed.out;

  ASSERT_EQ(Unknown({"set", "dpi_group0_value", "1200"}).exit_code, 0);
  CliResult sent = Unknown({"task", TaskArg(WorkerTask::kDpiStageValues)});
  ASSERT_EQ(sent.exit_code, 0) << sent.err;
  // The copied definition's factory stages with the first one changed; codes are DPI / 100.
  EXPECT_EQ(LastOut("03"),
            "0003000125160C000C001000100018001800200020004000400078007800000"
            "02E");
}

TEST_F(ProbeEndToEndTest, ProbeRefusesTheUpgradeCollectionAndAKnownMouseCannotBeAddedTwice) {
  CliResult upgrade = Unknown({"probe", kUpgradeNode});
  EXPECT_NE(upgrade.exit_code, 0);
  EXPECT_NE(upgrade.err.find("firmware-upgrade collection"), std::string::npos) << upgrade.err;
  EXPECT_TRUE(OutLines().empty()) << "nothing may be written to the upgrade collection";

  ASSERT_EQ(Unknown({"probe", kNode, "--add"}).exit_code, 0);
  CliResult again = Unknown({"probe", kNode, "--add"});
  EXPECT_NE(again.exit_code, 0);
  EXPECT_NE(again.err.find("already known"), std::string::npos) << again.err;

  CliResult shipped = Cli({"--simulate=wired", "probe", kNode, "--add"});
  EXPECT_NE(shipped.exit_code, 0);
  EXPECT_NE(shipped.err.find("already known as Corvane Kestrel Pro"), std::string::npos);
}

TEST_F(ProbeEndToEndTest, BrokenOrClashingUserModelsAreSkippedWithAWarningNamingThem) {
  ASSERT_TRUE(WriteFileBytes(Models() / "broken.xml", "<mouse name=\"Half"));
  // The shipped model's ids: the shipped entry wins.
  ASSERT_TRUE(WriteFileBytes(Models() / "clash.xml",
                             "<mouse name=\"Clash\" device_type=\"1001\" device_attr=\"clash\" "
                             "image=\"x.png\"><mode value=\"0\" vid=\"0x1209\" pid=\"0x0001\" "
                             "dev_id=\"KP11\"/></mouse>"));
  ASSERT_TRUE(WriteFileBytes(Models() / "device" / "clash.xml",
                             ReadFileBytes(ShippedDataDir() / "device" / "wren.xml")));
  CliResult devices = Cli({"--simulate=wired", "devices", "--json"});
  ASSERT_EQ(devices.exit_code, 0) << devices.err;
  EXPECT_NE(devices.err.find((Models() / "broken.xml").string() + " skipped"), std::string::npos)
      << devices.err;
  EXPECT_NE(devices.err.find((Models() / "clash.xml").string() +
                             " skipped: the ids 1209:0001 are already Corvane Kestrel Pro's"),
            std::string::npos)
      << devices.err;
  EXPECT_EQ(devices.out.find("Clash"), std::string::npos);
  EXPECT_NE(devices.out.find("\"device_type\":11,\"mode\":0,\"online\":1"), std::string::npos);
}

TEST_F(ProbeEndToEndTest, TheReportListsInterfacesAndWithholdsMacroAndKeyPayloads) {
  ASSERT_EQ(Cli({"--simulate=wired", "button", "3", "2", "4", "5"}).exit_code, 0);
  ASSERT_EQ(Cli({"--simulate=wired", "task", TaskArg(WorkerTask::kButtonTable)}).exit_code, 0);
  const std::string button_out = LastOut("09");
  ASSERT_FALSE(button_out.empty());
  ASSERT_NE(Unknown({"probe", kNode, "--add"}).exit_code, 1);

  CliResult report = Unknown({"report"});
  ASSERT_EQ(report.exit_code, 0) << report.err;
  for (const char* expected :
       {"== versions", "11 Corvane Kestrel Pro (kestrel_pro, shipped)",
        "1000 Corvane Kestrel Pro (user_1d50_6177, user)", "sim/wired/if2 1d50:6177 interface 2",
        "report descriptor: not available", "== udev rule", "== capture"}) {
    EXPECT_NE(report.out.find(expected), std::string::npos) << expected << "\n" << report.out;
  }
  EXPECT_EQ(report.out.find(button_out.substr(10)), std::string::npos)
      << "the key payload must be withheld";
  EXPECT_NE(report.out.find(button_out.substr(0, 10) + "<payload withheld>"), std::string::npos);
}

}  // namespace
}  // namespace corvane::test
