// SettingsDatabase: opening and creating a model's file, the statement helpers every
// table operation uses, configuration keys and profiles. Buttons, macros and lights
// are in settings_database_tables.cpp.
#include "store/settings_database.h"

#include <climits>
#include <system_error>
#include <utility>

#include "base/private_files.h"
#include "base/text.h"
#include "base/trace.h"
#include "store/sqlite_auto_transaction.h"
#include "store/sqlite_statement.h"
#include "store/store_error.h"

namespace corvane {
namespace {

constexpr std::string_view kDbFolder = "db";
constexpr std::string_view kDbSuffix = "_data.db";

// The schema, in creation order; built once and reused for every new file.
constexpr std::string_view kSchema[] = {
    "CREATE TABLE IF NOT EXISTS t_configdata (config_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, key TEXT, value TEXT)",
    "CREATE TABLE IF NOT EXISTS t_profile_data (profile INTEGER PRIMARY KEY AUTOINCREMENT, "
    "name TEXT, status INTEGER, app TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS profileindex ON t_profile_data(profile)",
    "CREATE TABLE IF NOT EXISTS t_key_macro_data (key_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, fn_layer INTEGER, key_code INTEGER, layout_value INTEGER, "
    "layout_desc TEXT, macro_type INTEGER, macro_value INTEGER, macro_value2 INTEGER, "
    "macro_value3 INTEGER, macro_desc TEXT)",
    "CREATE INDEX IF NOT EXISTS keyindex ON t_key_macro_data(key_id)",
    "CREATE TABLE IF NOT EXISTS t_key_otherdata (macro_value INTEGER PRIMARY KEY AUTOINCREMENT, "
    "macro_desc TEXT, param TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS otheridindex ON t_key_otherdata(macro_value)",
    "CREATE TABLE IF NOT EXISTS t_macro_data (macro_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "name TEXT, play_type INTEGER, play_times INTEGER, delay_type INTEGER, delay_time INTEGER)",
    "CREATE INDEX IF NOT EXISTS macroidindex ON t_macro_data(macro_id)",
    "CREATE TABLE IF NOT EXISTS t_macrorecord (record_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "macro_id INTEGER, type INTEGER, record_index INTEGER, desc TEXT, value INTEGER, "
    "delay_time INTEGER)",
    "CREATE INDEX IF NOT EXISTS macrorecordindex ON t_macrorecord(record_id)",
    "CREATE TABLE IF NOT EXISTS t_light_data (light_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, name TEXT, mode INTEGER, brightness INTEGER, speed INTEGER, "
    "direction INTEGER, colorful INTEGER, colorindex INTEGER, color_value1 INTEGER, "
    "color_value2 INTEGER, color_value3 INTEGER, color_value4 INTEGER, color_value5 INTEGER, "
    "color_value6 INTEGER, color_value7 INTEGER, config_func INTEGER, reserved INTEGER, "
    "status INTEGER)",
    "CREATE INDEX IF NOT EXISTS lightindex ON t_light_data(light_id)",
    "CREATE TABLE IF NOT EXISTS t_key_light_data (keylight_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, light_id INTEGER, key_code INTEGER, key_rgb INTEGER)",
    "CREATE INDEX IF NOT EXISTS keylightindex ON t_key_light_data(keylight_id)",
};

ProfileRecord ReadProfileRow(const SQLiteStatement& statement) {
  ProfileRecord record;
  record.profile = statement.ColumnInt("profile");
  record.name = statement.ColumnText("name");
  record.status = statement.ColumnInt("status");
  record.app = statement.ColumnText("app");
  record.type = statement.ColumnInt("type");
  return record;
}

}  // namespace

SettingsDatabase& SettingsDatabase::Instance() {
  static SettingsDatabase instance;
  return instance;
}

SettingsDatabase::SettingsDatabase() = default;

SettingsDatabase::~SettingsDatabase() { Close(); }

std::filesystem::path SettingsDatabase::DatabasePath(const std::filesystem::path& data_folder,
                                                     std::string_view device_attr) {
  if (!IsSafeFileStem(device_attr)) return {};
  std::string file(device_attr);
  file += kDbSuffix;
  return data_folder / kDbFolder / file;
}

