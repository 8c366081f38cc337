// Rows are read by column name: a database whose tables list their columns in another
// order (made by another version, or rebuilt by hand) reads back the same records.
#include <gtest/gtest.h>

#include "store_fixture.h"

namespace corvane::test {
namespace {

TEST_F(StoreTest, RowsAreReadByColumnNameWhateverTheTableOrder) {
  ASSERT_TRUE(Open());
  const int profile = db_.EnsureProfiles("Profile", {});
  ASSERT_GT(profile, 0);
  LightRecord light;
  light.profile = profile;
  light.name = "steady";
  light.mode = 3;
  light.brightness = 2;
  light.speed = 4;
  light.color_value1 = 255;
  light.color_value7 = 16777215;
  light.config_func = 0x11;
  light.reserved = 282;
  ASSERT_GT(db_.AddLight(light), 0);
  const std::vector<ProfileRecord> profiles = db_.GetProfiles();
  ASSERT_FALSE(profiles.empty());

  ASSERT_TRUE(Exec(DbFile("m1"),
                   "CREATE TABLE p2 (type INTEGER, app TEXT, status INTEGER, name TEXT, "
                   "profile INTEGER PRIMARY KEY AUTOINCREMENT);"
                   "INSERT INTO p2 (type, app, status, name, profile) "
                   "SELECT type, app, status, name, profile FROM t_profile_data;"
                   "DROP TABLE t_profile_data; ALTER TABLE p2 RENAME TO t_profile_data;"
                   "CREATE TABLE l2 AS SELECT status, reserved, config_func, color_value7, "
                   "color_value6, color_value5, color_value4, color_value3, color_value2, "
                   "color_value1, colorindex, colorful, direction, speed, brightness, mode, name, "
                   "profile, light_id FROM t_light_data;"
                   "DROP TABLE t_light_data; ALTER TABLE l2 RENAME TO t_light_data;"));

  const std::vector<ProfileRecord> reread = db_.GetProfiles();
  ASSERT_EQ(reread.size(), profiles.size());
  for (size_t i = 0; i < profiles.size(); ++i) {
    EXPECT_EQ(reread[i].profile, profiles[i].profile);
    EXPECT_EQ(reread[i].name, profiles[i].name);
    EXPECT_EQ(reread[i].status, profiles[i].status);
  }
  const std::optional<LightRecord> row = db_.GetLight(profile, 3);
  ASSERT_TRUE(row.has_value());
  EXPECT_EQ(row->name, "steady");
  EXPECT_EQ(row->brightness, 2);
  EXPECT_EQ(row->speed, 4);
  EXPECT_EQ(row->color_value1, 255);
  EXPECT_EQ(row->color_value7, 16777215);
  EXPECT_EQ(row->config_func, 0x11);
  EXPECT_EQ(row->reserved, 282);
}

}  // namespace
}  // namespace corvane::test
