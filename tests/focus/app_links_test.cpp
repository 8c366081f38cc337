// Links between applications and profiles in the store, and the default profile.
#include <gtest/gtest.h>

#include "app/memory_key_value_store.h"
#include "focus/app_links.h"
#include "store_fixture.h"

namespace corvane::test {
namespace {

class AppLinksTest : public StoreTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Open());
    ASSERT_EQ(db_.EnsureProfiles("P", {}), 1);
  }
  std::string AppColumn(int profile) {
    return Query(DbFile("m1"), "SELECT app FROM t_profile_data WHERE profile = " +
                                   std::to_string(profile))
        .at(0);
  }
};

TEST(AppNames, AreTrimmedLowerCasedAndRefusedWhenTheyCannotBeKept) {
  EXPECT_EQ(NormalizeAppName("  Steam\t"), "steam");
  EXPECT_EQ(NormalizeAppName("org.KDE.Dolphin"), "org.kde.dolphin");
  EXPECT_EQ(NormalizeAppName("a;b"), "");      // the column's separator
  EXPECT_EQ(NormalizeAppName("a\nb"), "");     // a control character
  EXPECT_EQ(NormalizeAppName("   "), "");
  EXPECT_EQ(SplitApps(" Game ;;game;other; "), (std::vector<std::string>{"game", "other"}));
  EXPECT_EQ(JoinApps(SplitApps("b;a")), "b;a");  // order kept as linked
  EXPECT_TRUE(SplitApps("").empty());
}

TEST_F(AppLinksTest, LinkingStoresTheNameAndAnApplicationStaysOnOneProfile) {
  int moved = -1;
  EXPECT_EQ(LinkApp(db_, 2, "Quake", moved), LinkResult::kLinked);
  EXPECT_EQ(moved, 0);
  EXPECT_EQ(LinkApp(db_, 2, "doom", moved), LinkResult::kLinked);
  EXPECT_EQ(AppColumn(2), "quake;doom");
  EXPECT_EQ(LinkApp(db_, 2, "QUAKE", moved), LinkResult::kAlreadyLinked);

  // Linking it elsewhere takes it from profile 2.
  EXPECT_EQ(LinkApp(db_, 3, "quake", moved), LinkResult::kLinked);
  EXPECT_EQ(moved, 2);
  EXPECT_EQ(AppColumn(2), "doom");
  EXPECT_EQ(AppColumn(3), "quake");
  EXPECT_EQ(ReadAppLinks(db_), (AppLinks{{"doom", 2}, {"quake", 3}}));

  EXPECT_EQ(LinkApp(db_, 99, "x", moved), LinkResult::kNoProfile);
  EXPECT_EQ(LinkApp(db_, 2, "x;y", moved), LinkResult::kBadName);
  EXPECT_EQ(ReadAppLinks(db_).size(), 2u);
}

TEST_F(AppLinksTest, UnlinkingRemovesOnlyThatNameFromThatProfile) {
  int moved = 0;
  ASSERT_EQ(LinkApp(db_, 1, "a", moved), LinkResult::kLinked);
  ASSERT_EQ(LinkApp(db_, 1, "b", moved), LinkResult::kLinked);
  EXPECT_EQ(UnlinkApp(db_, 2, "a"), UnlinkResult::kNotLinked);
  EXPECT_EQ(UnlinkApp(db_, 7, "a"), UnlinkResult::kNoProfile);
  EXPECT_EQ(UnlinkApp(db_, 1, " A "), UnlinkResult::kUnlinked);
  EXPECT_EQ(AppColumn(1), "b");
  EXPECT_EQ(UnlinkApp(db_, 1, "b"), UnlinkResult::kUnlinked);
  EXPECT_EQ(AppColumn(1), "");
  EXPECT_TRUE(ReadAppLinks(db_).empty());
}

TEST_F(AppLinksTest, AHandEditedStoreWithOneNameTwiceLinksItToTheLowerId) {
  ASSERT_TRUE(Exec(DbFile("m1"), "UPDATE t_profile_data SET app = 'Game;x' WHERE profile = 3"));
  ASSERT_TRUE(Exec(DbFile("m1"), "UPDATE t_profile_data SET app = 'game' WHERE profile = 2"));
  EXPECT_EQ(ReadAppLinks(db_), (AppLinks{{"game", 2}, {"x", 3}}));
  // Linking it again repairs the file: one profile keeps it.
  int moved = 0;
  EXPECT_EQ(LinkApp(db_, 4, "game", moved), LinkResult::kLinked);
  EXPECT_EQ(AppColumn(2), "");
  EXPECT_EQ(AppColumn(3), "x");
}

TEST_F(AppLinksTest, ARefusedWriteChangesNoProfile) {
  int moved = 0;
  ASSERT_EQ(LinkApp(db_, 2, "game", moved), LinkResult::kLinked);
  // Another connection holds the write lock: the move must not half-happen.
  SQLiteDB other;
  ASSERT_TRUE(other.Open(DbFile("m1").string(), "", SQLiteDB::kOpenReadWrite));
  ASSERT_EQ(other.Execute("BEGIN EXCLUSIVE"), 0);
  EXPECT_EQ(LinkApp(db_, 3, "game", moved), LinkResult::kStoreFailed);
  EXPECT_EQ(moved, 0);
  other.Execute("ROLLBACK");
  EXPECT_EQ(ReadAppLinks(db_), (AppLinks{{"game", 2}}));
}

TEST(DefaultProfile, IsKeptPerModelAndReadsZeroWhenAbsentOrBroken) {
  MemoryKeyValueStore values;
  EXPECT_EQ(ReadDefaultProfile(values, "m1"), 0);
  EXPECT_TRUE(WriteDefaultProfile(values, "m1", 3));
  EXPECT_TRUE(WriteDefaultProfile(values, "m2", 2));
  EXPECT_EQ(ReadDefaultProfile(values, "m1"), 3);
  EXPECT_EQ(ReadDefaultProfile(values, "m2"), 2);
  ASSERT_TRUE(values.WriteText("follow_default_m1", "x3"));
  EXPECT_EQ(ReadDefaultProfile(values, "m1"), 0);
  ASSERT_TRUE(values.WriteText("follow_default_m1", "-2"));
  EXPECT_EQ(ReadDefaultProfile(values, "m1"), 0);
}

}  // namespace
}  // namespace corvane::test
