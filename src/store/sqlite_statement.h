// One prepared SQLite statement, finalized when it goes out of scope or is
// re-prepared. Prepared by SQLiteDB::Prepare.
#pragma once

#include <memory>
#include <string>
#include <string_view>

struct sqlite3_stmt;

namespace corvane {

class SQLiteStatement {
 public:
  static constexpr int kRow = 100;   // SQLITE_ROW
  static constexpr int kDone = 101;  // SQLITE_DONE

  SQLiteStatement();
  virtual ~SQLiteStatement();
  SQLiteStatement(const SQLiteStatement&) = delete;
  SQLiteStatement& operator=(const SQLiteStatement&) = delete;

  // Binds a 32-bit integer to parameter `index` (from 1). Returns the SQLite result
  // code; 21 without a prepared statement.
  int BindInt(int index, int value);
  // Binds UTF-8 text (copied, so temporaries are safe). Returns the SQLite result code;
  // 21 without a prepared statement.
  int BindText(int index, std::string_view utf8);
  // Runs one step. Returns the SQLite result code (kRow, kDone, or an error); kDone
  // sets the done flag. 21 without a prepared statement.
  int Step();
  // Returns column `index` (from 0) of the current row as an integer; 0 without a statement.
  int ColumnInt(int index) const;
  // Returns column `index` as UTF-8 text; "" for NULL or without a statement.
  std::string ColumnText(int index) const;
  // The same by column name (as the query names it); 0 or "" when no column has it. Row
  // readers use these, so a table's column order does not matter.
  int ColumnInt(std::string_view name) const;
  std::string ColumnText(std::string_view name) const;
  // Index of the result column called `name`; -1 when there is none.
  int ColumnIndex(std::string_view name) const;
  // Releases the statement. Returns the SQLite result code of the release.
  int Finalize();
  // Returns whether the last step ran to the end (also true when nothing is prepared).
  bool IsDone() const { return done_; }
  // Returns whether a statement is prepared.
  bool IsPrepared() const { return handle_ != nullptr; }
  // True for the results a write counts as successful: 0, kRow or kDone.
  static bool StepOk(int result) { return result == 0 || result == kRow || result == kDone; }

 private:
  friend class SQLiteDB;
  void Adopt(sqlite3_stmt* handle);

  struct Finalizer {
    void operator()(sqlite3_stmt* handle) const;
  };
  bool done_ = true;
  std::unique_ptr<sqlite3_stmt, Finalizer> handle_;
};

}  // namespace corvane
