// The SQLite wrappers: behaviour without a connection, statement life cycle and the
// transaction's nesting and rollback rules.
#include <gtest/gtest.h>

#include "store/sqlite_auto_transaction.h"
#include "store/sqlite_db.h"
#include "store/sqlite_statement.h"
#include "support/temp_home.h"

namespace corvane {
namespace {

class SQLiteWrapperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db_.Open((home_.Root() / "w.db").string(), "", SQLiteDB::kOpenCreate));
    ASSERT_EQ(db_.Execute("CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT, v TEXT)"), 0);
  }
  int Count() {
    SQLiteStatement s;
    db_.Prepare(s, "SELECT count(*) FROM t");
    return s.Step() == SQLiteStatement::kRow ? s.ColumnInt(0) : -1;
  }
  test::TempHome home_;
  SQLiteDB db_;
};

TEST(SQLiteDBClosed, EveryCallFailsWithoutCrashing) {
  SQLiteDB db;
  SQLiteStatement s;
  EXPECT_FALSE(db.IsOpen());
  EXPECT_EQ(db.Prepare(s, "SELECT 1"), SQLiteDB::kMisuse);
  EXPECT_EQ(db.Execute("SELECT 1"), SQLiteDB::kMisuse);
  EXPECT_EQ(db.LastInsertRowId(), -1);
  EXPECT_TRUE(db.Close());
  EXPECT_EQ(s.BindInt(1, 5), 21);
  EXPECT_EQ(s.BindText(1, "x"), 21);
  EXPECT_EQ(s.Step(), 21);
  EXPECT_EQ(s.ColumnInt(0), 0);
  EXPECT_EQ(s.ColumnText(0), "");
  EXPECT_TRUE(s.IsDone());
}

TEST(SQLiteDBClosed, OpenRefusesEmptyPathMissingFileAndKey) {
  test::TempHome home;
  SQLiteDB db;
  EXPECT_FALSE(db.Open("", "", SQLiteDB::kOpenCreate));
  EXPECT_FALSE(db.Open((home.Root() / "absent.db").string(), "", SQLiteDB::kOpenReadWrite));
  EXPECT_FALSE(db.IsOpen());
  EXPECT_FALSE(std::filesystem::exists(home.Root() / "absent.db"));
  // No encryption in this build: a key must not silently store data in clear.
  EXPECT_FALSE(db.Open((home.Root() / "k.db").string(), "secret", SQLiteDB::kOpenCreate));
  EXPECT_FALSE(db.IsOpen());
}

TEST_F(SQLiteWrapperTest, StatementStepsBindsAndReadsText) {
  SQLiteStatement s;
  ASSERT_EQ(db_.Prepare(s, "INSERT INTO t(v) VALUES (?)"), 0);
  EXPECT_FALSE(s.IsDone());
  std::string value = "\xE9\x85\x8D\xE7\xBD\xAE";   // non-ASCII UTF-8
  ASSERT_EQ(s.BindText(1, std::string(value)), 0);  // bound from a temporary on purpose
  EXPECT_EQ(s.Step(), SQLiteStatement::kDone);
  EXPECT_TRUE(s.IsDone());
  EXPECT_EQ(db_.LastInsertRowId(), 1);
  ASSERT_EQ(db_.Prepare(s, "SELECT v, id FROM t"), 0);
  ASSERT_EQ(s.Step(), SQLiteStatement::kRow);
  EXPECT_EQ(s.ColumnText(0), value);
  EXPECT_EQ(s.ColumnInt(1), 1);
  EXPECT_EQ(s.Finalize(), 0);
  EXPECT_FALSE(s.IsPrepared());
  EXPECT_EQ(s.Finalize(), 0);  // twice is harmless
}

TEST_F(SQLiteWrapperTest, FailedStatementLeavesNothingPreparedAndCloseWorks) {
  SQLiteStatement s;
  EXPECT_NE(db_.Prepare(s, "SELECT * FROM missing_table"), 0);
  EXPECT_FALSE(s.IsPrepared());
  ASSERT_EQ(db_.Prepare(s, "SELECT 1"), 0);
  s.Finalize();
  EXPECT_TRUE(db_.Close());
  EXPECT_FALSE(db_.IsOpen());
}

TEST_F(SQLiteWrapperTest, TransactionCommitsAtScopeEndAndNestedOneStaysInactive) {
  {
    SQLiteAutoTransaction outer(db_);
    EXPECT_TRUE(outer.IsActive());
    EXPECT_FALSE(outer.Begin());
    db_.Execute("INSERT INTO t(v) VALUES ('a')");
    SQLiteAutoTransaction inner(db_);
    EXPECT_FALSE(inner.IsActive());
    // An inactive inner object must not end the outer transaction.
    EXPECT_FALSE(inner.Commit());
    db_.Execute("INSERT INTO t(v) VALUES ('b')");
    EXPECT_FALSE(inner.Rollback());
  }
  EXPECT_EQ(Count(), 2);
  EXPECT_EQ(db_.Execute("END"), 1);  // nothing left open
}

TEST_F(SQLiteWrapperTest, RollbackUndoesAndCommitKeeps) {
  {
    SQLiteAutoTransaction tx(db_);
    db_.Execute("INSERT INTO t(v) VALUES ('a')");
    EXPECT_TRUE(tx.Rollback());
    EXPECT_FALSE(tx.IsActive());
  }
  EXPECT_EQ(Count(), 0);
  SQLiteAutoTransaction tx(db_);
  db_.Execute("INSERT INTO t(v) VALUES ('a')");
  db_.Execute("INSERT INTO nowhere VALUES (1)");  // failing statement is skipped
  EXPECT_TRUE(tx.Commit());
  EXPECT_EQ(Count(), 1);
}

TEST_F(SQLiteWrapperTest, FailedCommitDoesNotLeaveTheTransactionOpen) {
  ASSERT_EQ(db_.Execute("INSERT INTO t(v) VALUES ('kept')"), 0);
  SQLiteDB reader;
  ASSERT_TRUE(reader.Open((home_.Root() / "w.db").string(), "", SQLiteDB::kOpenReadWrite));
  SQLiteStatement hold;  // a reader mid-query blocks the commit until the busy time-out
  ASSERT_EQ(reader.Prepare(hold, "SELECT * FROM t"), 0);
  ASSERT_EQ(hold.Step(), SQLiteStatement::kRow);
  {
    SQLiteAutoTransaction tx(db_);
    ASSERT_TRUE(tx.IsActive());
    db_.Execute("INSERT INTO t(v) VALUES ('lost')");
    EXPECT_FALSE(tx.Commit());
  }
  EXPECT_FALSE(db_.InTransaction());
  hold.Finalize();
  EXPECT_EQ(db_.Execute("INSERT INTO t(v) VALUES ('later')"), 0);
  EXPECT_EQ(Count(), 2);
}

}  // namespace
}  // namespace corvane
