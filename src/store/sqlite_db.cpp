// SQLite connection wrapper. The destructor interrupts any running statement before
// closing, so a connection never outlives its owner.
#include "store/sqlite_db.h"

#include <sqlite3.h>

#include "base/trace.h"
#include "store/sqlite_statement.h"

namespace corvane {

void SQLiteDB::Closer::operator()(sqlite3* handle) const {
  sqlite3_interrupt(handle);
  // close_v2 defers the release while a statement is still alive instead of leaking.
  sqlite3_close_v2(handle);
}

SQLiteDB::SQLiteDB() = default;
SQLiteDB::~SQLiteDB() = default;

bool SQLiteDB::Open(const std::string& path, std::string_view key, int flags) {
  if (handle_) {
    sqlite3_interrupt(handle_.get());
    Close();
    handle_.reset();
  }
  // Encryption is not available in the system library: refuse rather than store in clear.
  if (path.empty() || !key.empty()) return false;
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
  handle_.reset(raw);
  if (rc != SQLITE_OK) {
    Trace("sqlite open failed: %d", rc);
    handle_.reset();
    return false;
  }
  Execute("PRAGMA synchronous = OFF; ");
  // The window and the command-line tool may share a file: wait briefly for its lock.
  sqlite3_busy_timeout(handle_.get(), kBusyTimeoutMs);
  return true;
}

bool SQLiteDB::Close() {
  if (!handle_) return true;
  if (sqlite3_close(handle_.get()) != SQLITE_OK) return false;
  (void)handle_.release();
  return true;
}

int SQLiteDB::Prepare(SQLiteStatement& statement, std::string_view sql) {
  statement.Finalize();
  if (!handle_ || sql.empty()) return kMisuse;
  sqlite3_stmt* raw = nullptr;
  int rc =
      sqlite3_prepare_v2(handle_.get(), sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
  statement.Adopt(raw);
  return rc;
}

int SQLiteDB::Execute(std::string_view sql) {
  if (!handle_ || sql.empty()) return kMisuse;
  std::string text(sql);
  return sqlite3_exec(handle_.get(), text.c_str(), nullptr, nullptr, nullptr);
}

int64_t SQLiteDB::LastInsertRowId() const {
  if (!handle_) return -1;
  return sqlite3_last_insert_rowid(handle_.get());
}

bool SQLiteDB::InTransaction() const {
  return handle_ && sqlite3_get_autocommit(handle_.get()) == 0;
}

int SQLiteDB::Changes() const {
  if (!handle_) return 0;
  return sqlite3_changes(handle_.get());
}

}  // namespace corvane