bool SettingsDatabase::OpenDeviceDatabase(const std::filesystem::path& data_folder,
                                          std::string_view device_attr) {
  std::lock_guard lock(mutex_);
  Close();
  busy_ = false;
  std::filesystem::path path = DatabasePath(data_folder, device_attr);
  path_ = path.string();
  if (path.empty()) return false;
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) {
    // An existing file is never given the schema again: a damaged file stays as it is.
    open_ = db_.Open(path_, key_, SQLiteDB::kOpenReadWrite);
    if (open_) {
      const int result = ReadConnection();
      // SQLITE_BUSY (5) and SQLITE_LOCKED (6), possibly extended: a lock, not a bad file.
      busy_ = (result & 0xFF) == 5 || (result & 0xFF) == 6;
      open_ = result == 0;
    }
  } else {
    open_ = CreateDatabase();
  }
  if (!open_) db_.Close();
  Trace("settings database %s: %d", path_.c_str(), open_ ? 1 : 0);
  return open_;
}

bool SettingsDatabase::CreateDatabase() {
  std::lock_guard lock(mutex_);
  if (db_.IsOpen()) return true;
  if (path_.empty()) return false;
  std::filesystem::path path(path_);
  std::error_code ec;
  CreatePrivateFolders(path.parent_path());
  bool existed = std::filesystem::exists(path, ec);
  // SQLite would create the file 0644; its journals take the file's mode.
  if (!existed) CreatePrivateFile(path);
  if (!db_.Open(path_, key_, SQLiteDB::kOpenCreate)) return false;
  bool ok = true;
  for (std::string_view statement : kSchema) ok = (db_.Execute(statement) == 0) && ok;
  if (!ok) {
    // A half-made file would later open as "existing" and never get its tables.
    db_.Close();
    if (!existed) std::filesystem::remove(path, ec);
    return false;
  }
  open_ = true;
  return true;
}

bool SettingsDatabase::Close() {
  std::lock_guard lock(mutex_);
  open_ = false;
  return db_.Close();
}

bool SettingsDatabase::IsOpen() const {
  std::lock_guard lock(mutex_);
  return open_;
}

bool SettingsDatabase::IsBusy() const {
  std::lock_guard lock(mutex_);
  return busy_;
}

std::string SettingsDatabase::Path() const {
  std::lock_guard lock(mutex_);
  return path_;
}

std::unique_lock<std::recursive_mutex> SettingsDatabase::Lock() const {
  return std::unique_lock<std::recursive_mutex>(mutex_);
}

int SettingsDatabase::ReadConnection() const {
  SQLiteStatement statement;
  const int prepared = db_.Prepare(statement, "SELECT count(*) FROM sqlite_master");
  if (prepared != 0) return prepared;
  const int stepped = statement.Step();
  return stepped == SQLiteStatement::kRow ? 0 : stepped;
}

// --- statement helpers ---

bool SettingsDatabase::PrepareBound(SQLiteStatement& statement, std::string_view sql,
                                    std::initializer_list<SqlParam> params) const {
  const int prepared = db_.Prepare(statement, sql);
  if (prepared != 0 || !statement.IsPrepared()) {
    Record(prepared == 0 ? SQLiteDB::kMisuse : prepared);
    return false;
  }
  int index = 1;
  for (const SqlParam& param : params) {
    int rc = std::holds_alternative<int>(param)
                 ? statement.BindInt(index, std::get<int>(param))
                 : statement.BindText(index, std::get<std::string_view>(param));
    if (rc != 0) {
      Record(rc);
      return false;
    }
    ++index;
  }
  return true;
}

int SettingsDatabase::Step(SQLiteStatement& statement) const {
  const int rc = statement.Step();
  Record(rc);
  return rc;
}

void SettingsDatabase::Record(int result) const {
  const StoreError error = ClassifySqliteResult(result);
  // The first failure names the cause; later ones are usually its consequences.
  if (error != StoreError::kNone && error_ == StoreError::kNone) error_ = error;
}

bool SettingsDatabase::Commit(SQLiteAutoTransaction& transaction) {
  const bool active = transaction.IsActive();
  if (transaction.Commit() || !active) return true;
  Record(transaction.LastResult());
  return false;
}

SettingsDatabase::Transaction::Transaction(SettingsDatabase& db) : db_(db), lock_(db.mutex_) {
  if (db_.db_.InTransaction()) {
    nested_ = true;
    return;
  }
  // IMMEDIATE takes the write lock now, so a busy file refuses before anything changed.
  const int rc = db_.db_.Execute("BEGIN IMMEDIATE");
  active_ = rc == 0;
  if (!active_) db_.Record(rc);
}

