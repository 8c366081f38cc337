// Shared fixture of the settings page tests: a private home with an open settings
// database, a task recorder, a fake clock and a text lookup that names each id.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/macro_clock.h"
#include "settings/settings_texts.h"
#include "store/settings_database.h"
#include "support/recording_poster.h"
#include "support/temp_home.h"

namespace corvane::test {

class FakeClock : public MacroClock {
 public:
  uint32_t NowMs() override { return now; }
  uint32_t now = 1000;
};

// Text id 139 reads "T139".
inline TextLookup IdTexts() {
  return [](int id) { return "T" + std::to_string(id); };
}

class SettingsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.OpenDeviceDatabase(home.DataHome(), "TestMouse"));
  }

  TempHome home;
  SettingsDatabase db;
  RecordingPoster poster;
  FakeClock clock;
  static constexpr int kProfile = 1;
};

}  // namespace corvane::test
