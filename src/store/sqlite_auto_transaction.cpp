// Scoped transaction; see the header for the nesting rule.
#include "store/sqlite_auto_transaction.h"

#include "store/sqlite_db.h"

namespace corvane {

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB& db) : db_(&db) {
  if (db_->IsOpen()) active_ = (db_->Execute("BEGIN") == 0);
}

SQLiteAutoTransaction::~SQLiteAutoTransaction() {
  if (active_) db_->Execute("END");
}

bool SQLiteAutoTransaction::Begin() {
  if (active_) return false;
  active_ = (db_->Execute("BEGIN") == 0);
  return active_;
}

bool SQLiteAutoTransaction::Commit() {
  // An inactive object must not end a transaction that someone else began.
  if (!active_) return false;
  active_ = false;
  return db_->Execute("END") == 0;
}

bool SQLiteAutoTransaction::Rollback() {
  if (!active_) return false;
  active_ = false;
  return db_->Execute("ROLLBACK") == 0;
}

}  // namespace corvane
