// Thin RAII wrapper over one SQLite connection: open, close, prepare, execute.
// It knows nothing about the settings schema; SettingsDatabase builds on it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;

namespace corvane {

class SQLiteStatement;

class SQLiteDB {
 public:
  // Flags for an existing file and for a file that may be created (serialized threading).
  static constexpr int kOpenReadWrite = 0x00000002 | 0x00010000;
  static constexpr int kOpenCreate = kOpenReadWrite | 0x00000004;
  static constexpr int kBusyTimeoutMs = 2000;  // wait for another process's write lock
  static constexpr int kMisuse = 21;           // SQLITE_MISUSE: no connection or no statement text

  SQLiteDB();
  virtual ~SQLiteDB();
  SQLiteDB(const SQLiteDB&) = delete;
  SQLiteDB& operator=(const SQLiteDB&) = delete;

  // Closes any connection held, then opens `path` (UTF-8) with `flags` and turns
  // synchronous writes off. Returns false when the path is empty, the open fails, or a
  // non-empty encryption key is given (this build has no encryption).
  bool Open(const std::string& path, std::string_view key, int flags);
  // Returns true when the connection is closed (or none was open); the handle is kept
  // when SQLite refuses to close.
  bool Close();
  // Returns whether a connection is held.
  bool IsOpen() const { return handle_ != nullptr; }
  // Prepares `sql` into `statement` (finalizing what it held). Returns the SQLite result
  // code; kMisuse without a connection.
  int Prepare(SQLiteStatement& statement, std::string_view sql);
  // Runs one or more statements without a row callback. Returns the SQLite result code;
  // kMisuse without a connection.
  int Execute(std::string_view sql);
  // Returns the row id of the last successful insert, or -1 without a connection.
  int64_t LastInsertRowId() const;
  // Returns whether an explicit transaction is in progress on the connection.
  bool InTransaction() const;
  // Returns the rows changed by the last INSERT, UPDATE or DELETE; 0 without a connection.
  int Changes() const;

 private:
  struct Closer {
    void operator()(sqlite3* handle) const;
  };
  std::unique_ptr<sqlite3, Closer> handle_;
};

}  // namespace corvane
