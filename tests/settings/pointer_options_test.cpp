// Pointer settings operations against a real store and a recording back end, and the
// GNOME back end against gsettings' in-memory store.
#include "settings/pointer_options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "settings/gsettings_pointer_settings.h"
#include "store/settings_database.h"
#include "support/temp_home.h"

namespace corvane {
namespace {

struct RecordingPoster : TaskPoster {
  void Post(WorkerTask task) override { tasks.push_back(task); }
  std::vector<WorkerTask> tasks;
};

// Records every call; answers `answer` (wheel lines: `wheel_answer`).
class FakePointerSettings : public PointerSettings {
 public:
  std::string Name() const override { return "fake"; }
  PointerResult SetSpeed(int speed) override { return Log("speed " + std::to_string(speed)); }
  PointerResult SetEnhancedPrecision(bool on) override {
    return Log(std::string("precision ") + (on ? "on" : "off"));
  }
  PointerResult SetWheelLines(int lines) override {
    Log("lines " + std::to_string(lines));
    return wheel_answer;
  }
  PointerResult SetDoubleClickTime(int ms) override {
    return Log("doubleclick " + std::to_string(ms));
  }
  std::vector<std::string> calls;
  PointerResult answer = PointerResult::kApplied;
  PointerResult wheel_answer = PointerResult::kApplied;

 private:
  PointerResult Log(const std::string& call) {
    calls.push_back(call);
    return answer;
  }
};

class PointerOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(store_.OpenDeviceDatabase(home_.DataHome() / "Corvane Files", "m1"));
    profile_ = store_.EnsureProfiles("Profile", {});
    ASSERT_GT(profile_, 0);
  }
  std::string Get(const char* key) { return store_.GetConfigValue(profile_, key).value_or("?"); }

  test::TempHome home_;
  SettingsDatabase store_;
  RecordingPoster poster_;
  FakePointerSettings backend_;
  PointerJob job_{backend_};
  PointerOptions pointer_{store_, poster_, job_};
  int profile_ = 0;
};

TEST(DoubleClickTime, SliderPositionsAndOtherNumbers) {
  const int expected[kDoubleClickPositions] = {900, 830, 760, 690, 620, 550,
                                               480, 410, 340, 270, 200};
  for (int position = 0; position < kDoubleClickPositions; ++position) {
    EXPECT_EQ(DoubleClickTimeForPosition(position), expected[position]) << position;
  }
  // Outside the slider the number is the time itself.
  EXPECT_EQ(DoubleClickTimeForPosition(11), 11);
  EXPECT_EQ(DoubleClickTimeForPosition(450), 450);
  EXPECT_EQ(DoubleClickTimeForPosition(-1), -1);
}

TEST_F(PointerOptionsTest, DefaultsAreStoredBeforeAnyChange) {
  EXPECT_EQ(Get("mouse_speed"), "10");
  EXPECT_EQ(Get("doubleclick_time"), "550");
  EXPECT_EQ(DoubleClickTimeForPosition(5), 550) << "the stored default is slider position 5";
}

TEST_F(PointerOptionsTest, SpeedIsStoredWhileDraggingAndAppliedByTheJobOnRelease) {
  EXPECT_EQ(pointer_.ChangeSpeed(0, 4, false), 5);
  EXPECT_EQ(Get("mouse_speed"), "5");
  EXPECT_TRUE(poster_.tasks.empty());
  EXPECT_TRUE(backend_.calls.empty());
  EXPECT_EQ(pointer_.ChangeSpeed(2, 13, true), 16);
  EXPECT_EQ(Get("mouse_speed"), "16");
  EXPECT_EQ(poster_.tasks, std::vector<WorkerTask>{WorkerTask::kPointerSettings});
  EXPECT_TRUE(backend_.calls.empty()) << "the desktop is changed by the job, not the page";
  EXPECT_EQ(job_.Run(), PointerResult::kApplied);
  EXPECT_EQ(backend_.calls, std::vector<std::string>{"speed 16"});
  // Positions beyond the range stay within 1..20.
  EXPECT_EQ(pointer_.ChangeSpeed(0, 40, false), kMaxPointerSpeed);
  EXPECT_EQ(pointer_.ChangeSpeed(0, -9, false), kMinPointerSpeed);
}

TEST_F(PointerOptionsTest, PrecisionIsAppliedAtOnceAndStored) {
  EXPECT_EQ(pointer_.SetEnhancedPrecision(false), PointerResult::kApplied);
  EXPECT_EQ(Get("mouse_sensitivity"), "0");
  EXPECT_EQ(pointer_.SetEnhancedPrecision(true), PointerResult::kApplied);
  EXPECT_EQ(Get("mouse_sensitivity"), "1");
  EXPECT_EQ(backend_.calls, (std::vector<std::string>{"precision off", "precision on"}));
  EXPECT_TRUE(poster_.tasks.empty());
}

TEST_F(PointerOptionsTest, TypedLinesAreClampedToOneToTwenty) {
  EXPECT_EQ(PointerOptions::ClampWheelLines("0"), 1);
  EXPECT_EQ(PointerOptions::ClampWheelLines("-4"), 1);
  EXPECT_EQ(PointerOptions::ClampWheelLines("abc"), 1);
  EXPECT_EQ(PointerOptions::ClampWheelLines("7"), 7);
  EXPECT_EQ(PointerOptions::ClampWheelLines("20"), 20);
  EXPECT_EQ(PointerOptions::ClampWheelLines("50"), 20);
  EXPECT_EQ(pointer_.ConfirmWheelLines("50"), PointerResult::kApplied);
  EXPECT_EQ(Get("wheel_scrolllines"), "20");
  EXPECT_EQ(backend_.calls, std::vector<std::string>{"lines 20"});
}