SettingsDatabase::Transaction::~Transaction() {
  if (active_ && db_.db_.InTransaction()) db_.db_.Execute("ROLLBACK");
}

bool SettingsDatabase::Transaction::Commit() {
  if (nested_) return true;
  if (!active_) return false;
  active_ = false;
  const int rc = db_.db_.Execute("COMMIT");
  if (rc == 0) return true;
  db_.Record(rc);
  if (db_.db_.InTransaction()) db_.db_.Execute("ROLLBACK");
  return false;
}

StoreError SettingsDatabase::TakeError() {
  std::lock_guard lock(mutex_);
  const StoreError error = error_;
  error_ = StoreError::kNone;
  return error;
}

bool SettingsDatabase::ExecWrite(std::string_view sql, std::initializer_list<SqlParam> params) {
  std::lock_guard lock(mutex_);
  SQLiteStatement statement;
  return PrepareBound(statement, sql, params) && SQLiteStatement::StepOk(Step(statement));
}

bool SettingsDatabase::ExecUpdate(std::string_view sql, std::initializer_list<SqlParam> params) {
  std::lock_guard lock(mutex_);
  SQLiteStatement statement;
  if (!PrepareBound(statement, sql, params)) return false;
  return SQLiteStatement::StepOk(Step(statement)) && db_.Changes() > 0;
}

int SettingsDatabase::ExecInsert(std::string_view sql, std::initializer_list<SqlParam> params) {
  std::lock_guard lock(mutex_);
  SQLiteStatement statement;
  if (!PrepareBound(statement, sql, params)) return 0;
  if (!SQLiteStatement::StepOk(Step(statement))) return 0;
  int64_t id = db_.LastInsertRowId();
  // Ids beyond the record's 32 bits cannot be handed out faithfully.
  return (id > 0 && id <= INT_MAX) ? static_cast<int>(id) : 0;
}

std::optional<int> SettingsDatabase::QueryInt(std::string_view sql,
                                              std::initializer_list<SqlParam> params) const {
  std::lock_guard lock(mutex_);
  SQLiteStatement statement;
  if (!PrepareBound(statement, sql, params) || Step(statement) != SQLiteStatement::kRow) {
    return std::nullopt;
  }
  return statement.ColumnInt(0);
}

// --- configuration keys ---

int SettingsDatabase::AddDefaultConfig(int profile) {
  std::lock_guard lock(mutex_);
  SQLiteAutoTransaction transaction(db_);
  int inserted = 0;
  for (const ConfigDefault& row : DefaultConfigRows()) {
    if (ExecInsert("INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);",
                   {profile, row.key, row.value}) > 0) {
      ++inserted;
    }
  }
  Commit(transaction);
  return inserted;
}

bool SettingsDatabase::SetConfigValue(int profile, std::string_view key, std::string_view value) {
  return ExecUpdate("UPDATE t_configdata SET value = ? WHERE profile = ? and key = ?",
                    {value, profile, key});
}

bool SettingsDatabase::SetConfigInt(int profile, std::string_view key, int value) {
  return SetConfigValue(profile, key, IntToDecimal(value));
}

std::optional<std::string> SettingsDatabase::GetConfigValue(int profile,
                                                            std::string_view key) const {
  std::lock_guard lock(mutex_);
  SQLiteStatement statement;
  if (!PrepareBound(statement, "SELECT value FROM t_configdata WHERE profile = ? and key = ?",
                    {profile, key}) ||
      Step(statement) != SQLiteStatement::kRow) {
    return std::nullopt;
  }
  return statement.ColumnText(0);
}

std::string SettingsDatabase::GetConfigText(int profile, std::string_view key,
                                            std::string_view fallback) const {
  std::optional<std::string> value = GetConfigValue(profile, key);
  return value ? std::move(*value) : std::string(fallback);
}

int SettingsDatabase::GetConfigInt(int profile, std::string_view key, int fallback) const {
  const std::optional<std::string> value = GetConfigValue(profile, key);
  if (!value) return fallback;
  return DecimalPrefixToInt(*value).value_or(fallback);
}

std::vector<std::pair<std::string, std::string>> SettingsDatabase::GetConfigValues(
    int profile) const {
  std::lock_guard lock(mutex_);
  std::vector<std::pair<std::string, std::string>> values;
  SQLiteStatement statement;
  if (!PrepareBound(statement,
                    "SELECT key, value FROM t_configdata WHERE profile = ? ORDER BY config_id",
                    {profile})) {
    return values;
  }
  while (Step(statement) == SQLiteStatement::kRow) {
    values.emplace_back(statement.ColumnText(0), statement.ColumnText(1));
  }
  return values;
}

