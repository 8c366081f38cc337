// Prepared-statement wrapper: binding, stepping and column reads with the
// "nothing prepared" cases answered instead of crashing.
#include "store/sqlite_statement.h"

#include <sqlite3.h>

namespace corvane {

void SQLiteStatement::Finalizer::operator()(sqlite3_stmt* handle) const {
  sqlite3_finalize(handle);
}

SQLiteStatement::SQLiteStatement() = default;
SQLiteStatement::~SQLiteStatement() = default;

void SQLiteStatement::Adopt(sqlite3_stmt* handle) {
  handle_.reset(handle);
  done_ = (handle == nullptr);
}

int SQLiteStatement::BindInt(int index, int value) {
  if (!handle_) return SQLITE_MISUSE;
  return sqlite3_bind_int(handle_.get(), index, value);
}

int SQLiteStatement::BindText(int index, std::string_view utf8) {
  if (!handle_) return SQLITE_MISUSE;
  return sqlite3_bind_text(handle_.get(), index, utf8.data(), static_cast<int>(utf8.size()),
                           SQLITE_TRANSIENT);
}

int SQLiteStatement::Step() {
  if (!handle_) return SQLITE_MISUSE;
  int rc = sqlite3_step(handle_.get());
  if (rc == SQLITE_DONE) done_ = true;
  return rc;
}

int SQLiteStatement::ColumnInt(int index) const {
  if (!handle_) return 0;
  return sqlite3_column_int(handle_.get(), index);
}

int SQLiteStatement::ColumnIndex(std::string_view name) const {
  if (!handle_) return -1;
  const int count = sqlite3_column_count(handle_.get());
  for (int i = 0; i < count; ++i) {
    const char* column = sqlite3_column_name(handle_.get(), i);
    if (column != nullptr && name == column) return i;
  }
  return -1;
}

int SQLiteStatement::ColumnInt(std::string_view name) const {
  const int index = ColumnIndex(name);
  return index < 0 ? 0 : ColumnInt(index);
}

std::string SQLiteStatement::ColumnText(std::string_view name) const {
  const int index = ColumnIndex(name);
  return index < 0 ? std::string() : ColumnText(index);
}

std::string SQLiteStatement::ColumnText(int index) const {
  if (!handle_) return {};
  const unsigned char* text = sqlite3_column_text(handle_.get(), index);
  if (text == nullptr) return {};
  int bytes = sqlite3_column_bytes(handle_.get(), index);
  return std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(bytes));
}

int SQLiteStatement::Finalize() {
  // sqlite3_finalize releases the statement whatever it returns, so the handle is
  // always dropped; keeping it would finalize it twice.
  int rc = handle_ ? sqlite3_finalize(handle_.release()) : SQLITE_OK;
  done_ = true;
  return rc;
}

}  // namespace corvane
