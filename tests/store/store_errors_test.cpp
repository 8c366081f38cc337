// Why the store refused: every failed operation leaves its cause (busy, full, read-only)
// for the caller to report, and a Transaction is all-or-nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "store/store_error.h"
#include "store_fixture.h"
#include "support/small_disk.h"

namespace corvane::test {
namespace {

using StoreErrorsTest = StoreTest;

TEST(StoreErrorWordsTest, SqliteResultsMapToWhatTheUserCanActOn) {
  struct Case {
    int result;
    StoreError error;
  };
  const Case cases[] = {{0, StoreError::kNone},        {100, StoreError::kNone},
                        {101, StoreError::kNone},      {5, StoreError::kBusy},
                        {5 | (2 << 8), StoreError::kBusy},  // SQLITE_BUSY_SNAPSHOT
                        {6, StoreError::kBusy},        {13, StoreError::kFull},
                        {8, StoreError::kReadOnly},    {8 | (6 << 8), StoreError::kReadOnly},
                        {14, StoreError::kReadOnly},   {11, StoreError::kOther},
                        {19, StoreError::kOther}};
  for (const Case& c : cases) EXPECT_EQ(ClassifySqliteResult(c.result), c.error) << c.result;
  EXPECT_EQ(StoreErrorMessage(StoreError::kFull, "/x.db"), "disk full: /x.db");
  EXPECT_EQ(StoreErrorMessage(StoreError::kReadOnly, "/x.db"), "read-only: /x.db");
  EXPECT_EQ(StoreErrorMessage(StoreError::kBusy, "/x.db").rfind("database busy", 0), 0u);
}

TEST_F(StoreErrorsTest, AWriterHoldingTheFileMakesWritesFailAsBusy) {
  ASSERT_TRUE(Open());
  const int profile = db_.EnsureProfiles("Profile", {});
  ASSERT_GT(profile, 0);
  EXPECT_EQ(db_.TakeError(), StoreError::kNone);
  SQLiteDB other;
  ASSERT_TRUE(other.Open(DbFile("m1").string(), "", SQLiteDB::kOpenReadWrite));
  ASSERT_EQ(other.Execute("BEGIN IMMEDIATE"), 0);
  EXPECT_FALSE(db_.SetConfigValue(profile, "dpi_count", "3"));
  EXPECT_FALSE(db_.DeleteKeyAssigns(profile));
  EXPECT_EQ(db_.TakeError(), StoreError::kBusy);
  EXPECT_EQ(db_.TakeError(), StoreError::kNone) << "taken once";
  other.Execute("ROLLBACK");
  EXPECT_TRUE(db_.SetConfigValue(profile, "dpi_count", "3"));
  EXPECT_EQ(db_.TakeError(), StoreError::kNone);
}

TEST_F(StoreErrorsTest, ATransactionIsUndoneUnlessCommitted) {
  ASSERT_TRUE(Open());
  const int profile = db_.EnsureProfiles("Profile", {});
  {
    SettingsDatabase::Transaction transaction(db_);
    ASSERT_TRUE(transaction.IsActive());
    ASSERT_TRUE(db_.RenameProfile(profile, "Changed"));
    ASSERT_TRUE(db_.SetConfigValue(profile, "dpi_count", "2"));
  }  // not committed
  EXPECT_EQ(db_.GetProfileName(profile), "Profile 1");
  EXPECT_EQ(db_.GetConfigValue(profile, "dpi_count"), "6");
  {
    SettingsDatabase::Transaction transaction(db_);
    ASSERT_TRUE(db_.RenameProfile(profile, "Changed"));
    {
      SettingsDatabase::Transaction inner(db_);  // leaves the outer one in charge
      ASSERT_TRUE(db_.SetConfigValue(profile, "dpi_count", "2"));
      EXPECT_TRUE(inner.Commit());
    }
    EXPECT_TRUE(transaction.Commit());
  }
  EXPECT_EQ(Query(DbFile("m1"), "SELECT name FROM t_profile_data WHERE profile = 1"),
            std::vector<std::string>{"Changed"});
  EXPECT_EQ(db_.GetConfigValue(profile, "dpi_count"), "2");
}

TEST_F(StoreErrorsTest, AFullOrReadOnlyDiskIsTold) {
  SmallDisk disk(home_.DataHome(), 1 << 20);
  if (!disk.Mounted()) GTEST_SKIP() << "no permission to mount a small disk";
  ASSERT_TRUE(Open());
  const int profile = db_.EnsureProfiles("Profile", {});
  ASSERT_GT(profile, 0);
  ASSERT_TRUE(disk.Fill());
  EXPECT_FALSE(db_.RenameProfile(profile, std::string(4000, 'x')));
  EXPECT_EQ(db_.TakeError(), StoreError::kFull);
  disk.Free();
  db_.Close();
  ASSERT_TRUE(disk.SetReadOnly(true));
  ASSERT_TRUE(Open());
  EXPECT_FALSE(db_.SetConfigValue(profile, "dpi_count", "3"));
  EXPECT_EQ(db_.TakeError(), StoreError::kReadOnly);
  db_.Close();
  EXPECT_TRUE(disk.SetReadOnly(false));
}

TEST_F(StoreErrorsTest, ANewDatabaseAndItsFolderArePrivate) {
  const mode_t old_mask = ::umask(022);
  const bool opened = Open();
  ::umask(old_mask);
  ASSERT_TRUE(opened);
  struct stat seen {};
  ASSERT_EQ(::stat(DbFile("m1").c_str(), &seen), 0);
  EXPECT_EQ(seen.st_mode & 07777, 0600u);
  ASSERT_EQ(::stat(DbFile("m1").parent_path().c_str(), &seen), 0);
  EXPECT_EQ(seen.st_mode & 07777, 0700u);
}

}  // namespace
}  // namespace corvane::test
