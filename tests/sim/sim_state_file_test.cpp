// The --sim-state file: every field survives a round trip, bad files are refused
// with a clear message, and a backend with an attached file saves on destruction.
#include "sim/sim_state_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "sim_test_util.h"
#include "support/temp_home.h"

namespace corvane::test {
namespace {

SimState Unusual() {
  SimState s;
  s.mouse_on = false;
  s.battery_a = 3;
  s.battery_b = 1;
  s.sensor_code = 17;
  s.rate_capability = 0x20;
  s.firmware_version = 0x0210;
  s.receiver_version = 0x0301;
  s.usb_vid = 0x1D50;
  s.usb_pid = 0x6001;
  s.receiver_usb_vid = 0x1D51;
  s.receiver_usb_pid = 0x6002;
  SimSettings& t = s.settings;
  t.report_rate = 64;
  t.dpi_count = 4;
  t.dpi_index = 3;
  t.dpi_code = {1, 2, 3, 0x1FF, 5, 0xFFFF};
  t.dpi_color = {1, 2, 3, 4, 5, 0xFFFFFF};
  t.liftoff_height = 2;
  t.sensor_flag8 = 1;
  t.sensor_flag4 = 0;
  t.sleep_light = 30;
  t.move_wakeup = 0;
  t.move_closelight = 0;
  t.button_respondtime = 20;
  t.light_mode = 2;
  t.light_level = 0x13;
  t.light_color = {7, 6, 5, 4, 3, 2, 1};
  t.buttons[8] = {0x90, 8, 3};
  t.macros[8] = {0x81, 0x10, 0x00, 0x04};
  t.macros[20] = {};
  s.upgrade_image[0] = {0x00, 0xFF, 0x10};
  return s;
}

TEST(SimStateFile, EveryFieldSurvivesARoundTrip) {
  const SimState original = Unusual();
  const std::string text = SimStateFile::Format(original);
  SimState loaded;
  std::string error;
  ASSERT_TRUE(SimStateFile::Parse(text, loaded, error)) << error;
  EXPECT_EQ(loaded, original);
  EXPECT_NE(text.find("firmware_version=0x0210\n"), std::string::npos);
  EXPECT_NE(text.find("macro8=81100004\n"), std::string::npos);
  EXPECT_NE(text.find("button8=900803\n"), std::string::npos);
}

TEST(SimStateFile, MissingKeysKeepDefaultsAndCommentsAreSkipped) {
  SimState loaded = Unusual();
  std::string error;
  ASSERT_TRUE(SimStateFile::Parse("# comment\n\n  report_rate = 0x10 \r\nmacro3=\n", loaded, error))
      << error;
  SimState expected;
  expected.settings.report_rate = 16;
  expected.settings.macros[3] = {};
  EXPECT_EQ(loaded, expected);
}

TEST(SimStateFile, BadLinesAreRefusedWithTheirLineAndLeaveStateAlone) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"report_rate=1\ncolour=3\n", "line 2: unknown key 'colour'"},
      {"battery_a=256\n", "line 1: bad value for 'battery_a'"},
      {"battery_a=-1\n", "line 1: bad value for 'battery_a'"},
      {"mouse_on=yes\n", "line 1: bad value for 'mouse_on'"},
      {"button0=1001\n", "line 1: bad value for 'button0'"},
      {"macro2=8110000\n", "line 1: bad value for 'macro2'"},
      {"macro21=81100004\n", "line 1: unknown key 'macro21'"},
      {"wired_upgrade_image=0G\n", "line 1: bad value for 'wired_upgrade_image'"},
      {"report_rate\n", "line 1: expected key=value"},
      {"dpi_count=2\ndpi_index=3\n", "dpi_index must be below dpi_count"},
  };
  for (const auto& c : cases) {
    SimState state = Unusual();
    std::string error;
    EXPECT_FALSE(SimStateFile::Parse(c.text, state, error)) << c.text;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
    EXPECT_EQ(state, Unusual()) << c.text;
  }
}

TEST(SimStateFile, BackendLoadsAtStartAndSavesAtExit) {
  TempHome home;
  const std::string path = (home.Root() / "sim.state").string();
  std::string error;
  {
    SimBackend backend(TestIdentity(), SimMode::kWired);
    ASSERT_TRUE(backend.AttachStateFile(path, error)) << "a missing file is a fresh mouse";
    auto h = OpenConfig(backend, SimLink::kWired);
    ASSERT_EQ(Exchange(*h, BuildCommand(0x02, 1, 1, {32}))[1], 0);
  }
  ASSERT_NE(ReadFileBytes(path).find("report_rate=32\n"), std::string::npos);
  {
    SimBackend backend(TestIdentity(), SimMode::kWired);
    ASSERT_TRUE(backend.AttachStateFile(path, error)) << error;
    auto h = OpenConfig(backend, SimLink::kWired);
    EXPECT_EQ(ReadCommand(*h, 0x12)[4], 32);
  }
  ASSERT_TRUE(WriteFileBytes(path, "report_rate=1\nbogus=2\n"));
  SimBackend backend(TestIdentity(), SimMode::kWired);
  EXPECT_FALSE(backend.AttachStateFile(path, error));
  EXPECT_NE(error.find(path), std::string::npos);
  EXPECT_NE(error.find("unknown key 'bogus'"), std::string::npos);
  EXPECT_FALSE(backend.SaveStateFile(error)) << "a refused file is not attached";
}

TEST(SimStateFile, SaveFailureIsReported) {
  TempHome home;
  std::string error;
  EXPECT_FALSE(SimStateFile::Save((home.Root() / "missing" / "dir" / "sim.state").string(),
                                  SimState{}, error));
  EXPECT_FALSE(error.empty());
  // A backend closing with a file it cannot write says so instead of dropping the state.
  SimBackend backend(TestIdentity(), SimMode::kWired);
  ASSERT_TRUE(backend.AttachStateFile((home.Root() / "missing" / "sim.state").string(), error));
  error.clear();
  EXPECT_FALSE(backend.DetachStateFile(error));
  EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

TEST(SimStateFile, SymbolicLinksAreFollowedAndOnlyRegularFilesReplaced) {
  namespace fs = std::filesystem;
  TempHome home;
  std::string error;
  SimState state = Unusual();
  const fs::path real = home.Root() / "real.state";
  const fs::path link = home.Root() / "link.state";
  ASSERT_TRUE(WriteFileBytes(real, "report_rate=1\n"));
  fs::create_symlink(real, link);
  ASSERT_TRUE(SimStateFile::Save(link.string(), state, error)) << error;
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link))) << "the link stays a link";
  EXPECT_NE(ReadFileBytes(real).find("report_rate=64\n"), std::string::npos);

  const fs::path fifo = home.Root() / "state.fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(SimStateFile::Save(fifo.string(), state, error));
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_fifo(fs::status(fifo))) << "a FIFO is never replaced";
  SimState loaded;
  EXPECT_FALSE(SimStateFile::Load(fifo.string(), loaded, error)) << "and never read (it blocks)";
  // A device node is neither read nor replaced; only loading is tried on a real one.
  EXPECT_FALSE(SimStateFile::Load("/dev/null", loaded, error));
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
  EXPECT_EQ(loaded, SimState{});
}

}  // namespace
}  // namespace corvane::test
