// The battery warning rule: a falling level warns once per threshold, charging and
// cabled mice never warn, a threshold warns again only after the level rose above it, and
// the stored settings fall back to their defaults when unusable.
#include "settings/battery_warnings.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/memory_key_value_store.h"

namespace corvane {
namespace {

constexpr bool kWireless = true;

// Feeds `levels` (discharging unless `charging`) and returns the warned levels.
std::vector<int> WarnedLevels(BatteryWarnings& warnings, const std::vector<int>& levels,
                              int charging = 0, bool wireless = kWireless,
                              const BatteryWarningSettings& settings = {}) {
  std::vector<int> warned;
  for (int level : levels) {
    if (auto warning = warnings.Update({level, charging}, wireless, settings)) {
      warned.push_back(warning->level);
    }
  }
  return warned;
}

std::vector<int> Falling(int from, int to) {
  std::vector<int> levels;
  for (int level = from; level >= to; --level) levels.push_back(level);
  return levels;
}

TEST(BatteryWarningsTest, AFallFromTwentyToFourWarnsAtFifteenAndAtFive) {
  BatteryWarnings warnings;
  std::vector<BatteryWarnings::Warning> given;
  for (int level : Falling(20, 4)) {
    if (auto warning = warnings.Update({level, 0}, kWireless, {})) given.push_back(*warning);
  }
  ASSERT_EQ(given.size(), 2u);
  EXPECT_EQ(given[0].level, 15);
  EXPECT_EQ(given[0].threshold, 15);
  EXPECT_FALSE(given[0].critical);
  EXPECT_EQ(given[1].level, 5);
  EXPECT_EQ(given[1].threshold, 5);
  EXPECT_TRUE(given[1].critical);
  EXPECT_TRUE(warnings.Low());
}

TEST(BatteryWarningsTest, RepeatsAndSmallRisesBelowTheThresholdDoNotWarnAgain) {
  BatteryWarnings warnings;
  EXPECT_EQ(WarnedLevels(warnings, {16, 15, 15, 14, 15, 13, 15, 12}), (std::vector<int>{15}));
  // Above the threshold once: the next fall warns again.
  EXPECT_EQ(WarnedLevels(warnings, {16, 15}), (std::vector<int>{15}));
}

TEST(BatteryWarningsTest, AJumpAcrossBothThresholdsGivesOneCriticalWarning) {
  BatteryWarnings warnings;
  auto warning = warnings.Update({40, 0}, kWireless, {});
  EXPECT_FALSE(warning);
  warning = warnings.Update({3, 0}, kWireless, {});
  ASSERT_TRUE(warning);
  EXPECT_EQ(warning->threshold, 5);
  EXPECT_TRUE(warning->critical);
  EXPECT_TRUE(WarnedLevels(warnings, {4, 2, 1}).empty());
}

TEST(BatteryWarningsTest, ChargingCabledAndPlaceholderReportsNeverWarn) {
  BatteryWarnings charging;
  EXPECT_TRUE(WarnedLevels(charging, Falling(20, 1), kBatteryCharging).empty());
  EXPECT_FALSE(charging.Low());
  BatteryWarnings cabled;
  EXPECT_TRUE(WarnedLevels(cabled, Falling(20, 1), 0, !kWireless).empty());
  // The read-back shows the previous level with a full counterpart until the mouse answers,
  // and a link report without battery or a mouse that is off shows 0.
  BatteryWarnings placeholder;
  EXPECT_TRUE(WarnedLevels(placeholder, {0, 3, 10}, 100).empty());
  EXPECT_TRUE(WarnedLevels(placeholder, {0, 0}).empty());
  EXPECT_FALSE(placeholder.Low());
}

TEST(BatteryWarningsTest, ChargingBelowAThresholdKeepsItsStateUntilTheLevelRisesAbove) {
  BatteryWarnings warnings;
  EXPECT_EQ(WarnedLevels(warnings, {16, 14}), (std::vector<int>{14}));
  // Charged up to 14 only, then unplugged: still the same crossing.
  EXPECT_TRUE(WarnedLevels(warnings, {14}, kBatteryCharging).empty());
  EXPECT_TRUE(WarnedLevels(warnings, {13}).empty());
  // Charged above it: the next fall warns.
  EXPECT_TRUE(WarnedLevels(warnings, {30}, kBatteryCharging).empty());
  EXPECT_EQ(WarnedLevels(warnings, {20, 15}), (std::vector<int>{15}));
  // A mouse first seen already low, not charging, warns once.
  BatteryWarnings fresh;
  EXPECT_EQ(WarnedLevels(fresh, {9, 9, 8}), (std::vector<int>{9}));
}

TEST(BatteryWarningsTest, WarningsSwitchedOffTakeNoteWithoutWarning) {
  BatteryWarnings warnings;
  BatteryWarningSettings off;
  off.enabled = false;
  EXPECT_TRUE(WarnedLevels(warnings, Falling(20, 10), 0, kWireless, off).empty());
  EXPECT_TRUE(warnings.Low());
  // Switched on at 10: the crossing of 15 is old news; 5 is still to come.
  EXPECT_EQ(WarnedLevels(warnings, Falling(10, 4)), (std::vector<int>{5}));
  warnings.Reset();
  EXPECT_FALSE(warnings.Low());
  EXPECT_EQ(WarnedLevels(warnings, {4}), (std::vector<int>{4}));
}

TEST(BatteryWarningsTest, ThresholdsComeFromTheSettings) {
  BatteryWarnings warnings;
  BatteryWarningSettings settings;
  settings.low = 30;
  settings.critical = 10;
  EXPECT_EQ(WarnedLevels(warnings, Falling(35, 4), 0, kWireless, settings),
            (std::vector<int>{30, 10}));
}

TEST(BatteryWarningSettingsTest, DefaultsOnOffBoxAndUnusableValues) {
  MemoryKeyValueStore values;
  BatteryWarningSettings settings = ReadBatteryWarningSettings(values);
  EXPECT_TRUE(settings.enabled);
  EXPECT_EQ(settings.low, 15);
  EXPECT_EQ(settings.critical, 5);
  EXPECT_EQ(values.Probe(), KeyValueStore::KeyState::kMissing);  // reading created nothing

  ASSERT_TRUE(WriteBatteryWarningsEnabled(values, false));
  EXPECT_EQ(values.ReadText(kValueBatteryWarnings), "0");
  EXPECT_FALSE(ReadBatteryWarningSettings(values).enabled);
  ASSERT_TRUE(WriteBatteryWarningsEnabled(values, true));
  EXPECT_TRUE(ReadBatteryWarningSettings(values).enabled);

  ASSERT_TRUE(values.WriteText(kValueBatteryLowLevel, "25"));
  ASSERT_TRUE(values.WriteText(kValueBatteryCriticalLevel, "8"));
  settings = ReadBatteryWarningSettings(values);
  EXPECT_EQ(settings.low, 25);
  EXPECT_EQ(settings.critical, 8);
  for (const char* bad : {"0", "-3", "100", "7x", "", "1e1"}) {
    ASSERT_TRUE(values.WriteText(kValueBatteryCriticalLevel, bad));
    EXPECT_EQ(ReadBatteryWarningSettings(values).critical, 5) << bad;
  }
}

TEST(BatteryWarningTextTest, LineNamesModelLevelAndCharging) {
  EXPECT_EQ(BatteryLine("Kestrel", "Battery level", 15, "Charging", false),
            "Kestrel \u2014 Battery level: 15%");
  EXPECT_EQ(BatteryLine("Kestrel", "Akku", 80, "Lädt", true), "Kestrel \u2014 Akku: 80% (Lädt)");
}

TEST(BatteryWarningTextTest, GaugeSaysItsLevelAndChargingOnlyWhileCharging) {
  EXPECT_EQ(BatteryGaugeText("Battery level", 90, "Charging", true),
            "Battery level: 90% (Charging)");
  EXPECT_EQ(BatteryGaugeText("电量", 100, "充电中", false), "电量: 100%");
}

}  // namespace
}  // namespace corvane
