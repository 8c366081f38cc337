// Start-up decisions, the device list mirror and the autostart entry: the parts of the
// window program that need no display.
#include <gtest/gtest.h>

#include <thread>

#include "support/temp_home.h"
#include "ui/autorun_entry.h"
#include "ui/device_list_mirror.h"
#include "ui/startup_options.h"

namespace corvane::ui {
namespace {

TEST(DpiAwareness, SmallScreensBigScreensAndFullHdByMonitorDpi) {
  EXPECT_TRUE(ShouldBeDpiAware(1366, 768, 96));
  EXPECT_TRUE(ShouldBeDpiAware(1600, 799, 96));
  EXPECT_TRUE(ShouldBeDpiAware(1399, 900, 96));
  EXPECT_FALSE(ShouldBeDpiAware(2560, 1440, 192));
  EXPECT_FALSE(ShouldBeDpiAware(1400, 800, 96));
  for (int dpi : {144, 168, 192}) EXPECT_TRUE(ShouldBeDpiAware(1920, 1080, dpi)) << dpi;
  for (int dpi : {96, 120, 240, 150}) EXPECT_FALSE(ShouldBeDpiAware(1920, 1080, dpi)) << dpi;
  EXPECT_FALSE(ShouldBeDpiAware(1920, 1200, 192));
}

TEST(StartupArguments, HideIsACaseSensitiveSubstring) {
  EXPECT_TRUE(HasHideSwitch({"-hide"}));
  EXPECT_TRUE(HasHideSwitch({"--simulate", "x-hidex"}));
  EXPECT_FALSE(HasHideSwitch({"-HIDE", "-Hide"}));
  EXPECT_FALSE(HasHideSwitch({}));
  StartupOptions options;
  std::string error;
  ASSERT_TRUE(ParseStartupArguments({"-autorun", "-hide"}, options, error));
  EXPECT_TRUE(options.hide);
}

TEST(StartupArguments, SimulatorAndFolderOptions) {
  StartupOptions options;
  std::string error;
  ASSERT_TRUE(
      ParseStartupArguments({"--simulate=wireless", "--sim-model", "102", "--sim-state=s.json",
                             "--capture", "c.txt", "--program-dir=/opt/x"},
                            options, error))
      << error;
  EXPECT_EQ(options.session.simulate, "wireless");
  EXPECT_EQ(options.session.sim_model, "102");
  EXPECT_EQ(options.session.sim_state, "s.json");
  EXPECT_EQ(options.session.capture, "c.txt");
  EXPECT_EQ(options.session.program_dir, "/opt/x");
  StartupOptions plain;
  ASSERT_TRUE(ParseStartupArguments({"--simulate"}, plain, error));
  EXPECT_EQ(plain.session.simulate, "both");
}

TEST(StartupArguments, BadInputIsRefusedWithAReason) {
  std::string error;
  StartupOptions a, b, c;
  EXPECT_FALSE(ParseStartupArguments({"--simulate=usb"}, a, error));
  EXPECT_NE(error.find("--simulate"), std::string::npos);
  EXPECT_FALSE(ParseStartupArguments({"--capture"}, b, error));
  EXPECT_NE(error.find("--capture"), std::string::npos);
  EXPECT_FALSE(ParseStartupArguments({"--frobnicate"}, c, error));
  EXPECT_NE(error.find("--frobnicate"), std::string::npos);
}

TEST(DeviceListMirror, SelectionFallsBackToTheFirstPresentModel) {
  DeviceListMirror mirror;
  mirror.SetModels({101, 102, 103});
  EXPECT_EQ(mirror.SetSelectDevice(101), 0);
  mirror.SetDeviceState(103, 1, 2);  // receiver present, mouse off still counts
  mirror.SetDeviceState(102, 0, 1);
  EXPECT_EQ(mirror.GetOnlineDevCount(), 2);
  EXPECT_EQ(mirror.SetSelectDevice(101), 102);
  EXPECT_EQ(mirror.SetSelectDevice(103), 103);
  mirror.SetDeviceState(103, 1, 0);
  EXPECT_EQ(mirror.GetSelectDevice(), 0) << "a model that left cannot stay selected";
  mirror.SetDeviceState(999, 0, 1);
  EXPECT_EQ(mirror.GetOnlineDevCount(), 1) << "models outside the catalogue are not counted";
  mirror.SetAllDeviceState(0);
  EXPECT_EQ(mirror.GetOnlineDevCount(), 0);
}

TEST(DeviceListMirror, ConcurrentWritersAndReadersStayConsistent) {
  DeviceListMirror mirror;
  mirror.SetModels({1, 2});
  std::thread writer([&] {
    for (int i = 0; i < 10000; ++i) mirror.SetDeviceState(1 + i % 2, 0, i % 3);
  });
  for (int i = 0; i < 10000; ++i) {
    const int count = mirror.GetOnlineDevCount();
    ASSERT_GE(count, 0);
    ASSERT_LE(count, 2);
  }
  writer.join();
}

TEST(AutorunEntry, EnableWritesAQuotedExecLineAndDisableRemovesIt) {
  test::TempHome home;
  AutorunEntry entry("Corvane Test", "/opt/my tools/cor\"vane");
  EXPECT_EQ(entry.Path(), home.ConfigHome() / "autostart" / "Corvane Test.desktop");
  EXPECT_FALSE(entry.IsEnabled());
  ASSERT_TRUE(entry.Enable());
  const std::string text = test::ReadFileBytes(entry.Path());
  EXPECT_NE(text.find("Exec=\"/opt/my tools/cor\\\"vane\" -autorun\n"), std::string::npos) << text;
  EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
  EXPECT_FALSE(std::filesystem::exists(entry.Path().string() + ".tmp"));
  ASSERT_TRUE(entry.Enable()) << "enabling twice keeps one entry";
  ASSERT_TRUE(entry.Disable());
  EXPECT_FALSE(entry.IsEnabled());
  EXPECT_TRUE(entry.Disable()) << "removing a missing entry is not a failure";
}

}  // namespace
}  // namespace corvane::ui
