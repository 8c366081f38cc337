// Scoped transaction; see the header for the nesting rule.
#include "store/sqlite_auto_transaction.h"

#include "store/sqlite_db.h"

namespace corvane {

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB& db) : db_(&db) {
  if (db_->IsOpen()) Begin();
}

SQLiteAutoTransaction::~SQLiteAutoTransaction() {
  if (active_) Commit();
}

bool SQLiteAutoTransaction::Begin() {
  if (active_) return false;
  // Inside another transaction BEGIN fails by design; that is not the store's failure.
  active_ = (db_->Execute("BEGIN") == 0);
  return active_;
}

bool SQLiteAutoTransaction::Commit() {
  // An inactive object must not end a transaction that someone else began.
  if (!active_) return false;
  active_ = false;
  last_result_ = db_->Execute("END");
  if (last_result_ == 0) return true;
  // A transaction left open would swallow every later write until the file is closed.
  if (db_->InTransaction()) db_->Execute("ROLLBACK");
  return false;
}

bool SQLiteAutoTransaction::Rollback() {
  if (!active_) return false;
  active_ = false;
  last_result_ = db_->Execute("ROLLBACK");
  return last_result_ == 0;
}

}  // namespace corvane
