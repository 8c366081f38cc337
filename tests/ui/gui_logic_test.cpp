// Start-up decisions, the device list mirror and the autostart entry: the parts of the
// window program that need no display.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <thread>

#include "protocol/key_codes.h"
#include "support/temp_home.h"
#include "ui/autorun_entry.h"
#include "ui/device_list_mirror.h"
#include "ui/key_input.h"
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

TEST(StartupArguments, BadValuesOfOurOptionsAreRefusedWithAReason) {
  std::string error;
  StartupOptions a, b, c;
  EXPECT_FALSE(ParseStartupArguments({"--simulate=usb"}, a, error));
  EXPECT_NE(error.find("--simulate"), std::string::npos);
  EXPECT_FALSE(ParseStartupArguments({"--capture"}, b, error));
  EXPECT_NE(error.find("--capture"), std::string::npos);
  EXPECT_FALSE(ParseStartupArguments({"--program-dir="}, c, error));
  EXPECT_NE(error.find("--program-dir"), std::string::npos);
}

TEST(StartupArguments, UnknownSwitchesAreIgnoredAndListedWhileOursKeepWorking) {
  StartupOptions options;
  std::string error;
  ASSERT_TRUE(ParseStartupArguments({"--hide", "--frobnicate", "--simulate=wired", "-x",
                                     "--capturex=1", "--capture", "c.txt", "--sim-model=12"},
                                    options, error))
      << error;
  EXPECT_TRUE(options.hide) << "\"--hide\" holds the -hide switch";
  EXPECT_EQ(options.ignored, (std::vector<std::string>{"--frobnicate", "--capturex=1"}));
  EXPECT_EQ(options.session.simulate, "wired");
  EXPECT_EQ(options.session.capture, "c.txt");
  EXPECT_EQ(options.session.sim_model, "12");
  StartupOptions autorun;
  ASSERT_TRUE(ParseStartupArguments({"-autorun"}, autorun, error));
  EXPECT_FALSE(autorun.hide);
  EXPECT_TRUE(autorun.ignored.empty()) << "the autostart entry's own switch passes silently";
  // The login entry's start honours "start minimised"; other starts show the window.
  EXPECT_TRUE(StartsHidden(autorun, true));
  EXPECT_FALSE(StartsHidden(autorun, false));
  StartupOptions by_hand;
  ASSERT_TRUE(ParseStartupArguments({"--simulate", "-autorunx"}, by_hand, error));
  EXPECT_FALSE(StartsHidden(by_hand, true)) << "only the entry's own switch counts";
  StartupOptions hidden;
  ASSERT_TRUE(ParseStartupArguments({"-hide"}, hidden, error));
  EXPECT_TRUE(StartsHidden(hidden, false));
}

// X11 key codes of a few physical keys (evdev code + 8).
constexpr quint32 kX11LeftShift = 50, kX11RightShift = 62, kX11KeypadEnter = 104, kX11KeyA = 38;

QKeyEvent KeyEventOf(QEvent::Type type, int key, quint32 x11_code,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  return QKeyEvent(type, key, modifiers, x11_code, 0, 0);
}

TEST(KeyInput, ThePhysicalKeyDecidesWhateverKeyTheLayoutReports) {
  KeyInput input;
  // A layout that puts another letter on the A position still captures A.
  KeyEvent a = input.Decode(KeyEventOf(QEvent::KeyPress, Qt::Key_Q, kX11KeyA));
  EXPECT_EQ(a.code, 'A');
  EXPECT_EQ(a.name, "A");
  EXPECT_EQ(input.Decode(KeyEventOf(QEvent::KeyRelease, Qt::Key_Q, kX11KeyA)).released, 1);
  // Qt names both Shift keys alike; the physical key tells them apart.
  EXPECT_EQ(input.Decode(KeyEventOf(QEvent::KeyPress, Qt::Key_Shift, kX11RightShift)).code, 161);
  EXPECT_EQ(input.Decode(KeyEventOf(QEvent::KeyPress, Qt::Key_Shift, kX11LeftShift)).code, 160);
  EXPECT_EQ(input.Decode(KeyEventOf(QEvent::KeyRelease, Qt::Key_Shift, kX11RightShift)).code,
            161);
  EXPECT_EQ(input.Decode(KeyEventOf(QEvent::KeyRelease, Qt::Key_Shift, kX11LeftShift)).code,
            160);
  KeyEvent enter = input.Decode(
      KeyEventOf(QEvent::KeyPress, Qt::Key_Enter, kX11KeypadEnter, Qt::KeypadModifier));
  EXPECT_EQ(enter.name, "Num Enter");
  EXPECT_EQ(VkToHidUsage(enter.code), 88);
}

TEST(KeyInput, EventsWithoutAPhysicalKeyFallBackToTheirQtKey) {
  KeyInput input;
  EXPECT_EQ(input.Decode(KeyEventOf(QEvent::KeyPress, Qt::Key_F5, 0)).code, 116);
  EXPECT_EQ(input.Decode(KeyEventOf(QEvent::KeyPress, Qt::Key_Control, 0)).code, 162);
  EXPECT_EQ(input.Decode(KeyEventOf(QEvent::KeyPress, Qt::Key_8, 0, Qt::KeypadModifier)).code,
            104);
  // Keypad 8 with Num Lock off: the keypad's code under the navigation key's name.
  KeyEvent up = input.Decode(KeyEventOf(QEvent::KeyPress, Qt::Key_Up, 0, Qt::KeypadModifier));
  EXPECT_EQ(up.code, 104);
  EXPECT_EQ(up.name, "Up");
  EXPECT_EQ(input.Decode(KeyEventOf(QEvent::KeyPress, Qt::Key_Up, 0)).code, 38);
  EXPECT_EQ(input.Decode(KeyEventOf(QEvent::KeyPress, Qt::Key_Enter, 0, Qt::KeypadModifier)).code,
            108);
  // A key with no code is reported without a name, so every consumer drops it.
  EXPECT_TRUE(input.Decode(KeyEventOf(QEvent::KeyPress, Qt::Key_PowerOff, 0)).name.empty());
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

TEST(AutorunEntry, CaptionPassesTheSafeNameRuleBeforeNamingTheEntry) {
  test::TempHome home;
  const std::filesystem::path folder = home.ConfigHome() / "autostart";
  EXPECT_EQ(AutorunEntry("../../evil", "/x").Path(), folder / ".._.._evil.desktop");
  EXPECT_EQ(AutorunEntry("..", "/x").Path(), folder / "_.desktop");
  EXPECT_EQ(AutorunEntry("", "/x").Path(), folder / "Corvane.desktop");
  AutorunEntry entry("a/b\nExec=/bin/evil", "/opt/corvane");
  ASSERT_TRUE(entry.Enable());
  EXPECT_EQ(entry.Path().parent_path(), folder);
  const std::string text = test::ReadFileBytes(entry.Path());
  EXPECT_NE(text.find("Name=a/b\\nExec=/bin/evil\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("\nExec=/bin/evil"), std::string::npos) << "the caption added a key";
}

}  // namespace
}  // namespace corvane::ui
