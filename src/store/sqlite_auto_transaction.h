// Scoped transaction on a SQLiteDB: BEGIN on construction, END on Commit or at the
// end of the scope. Rollback is explicit; failed statements inside are otherwise skipped.
#pragma once

namespace corvane {

class SQLiteDB;

class SQLiteAutoTransaction {
 public:
  // Begins a transaction when the connection is open. Inside another transaction the
  // BEGIN fails and this object stays inactive, leaving the outer one in charge.
  explicit SQLiteAutoTransaction(SQLiteDB& db);
  virtual ~SQLiteAutoTransaction();
  SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
  SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;

  // Returns false (and does nothing) when already active; else whether BEGIN succeeded.
  bool Begin();
  // Returns whether END succeeded; false (nothing run) when inactive. Inactive afterwards.
  bool Commit();
  // Undoes the transaction's changes. Returns whether ROLLBACK succeeded; inactive after.
  bool Rollback();
  // Returns whether this object has a transaction in progress.
  bool IsActive() const { return active_; }
  // Returns the SQLite result code of the last BEGIN, END or ROLLBACK run (0 before any).
  int LastResult() const { return last_result_; }

 private:
  SQLiteDB* db_;
  bool active_ = false;
  int last_result_ = 0;
};

}  // namespace corvane