TEST_F(PointerOptionsTest, PageScrollingStoresNoLinesAndLinesComeBackAsThree) {
  ScrollModeView page = pointer_.ChooseScrollMode(true);
  EXPECT_EQ(page.lines, 0);
  EXPECT_FALSE(page.edit_enabled);
  EXPECT_EQ(Get("wheel_scrollflag"), "0");
  EXPECT_EQ(Get("wheel_scrolllines"), "0");
  ScrollModeView lines = pointer_.ChooseScrollMode(false);
  EXPECT_EQ(lines.lines, kDefaultWheelLines);
  EXPECT_TRUE(lines.edit_enabled);
  EXPECT_EQ(Get("wheel_scrollflag"), "1");
  EXPECT_EQ(Get("wheel_scrolllines"), "3");
  EXPECT_EQ(backend_.calls, (std::vector<std::string>{"lines 0", "lines 3"}));
}

TEST_F(PointerOptionsTest, WheelSliderAndDoubleClickGoThroughTheJob) {
  pointer_.ReleaseWheelSlider(1, 5);
  EXPECT_EQ(job_.Run(), PointerResult::kApplied);
  EXPECT_EQ(pointer_.ChangeDoubleClick(8), 340);
  EXPECT_EQ(Get("doubleclick_time"), "340");
  EXPECT_EQ(job_.Run(), PointerResult::kApplied);
  EXPECT_EQ(backend_.calls, (std::vector<std::string>{"lines 6", "doubleclick 340"}));
  EXPECT_EQ(poster_.tasks.size(), 2u);
}

TEST_F(PointerOptionsTest, AnUnsupportedSettingIsReportedAndStillStored) {
  backend_.wheel_answer = PointerResult::kNotSupported;
  EXPECT_EQ(pointer_.ChooseScrollMode(true).result, PointerResult::kNotSupported);
  EXPECT_EQ(Get("wheel_scrollflag"), "0");
  // A job without a pending action applies nothing and says so.
  PointerJob idle(backend_);
  EXPECT_EQ(idle.Run(), PointerResult::kNotSupported);
  EXPECT_EQ(idle.LastResult(), PointerResult::kNotSupported);
  UnsupportedPointerSettings none;
  PointerJob unsupported(none);
  PointerOptions elsewhere(store_, poster_, unsupported);
  EXPECT_EQ(elsewhere.SetEnhancedPrecision(false), PointerResult::kNotSupported);
  elsewhere.ChangeDoubleClick(0);
  EXPECT_EQ(unsupported.Run(), PointerResult::kNotSupported);
  EXPECT_EQ(Get("doubleclick_time"), "900");
}

TEST(GnomeSpeed, MiddleIsZeroAndTheEndsStayInRange) {
  EXPECT_DOUBLE_EQ(GSettingsPointerSettings::GnomeSpeed(10), 0.0);
  EXPECT_DOUBLE_EQ(GSettingsPointerSettings::GnomeSpeed(20), 1.0);
  EXPECT_DOUBLE_EQ(GSettingsPointerSettings::GnomeSpeed(1), -0.9);
  EXPECT_DOUBLE_EQ(GSettingsPointerSettings::GnomeSpeed(0), -1.0);
  EXPECT_DOUBLE_EQ(GSettingsPointerSettings::GnomeSpeed(99), 1.0);
}

// The value gsettings now reports for `key` of the mouse schema.
std::string ReadGnomeMouse(const std::string& key) {
  const std::string command = std::string("gsettings get ") + kGnomeMouseSchema + " " + key;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "";
  char buffer[128] = {};
  std::string text = fgets(buffer, sizeof buffer, pipe) != nullptr ? buffer : "";
  pclose(pipe);
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

TEST(GSettingsPointerSettings, WritesTheGnomeMouseSchema) {
  // gsettings' memory back end forgets everything when the tool exits, so the values are
  // read back through its keyfile back end, kept in this test's own config folder.
  test::TempHome home;
  setenv("GSETTINGS_BACKEND", "keyfile", 1);
  setenv("XDG_CONFIG_HOME", home.Root().c_str(), 1);
  GSettingsPointerSettings gnome;
  if (!gnome.Available()) {
    GTEST_SKIP() << "gsettings or the org.gnome.desktop.peripherals.mouse schema is missing "
                    "(Debian: libglib2.0-bin, gsettings-desktop-schemas)";
  }
  EXPECT_EQ(gnome.SetSpeed(15), PointerResult::kApplied);
  EXPECT_EQ(ReadGnomeMouse("speed"), "0.5");
  EXPECT_EQ(gnome.SetEnhancedPrecision(false), PointerResult::kApplied);
  EXPECT_EQ(ReadGnomeMouse("accel-profile"), "'flat'");
  EXPECT_EQ(gnome.SetEnhancedPrecision(true), PointerResult::kApplied);
  EXPECT_EQ(ReadGnomeMouse("accel-profile"), "'adaptive'");
  EXPECT_EQ(gnome.SetDoubleClickTime(340), PointerResult::kApplied);
  EXPECT_EQ(ReadGnomeMouse("double-click"), "340");
  EXPECT_EQ(gnome.SetWheelLines(3), PointerResult::kNotSupported);
  GSettingsPointerSettings missing("/nonexistent/gsettings");
  EXPECT_FALSE(missing.Available());
  EXPECT_EQ(missing.SetSpeed(10), PointerResult::kFailed);
  unsetenv("GSETTINGS_BACKEND");
}

}  // namespace
}  // namespace corvane
