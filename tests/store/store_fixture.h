// Shared set-up for the store tests: a private home, a data folder inside it and a
// SettingsDatabase of the test's own (never the process-wide one).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/settings_database.h"
#include "store/sqlite_db.h"
#include "store/sqlite_statement.h"
#include "support/temp_home.h"

namespace corvane::test {

class StoreTest : public ::testing::Test {
 public:
  std::filesystem::path DataFolder() const { return home_.DataHome() / "Corvane Files"; }
  std::filesystem::path DbFile(const std::string& attr) const {
    return DataFolder() / "db" / (attr + "_data.db");
  }
  bool Open(const std::string& attr = "m1") { return db_.OpenDeviceDatabase(DataFolder(), attr); }

  // Runs `sql` on a second connection to `file` and returns column 0 of every row as text.
  static std::vector<std::string> Query(const std::filesystem::path& file, const std::string& sql) {
    SQLiteDB raw;
    std::vector<std::string> rows;
    if (!raw.Open(file.string(), "", SQLiteDB::kOpenReadWrite)) return rows;
    SQLiteStatement statement;
    if (raw.Prepare(statement, sql) != 0) return rows;
    while (statement.Step() == SQLiteStatement::kRow) rows.push_back(statement.ColumnText(0));
    return rows;
  }
  static bool Exec(const std::filesystem::path& file, const std::string& sql) {
    SQLiteDB raw;
    return raw.Open(file.string(), "", SQLiteDB::kOpenReadWrite) && raw.Execute(sql) == 0;
  }

 protected:
  TempHome home_;
  SettingsDatabase db_;
};

}  // namespace corvane::test