bool SettingsDatabase::ApplyDeviceDefaults(int profile, const DeviceConfigDefaults& defaults) {
  std::lock_guard lock(mutex_);
  SQLiteAutoTransaction transaction(db_);
  bool ok = true;
  for (const auto& [key, value] : defaults) ok = SetConfigValue(profile, key, value) && ok;
  return Commit(transaction) && ok;
}

// --- profiles ---

int SettingsDatabase::AddProfile(const ProfileRecord& record) {
  std::lock_guard lock(mutex_);
  SQLiteAutoTransaction transaction(db_);
  int id = ExecInsert("INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);",
                      {ReplaceControlCharacters(record.name, ' '), 0, record.app, 0});
  // Rows for id 0 would belong to no profile, so the defaults follow a real insert only.
  if (id > 0) AddDefaultConfig(id);
  return Commit(transaction) ? id : 0;
}

bool SettingsDatabase::RenameProfile(int profile, std::string_view name) {
  return ExecUpdate("UPDATE t_profile_data SET name = ? WHERE profile = ?",
                    {ReplaceControlCharacters(name, ' '), profile});
}

bool SettingsDatabase::SetProfileApps(int profile, std::string_view apps) {
  return ExecUpdate("UPDATE t_profile_data SET app = ? WHERE profile = ?", {apps, profile});
}

std::optional<std::string> SettingsDatabase::GetProfileName(int profile) const {
  std::lock_guard lock(mutex_);
  SQLiteStatement statement;
  if (!PrepareBound(statement, "SELECT name FROM t_profile_data WHERE profile = ?", {profile}) ||
      Step(statement) != SQLiteStatement::kRow) {
    return std::nullopt;
  }
  return statement.ColumnText(0);
}

bool SettingsDatabase::ReadProfiles(std::vector<ProfileRecord>& list) const {
  std::lock_guard lock(mutex_);
  list.clear();
  SQLiteStatement statement;
  if (!PrepareBound(statement, "SELECT * FROM t_profile_data", {})) return false;
  int rc = 0;
  while ((rc = Step(statement)) == SQLiteStatement::kRow)
    list.push_back(ReadProfileRow(statement));
  return rc == SQLiteStatement::kDone;
}

std::vector<ProfileRecord> SettingsDatabase::GetProfiles() const {
  std::vector<ProfileRecord> list;
  ReadProfiles(list);
  return list;
}

bool SettingsDatabase::SetActiveProfile(int profile) {
  std::lock_guard lock(mutex_);
  // Activating an unknown id would leave no profile active at all.
  if (!QueryInt("SELECT profile FROM t_profile_data WHERE profile = ?", {profile})) return false;
  SQLiteAutoTransaction transaction(db_);
  bool ok = ExecWrite("UPDATE t_profile_data SET status = ?", {0}) &&
            ExecWrite("UPDATE t_profile_data SET status = ? WHERE profile = ?", {1, profile});
  if (!ok) {
    transaction.Rollback();
    return false;
  }
  return Commit(transaction);
}

int SettingsDatabase::GetActiveProfile() const {
  return QueryInt("SELECT profile FROM t_profile_data WHERE status = ?", {1}).value_or(0);
}

int SettingsDatabase::EnsureProfiles(std::string_view name_base,
                                     const DeviceConfigDefaults& defaults) {
  std::lock_guard lock(mutex_);
  std::vector<ProfileRecord> list;
  // A table that cannot be read is not the same as an empty one: write nothing then.
  if (!ReadProfiles(list)) return 0;
  if (list.empty()) {
    SQLiteAutoTransaction transaction(db_);
    int first = 0;
    for (int n = 1; n <= kDefaultProfileCount; ++n) {
      ProfileRecord record;
      record.name = std::string(name_base) + " " + IntToDecimal(n);
      int id = AddProfile(record);
      if (id <= 0) continue;
      ApplyDeviceDefaults(id, defaults);
      if (first == 0) first = id;
    }
    if (first > 0) SetActiveProfile(first);
    Commit(transaction);
  }
  int current = GetActiveProfile();
  if (current < 1 && ReadProfiles(list) && !list.empty()) {
    SetActiveProfile(list.front().profile);
    current = GetActiveProfile();
  }
  return current;
}

}  // namespace corvane
