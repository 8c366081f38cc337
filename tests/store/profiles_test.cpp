// Profiles: the four default profiles of a new database, activation and renaming.
#include <gtest/gtest.h>

#include "store/config_defaults.h"
#include "store_fixture.h"

namespace corvane::test {
namespace {

const DeviceConfigDefaults kDeviceDefaults = {{"dpi_index", "2"},
                                              {"dpi_flag", "5"},
                                              {"dpi_count", "5"},
                                              {"dpi_group0_value", "400"},
                                              {"dpi_group0_rgb", "8421504"},
                                              {"report_rate", "1"},
                                              {"sleep_light", "6"},
                                              {"move_wakeup", "0"},
                                              {"move_closelight", "0"}};

using ProfileTest = StoreTest;

TEST_F(ProfileTest, FreshDatabaseGetsFourNamedProfilesWithDeviceDefaults) {
  ASSERT_TRUE(Open());
  EXPECT_EQ(db_.EnsureProfiles("Profile", kDeviceDefaults), 1);
  std::vector<ProfileRecord> profiles = db_.GetProfiles();
  ASSERT_EQ(profiles.size(), 4u);
  for (int n = 1; n <= 4; ++n) {
    const ProfileRecord& p = profiles[n - 1];
    EXPECT_EQ(p.profile, n);
    EXPECT_EQ(p.name, "Profile " + std::to_string(n));
    EXPECT_EQ(p.status, n == 1 ? 1 : 0);
    EXPECT_EQ(p.app, "");
    EXPECT_EQ(p.type, 0);
    auto values = db_.GetConfigValues(n);
    ASSERT_EQ(values.size(), kConfigKeyCount);
    for (size_t i = 0; i < values.size(); ++i) {
      EXPECT_EQ(values[i].first, DefaultConfigRows()[i].key);
      auto device = kDeviceDefaults.find(values[i].first);
      std::string_view expected =
          device != kDeviceDefaults.end() ? device->second : DefaultConfigRows()[i].value;
      EXPECT_EQ(values[i].second, expected) << values[i].first;
    }
  }
  EXPECT_EQ(db_.GetActiveProfile(), 1);
}

TEST_F(ProfileTest, EnsureProfilesIsIdempotentAndRepairsAMissingActiveProfile) {
  ASSERT_TRUE(Open());
  db_.EnsureProfiles("P", {});
  ASSERT_TRUE(db_.SetActiveProfile(3));
  EXPECT_EQ(db_.EnsureProfiles("P", {}), 3);
  EXPECT_EQ(db_.GetProfiles().size(), 4u);
  ASSERT_TRUE(Exec(DbFile("m1"), "UPDATE t_profile_data SET status = 0"));
  EXPECT_EQ(db_.GetActiveProfile(), 0);
  EXPECT_EQ(db_.EnsureProfiles("P", {}), 1);
  // Without a profile 1, the lowest remaining id is made active.
  ASSERT_TRUE(Exec(DbFile("m1"), "DELETE FROM t_profile_data WHERE profile = 1"));
  ASSERT_TRUE(Exec(DbFile("m1"), "UPDATE t_profile_data SET status = 0"));
  EXPECT_EQ(db_.EnsureProfiles("P", {}), 2);
}

TEST_F(ProfileTest, EmptyNameBaseAndReusedIdsStillGiveFourUsableProfiles) {
  ASSERT_TRUE(Open());
  EXPECT_EQ(db_.EnsureProfiles("", {}), 1);
  EXPECT_EQ(db_.GetProfileName(4), " 4");
  // Rows removed behind our back: AUTOINCREMENT hands out 5..8, not 1..4.
  ASSERT_TRUE(Exec(DbFile("m1"), "DELETE FROM t_profile_data"));
  EXPECT_EQ(db_.EnsureProfiles("Q", {{"report_rate", "1"}}), 5);
  EXPECT_EQ(db_.GetProfileName(8), "Q 4");
  EXPECT_EQ(db_.GetConfigValue(8, "report_rate"), "1");
}

TEST_F(ProfileTest, SetActiveProfileLeavesExactlyOneActive) {
  ASSERT_TRUE(Open());
  db_.EnsureProfiles("P", {});
  ASSERT_TRUE(db_.SetActiveProfile(3));
  auto active = Query(DbFile("m1"), "SELECT profile FROM t_profile_data WHERE status = 1");
  EXPECT_EQ(active, std::vector<std::string>{"3"});
  // An unknown id is refused and the current choice stays.
  EXPECT_FALSE(db_.SetActiveProfile(9));
  EXPECT_FALSE(db_.SetActiveProfile(0));
  EXPECT_EQ(db_.GetActiveProfile(), 3);
}

TEST_F(ProfileTest, EmptyTableAndRenames) {
  ASSERT_TRUE(Open());
  EXPECT_TRUE(db_.GetProfiles().empty());
  EXPECT_EQ(db_.GetActiveProfile(), 0);
  EXPECT_FALSE(db_.GetProfileName(1).has_value());
  EXPECT_FALSE(db_.RenameProfile(1, "x"));
  db_.EnsureProfiles("P", {});
  const std::string name = "\xE9\x85\x8D\xE7\xBD\xAE\xE6\x96\x87\xE4\xBB\xB6 \xF0\x9F\x96\xB1";
  EXPECT_TRUE(db_.RenameProfile(2, name));
  EXPECT_EQ(db_.GetProfileName(2), name);
  EXPECT_EQ(Query(DbFile("m1"), "SELECT hex(name) FROM t_profile_data WHERE profile = 2"),
            std::vector<std::string>{"E9858DE7BDAEE69687E4BBB620F09F96B1"});
  EXPECT_EQ(db_.GetProfileName(1), "P 1");
  // A name from a file (an imported file's name, a language text) never carries a line
  // break or another control character into the table.
  EXPECT_TRUE(db_.RenameProfile(3, "two\nlines\r\t"));
  EXPECT_EQ(db_.GetProfileName(3), "two lines  ");
}

TEST_F(ProfileTest, ControlCharactersOfTheNameBaseAreNotStored) {
  ASSERT_TRUE(Open());
  db_.EnsureProfiles("Pro\nfile\x1B", {});
  ASSERT_FALSE(db_.GetProfiles().empty());
  EXPECT_EQ(db_.GetProfiles().front().name, "Pro file  1");
}

TEST_F(ProfileTest, AddProfileReturnsNewIdsAndZeroOnFailure) {
  ASSERT_TRUE(Open());
  ProfileRecord record;
  record.name = "extra";
  record.status = 1;  // status is always written inactive
  int id = db_.AddProfile(record);
  EXPECT_EQ(id, 1);
  EXPECT_EQ(db_.GetProfiles().at(0).status, 0);
  EXPECT_EQ(db_.AddProfile(record), 2);
  ASSERT_TRUE(Exec(DbFile("m1"), "DROP TABLE t_profile_data"));
  EXPECT_EQ(db_.AddProfile(record), 0);
  // No configuration rows for a profile that was never made.
  EXPECT_TRUE(db_.GetConfigValues(0).empty());
}

}  // namespace
}  // namespace corvane::test
