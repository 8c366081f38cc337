// Typed reads and writes of configuration keys, and the key names a new profile's rows
// carry in the file (databases made before keep working only while these stay the same).
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "store/config_keys.h"
#include "store/store_error.h"
#include "store_fixture.h"

namespace corvane::test {
namespace {

class ConfigReadsTest : public StoreTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Open());
    profile_ = db_.AddProfile(ProfileRecord{});
    ASSERT_GT(profile_, 0);
  }
  int profile_ = 0;
};

TEST_F(ConfigReadsTest, IntReadsFallBackWhenTheKeyIsMissingOrHoldsNoNumber) {
  EXPECT_EQ(db_.GetConfigInt(profile_, kDpiCountKey, -1), 6);  // the built-in row
  EXPECT_EQ(db_.GetConfigInt(profile_, "no_such_key", 42), 42);
  EXPECT_EQ(db_.GetConfigInt(profile_ + 7, kDpiCountKey, 42), 42);  // no such profile
  for (const char* text : {"", "abc", "-", " ", "x12"}) {
    ASSERT_TRUE(db_.SetConfigValue(profile_, kSensorFlagKey, text));
    EXPECT_EQ(db_.GetConfigInt(profile_, kSensorFlagKey, 53), 53) << '"' << text << '"';
  }
  // A stored 0 is a number, not a missing value.
  ASSERT_TRUE(db_.SetConfigValue(profile_, kSensorFlagKey, "0"));
  EXPECT_EQ(db_.GetConfigInt(profile_, kSensorFlagKey, 53), 0);
  // Digits followed by other text read as the pages always read them.
  ASSERT_TRUE(db_.SetConfigValue(profile_, kSensorFlagKey, " -12x"));
  EXPECT_EQ(db_.GetConfigInt(profile_, kSensorFlagKey, 53), -12);
  EXPECT_EQ(db_.TakeError(), StoreError::kNone) << "a missing key is not a failure";
}

TEST_F(ConfigReadsTest, TextReadsFallBackOnlyWhenTheKeyIsMissing) {
  EXPECT_EQ(db_.GetConfigText(profile_, kConfigVersionKey, "?"), "1.0.1");
  EXPECT_EQ(db_.GetConfigText(profile_, "no_such_key", "?"), "?");
  EXPECT_EQ(db_.GetConfigText(profile_ + 7, kDpiCountKey, "?"), "?");
  ASSERT_TRUE(db_.SetConfigValue(profile_, kLiftoffHeightKey, ""));
  EXPECT_EQ(db_.GetConfigText(profile_, kLiftoffHeightKey, "?"), "");
}

TEST_F(ConfigReadsTest, IntWritesRoundTripAsDecimalText) {
  for (int value : {16, 0, -5, INT_MAX, INT_MIN}) {
    ASSERT_TRUE(db_.SetConfigInt(profile_, kReportRateKey, value));
    EXPECT_EQ(db_.GetConfigInt(profile_, kReportRateKey, 1), value);
    EXPECT_EQ(db_.GetConfigText(profile_, kReportRateKey, ""), std::to_string(value));
  }
  // A write never creates a row, so the read still falls back.
  EXPECT_FALSE(db_.SetConfigInt(profile_, "no_such_key", 3));
  EXPECT_EQ(db_.GetConfigInt(profile_, "no_such_key", 9), 9);
}

TEST_F(ConfigReadsTest, AReadTheStoreCouldNotRunFallsBackAndIsReported) {
  ASSERT_EQ(db_.TakeError(), StoreError::kNone);
  ASSERT_TRUE(Exec(DbFile("m1"), "ALTER TABLE t_configdata RENAME TO gone"));
  EXPECT_EQ(db_.GetConfigInt(profile_, kDpiCountKey, 4), 4);
  EXPECT_EQ(db_.GetConfigText(profile_, kDpiCountKey, "4"), "4");
  EXPECT_EQ(db_.TakeError(), StoreError::kOther);
}

TEST_F(ConfigReadsTest, ANewProfileStoresTheseKeysAndValuesInThisOrder) {
  // clang-format off
  const std::vector<std::string> expected = {
      "version=1.0.1", "sleep_light=1", "move_wakeup=1", "move_closelight=1",
      "report_rate=2", "report_rate_wireless=1", "report_count=4", "report_flag=127",
      "button_respondtime=8", "sensor_flag=53", "liftoff_height=1", "scroll_flag=1",
      "e-sports_flag=0", "leftbtn_lock=1", "dpi_flag=6", "dpi_index=1", "dpi_count=6",
      "dpi_group0_value=800", "dpi_group1_value=1600", "dpi_group2_value=2400",
      "dpi_group3_value=3200", "dpi_group4_value=6400", "dpi_group5_value=26000",
      "dpi_group6_value=26000", "dpi_group7_value=0",
      "dpi_group0_rgb=255", "dpi_group1_rgb=16711680", "dpi_group2_rgb=65280",
      "dpi_group3_rgb=65535", "dpi_group4_rgb=16711935", "dpi_group5_rgb=16776960",
      "dpi_group6_rgb=16712191", "dpi_group7_rgb=16777215", "dpi_group8_rgb=2139135",
      "mouse_speed=10", "mouse_sensitivity=1", "wheel_scrollflag=0", "wheel_scrolllines=3",
      "doubleclick_time=550"};
  // clang-format on
  EXPECT_EQ(Query(DbFile("m1"), "SELECT key || '=' || value FROM t_configdata WHERE profile = " +
                                    std::to_string(profile_) + " ORDER BY config_id"),
            expected);
}

TEST_F(ConfigReadsTest, StageKeyNamesReachEverySlotAndNothingBeyond) {
  for (int slot = 0; slot < kDpiColourSlots; ++slot) {
    EXPECT_EQ(db_.GetConfigValue(profile_, DpiStageValueKey(slot)).has_value(),
              slot < kDpiValueSlots)
        << slot;
    EXPECT_TRUE(db_.GetConfigValue(profile_, DpiStageColourKey(slot)).has_value()) << slot;
  }
  EXPECT_EQ(DpiStageValueKey(3), "dpi_group3_value");
  EXPECT_EQ(DpiStageColourKey(3), "dpi_group3_rgb");
  for (int slot : {-1, kDpiColourSlots, 100}) {
    EXPECT_FALSE(db_.GetConfigValue(profile_, DpiStageValueKey(slot)).has_value()) << slot;
    EXPECT_FALSE(db_.GetConfigValue(profile_, DpiStageColourKey(slot)).has_value()) << slot;
  }
}

}  // namespace
}  // namespace corvane::test
