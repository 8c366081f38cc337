// A private settings store with four profiles for the exchange tests, and the golden
// file comparison that leaves the actual bytes in the build folder when they differ.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/settings_texts.h"
#include "store/settings_database.h"
#include "support/recording_poster.h"
#include "support/temp_home.h"

namespace corvane::test {

class ExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db_.OpenDeviceDatabase(home_.DataHome(), "exchange_test"));
    ASSERT_GT(db_.EnsureProfiles("Profile", {}), 0);
    const std::vector<ProfileRecord> profiles = db_.GetProfiles();
    ASSERT_GE(profiles.size(), 2u);
    first_ = profiles[0].profile;
    second_ = profiles[1].profile;
  }

  std::filesystem::path File(const std::string& name) const { return home_.Root() / name; }
  std::string Config(int profile, const char* key) const {
    return db_.GetConfigValue(profile, key).value_or("<missing>");
  }
  void Assign(int profile, int key_code, int type, int value, int value2, const std::string& desc) {
    KeyAssignRecord record;
    record.profile = profile;
    record.key_code = key_code;
    record.macro_type = type;
    record.macro_value = value;
    record.macro_value2 = value2;
    record.macro_desc = desc;
    ASSERT_GT(db_.SaveKeyAssign(record), 0);
  }
  void AddLightRow(int profile, int mode, int brightness, int colour) {
    LightRecord row;
    row.profile = profile;
    row.name = "Mode " + std::to_string(mode);
    row.mode = mode;
    row.brightness = brightness;
    row.speed = 2;
    row.colorful = 1;
    row.color_value1 = colour;
    ASSERT_GT(db_.AddLight(row), 0);
  }

  TempHome home_;
  SettingsDatabase db_;
  // The English words of the name rules; other ids read "T<id>".
  TextLookup texts_ = [](int id) -> std::string {
    switch (id) {
      case 61:
        return "Profile";
      case 351:
        return "Custom";
      case 31:
        return "Copy";
      default:
        return "T" + std::to_string(id);
    }
  };
  int first_ = 0;
  int second_ = 0;
  RecordingPoster poster_;
};

// Compares `actual` with tests/data/exchange/<name>; on a difference writes the actual
// bytes to <build>/<name>.actual for inspection.
inline void ExpectGolden(const std::string& actual, const std::string& name) {
  const std::string expected =
      ReadFileBytes(std::filesystem::path(CORVANE_TEST_DATA_DIR) / "exchange" / name);
  if (actual == expected) return;
  const std::filesystem::path out =
      std::filesystem::path(CORVANE_EXCHANGE_ACTUAL_DIR) / (name + ".actual");
  WriteFileBytes(out, actual);
  ADD_FAILURE() << name << " differs from the expected file; actual bytes in " << out;
}

}  // namespace corvane::test
