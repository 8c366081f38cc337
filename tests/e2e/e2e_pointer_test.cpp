// corvane-cli pointer: the stored per-profile copies, the clamps, and what the desktop's
// back end is told: "not supported" without one, GNOME's settings through gsettings.
#include <gtest/gtest.h>

#include <cstdlib>

#include "cli_fixture.h"

namespace corvane::test {
namespace {

class PointerCliTest : public CliEndToEndTest {
 protected:
  std::string Stored(const std::string& key) {
    CliResult got = Cli({"get", key});
    EXPECT_EQ(got.exit_code, 0) << got.err;
    return got.out;
  }
};

TEST_F(PointerCliTest, WithoutABackEndValuesAreStoredAndTheFailureIsSaid) {
  setenv("CORVANE_POINTER_SETTINGS", "none", 1);
  CliResult lines = Cli({"pointer", "lines", "50"});
  EXPECT_EQ(lines.exit_code, 1);
  EXPECT_NE(lines.err.find("not supported"), std::string::npos) << lines.err;
  EXPECT_NE(Stored("wheel_scrolllines").find("20"), std::string::npos);
  CliResult page = Cli({"pointer", "scroll", "page"});
  EXPECT_EQ(page.exit_code, 1);
  const std::string shown = Cli({"pointer"}).out;
  EXPECT_NE(shown.find("back end: none"), std::string::npos) << shown;
  EXPECT_NE(shown.find("wheel_scrollflag=0"), std::string::npos) << shown;
  EXPECT_NE(shown.find("wheel_scrolllines=0"), std::string::npos) << shown;
  CliResult speed = Cli({"pointer", "speed", "21"});
  EXPECT_NE(speed.exit_code, 0);
  EXPECT_NE(Cli({"pointer", "wheel"}).exit_code, 0) << "a setting without its value";
  unsetenv("CORVANE_POINTER_SETTINGS");
}

TEST_F(PointerCliTest, GnomeTakesDoubleClickTimeAndSpeedThroughGsettings) {
  setenv("CORVANE_POINTER_SETTINGS", "gsettings", 1);
  setenv("GSETTINGS_BACKEND", "keyfile", 1);
  if (RunProgram("/usr/bin/gsettings", {"list-keys", "org.gnome.desktop.peripherals.mouse"})
          .exit_code != 0) {
    GTEST_SKIP() << "gsettings or the GNOME mouse schema is missing (Debian: libglib2.0-bin, "
                    "gsettings-desktop-schemas)";
  }
  CliResult doubleclick = Cli({"pointer", "doubleclick", "8"});
  EXPECT_EQ(doubleclick.exit_code, 0) << doubleclick.err;
  EXPECT_NE(doubleclick.out.find("340 ms: applied"), std::string::npos) << doubleclick.out;
  auto gnome = [](const char* key) {
    return RunProgram("/usr/bin/gsettings", {"get", "org.gnome.desktop.peripherals.mouse", key})
        .out;
  };
  EXPECT_EQ(gnome("double-click"), "340\n");
  EXPECT_EQ(Cli({"pointer", "speed", "20"}).exit_code, 0);
  EXPECT_EQ(gnome("speed"), "1.0\n");
  EXPECT_EQ(Cli({"pointer", "precision", "off"}).exit_code, 0);
  EXPECT_EQ(gnome("accel-profile"), "'flat'\n");
  EXPECT_NE(Stored("doubleclick_time").find("340"), std::string::npos);
  EXPECT_NE(Stored("mouse_sensitivity").find("0"), std::string::npos);
  // GNOME has no lines per notch: said, not ignored.
  EXPECT_EQ(Cli({"pointer", "wheel", "5"}).exit_code, 1);
  unsetenv("GSETTINGS_BACKEND");
  unsetenv("CORVANE_POINTER_SETTINGS");
}

}  // namespace
}  // namespace corvane::test
