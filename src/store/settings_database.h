// The per-model settings store: one SQLite file per device model holding profiles,
// configuration keys, button assignments, macros and lighting rows. One re-entrant lock
// serializes every operation, including switching to another model's file, so the
// interface thread and the worker may both call in. No device I/O happens here.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "store/config_defaults.h"
#include "store/sqlite_db.h"
#include "store/store_error.h"
#include "store/store_records.h"

namespace corvane {

class SQLiteAutoTransaction;
class SQLiteStatement;

class SettingsDatabase {
 public:
  // Number of profiles a new database receives.
  static constexpr int kDefaultProfileCount = 4;

  // The process-wide store, created on first use.
  static SettingsDatabase& Instance();

  SettingsDatabase();
  ~SettingsDatabase();
  SettingsDatabase(const SettingsDatabase&) = delete;
  SettingsDatabase& operator=(const SettingsDatabase&) = delete;

  // Returns "<data_folder>/db/<device_attr>_data.db", or an empty path when the name is
  // empty or could leave the db folder ('/', '\\', "..", NUL).
  static std::filesystem::path DatabasePath(const std::filesystem::path& data_folder,
                                            std::string_view device_attr);

  // Closes the current file, then opens the model's file, creating it with the schema
  // when missing. Returns whether the store is now open; a file that is not a SQLite
  // database is left untouched and reported as false.
  bool OpenDeviceDatabase(const std::filesystem::path& data_folder, std::string_view device_attr);
  // Creates the file at the current path with the full schema. Returns true when a
  // connection is already open or every schema statement succeeded.
  bool CreateDatabase();
  // Closes the current file. Returns false only when SQLite refused to close.
  bool Close();
  // Returns whether the last open or create succeeded and the file is still open.
  bool IsOpen() const;
  // Returns whether the last open failed because another connection (another process)
  // held the file locked past the busy time-out.
  bool IsBusy() const;
  // Returns the UTF-8 path of the current file ("" before the first open).
  std::string Path() const;
  // Holds the store's lock for a caller that needs several operations to be atomic.
  std::unique_lock<std::recursive_mutex> Lock() const;
  // Returns why an operation failed since the last call (the first failure seen), and
  // forgets it; kNone when every operation went through.
  StoreError TakeError();

  // All-or-nothing change over several operations (an import): holds the store's lock and
  // a write transaction, and undoes every change unless Commit() succeeds. Inside another
  // Transaction it leaves that one in charge.
  class Transaction {
   public:
    explicit Transaction(SettingsDatabase& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    // Returns whether the write transaction could be begun (false: busy, not open...).
    bool IsActive() const { return active_ || nested_; }
    // Makes the changes permanent. Returns false, undoing them, when that failed.
    bool Commit();

   private:
    SettingsDatabase& db_;
    std::unique_lock<std::recursive_mutex> lock_;
    bool active_ = false;
    bool nested_ = false;
  };

  // --- configuration keys (t_configdata) ---
  // Inserts the built-in rows for `profile`. Returns the number of rows inserted.
  int AddDefaultConfig(int profile);
  // Writes an existing key. Returns false when the key row does not exist or the write failed.
  bool SetConfigValue(int profile, std::string_view key, std::string_view value);
  // Writes an integer as decimal text. Same result as SetConfigValue.
  bool SetConfigInt(int profile, std::string_view key, int value);
  // Returns the key's value, or nullopt when the profile has no such key.
  std::optional<std::string> GetConfigValue(int profile, std::string_view key) const;
  // Returns the key's value, or `fallback` when the profile has no such key.
  std::string GetConfigText(int profile, std::string_view key, std::string_view fallback) const;
  // Returns the key's value read as DecimalToInt reads it ("12x" is 12), or `fallback` when
  // the profile has no such key or its value does not start with a number ("", "abc").
  int GetConfigInt(int profile, std::string_view key, int fallback) const;
  // Returns every (key, value) of the profile in row order; empty when none.
  std::vector<std::pair<std::string, std::string>> GetConfigValues(int profile) const;
  // Writes each device value whose key the profile has. Returns false if any write failed.
  bool ApplyDeviceDefaults(int profile, const DeviceConfigDefaults& defaults);

  // --- profiles (t_profile_data) ---
  // Inserts a profile (inactive) with its default configuration rows. Returns the new
  // profile id, or 0 when the insert failed. Here and in RenameProfile control characters
  // of the name (from a language file or an imported file's name) are stored as spaces.
  int AddProfile(const ProfileRecord& record);
  // Returns false when no such profile exists or the write failed.
  bool RenameProfile(int profile, std::string_view name);
  // Returns the profile's name, or nullopt when not found.
  std::optional<std::string> GetProfileName(int profile) const;
  // Writes the applications linked to the profile (the `app` column, names separated by
  // ';'). Returns false when no such profile exists or the write failed.
  bool SetProfileApps(int profile, std::string_view apps);
  // Returns every profile in ascending id order; empty when none or unreadable.
  std::vector<ProfileRecord> GetProfiles() const;
  // Makes `profile` the only active one. Returns false, changing nothing, when no such
  // profile exists or the write failed.
  bool SetActiveProfile(int profile);
  // Returns the id of the active profile, or 0 when none.
  int GetActiveProfile() const;
  // Creates the default profiles ("<name_base> 1" .. " 4", each with `defaults` applied,
  // the first one active) when the database has none, and makes sure one is active.
  // Returns the active profile id, or 0 when there is none (for example, unreadable file).
  int EnsureProfiles(std::string_view name_base, const DeviceConfigDefaults& defaults);

  // --- button assignments (t_key_macro_data), layer 0 ---
  // Replaces the button's row; a record with macro_value and macro_value2 both 0 only
  // removes it. Returns the new key_id, or 0 when nothing was inserted.
  int SaveKeyAssign(const KeyAssignRecord& record);
  // Returns the button's row, or nullopt when it has none.
  std::optional<KeyAssignRecord> GetKeyAssign(int profile, int key_code) const;
  // Returns false when the button has no row or the write failed.
  bool SetKeyMacroDesc(int profile, int key_code, std::string_view text);
  // Returns the profile's rows in id order.
  std::vector<KeyAssignRecord> GetKeyAssigns(int profile) const;
  // Removes every row of the profile. Returns whether the delete ran.
  bool DeleteKeyAssigns(int profile);

  // --- macros (t_macro_data, t_macrorecord) ---
  // Adds a macro played once with the default delay mode. Returns the id, or 0.
  int AddMacro(std::string_view name);
  // Adds a macro with the record's fields (macro_id ignored). Returns the id, or 0.
  int InsertMacro(const MacroRecord& record);
  // Returns false when no such macro exists or the write failed.
  bool RenameMacro(int macro_id, std::string_view name);
  // Returns false when no such macro exists or the write failed.
  bool UpdateMacro(int macro_id, const MacroRecord& record);
  // Returns the macro, or nullopt when not found.
  std::optional<MacroRecord> GetMacro(int macro_id) const;
  // Returns every macro in ascending id order.
  std::vector<MacroRecord> GetMacros() const;
  // Removes the macro and its events. Returns true when both deletes ran (also for an
  // unknown id); button rows referring to it are left alone.
  bool DeleteMacro(int macro_id);
  // Appends one event. Returns the new record_id, or 0.
  int AddMacroEvent(const MacroEventRecord& record);
  // Appends the events in list order in one transaction, skipping rows that fail.
  // Returns the number of rows inserted.
  int AddMacroEvents(const std::vector<MacroEventRecord>& events);
  // Replaces all events of the macro in one transaction; on any failure the old events
  // stay. Returns whether every event was stored.
  bool ReplaceMacroEvents(int macro_id, const std::vector<MacroEventRecord>& events);
  // Returns the macro's events ordered by record_index.
  std::vector<MacroEventRecord> GetMacroEvents(int macro_id) const;
  // Removes the macro's events. Returns whether the delete ran.
  bool DeleteMacroEvents(int macro_id);

  // --- lighting (t_light_data) ---
  // Returns the number of light rows of the profile, 0 on failure.
  int GetLightCount(int profile) const;
  // Adds a row for a mode the profile has no row for. Returns the light_id, or 0.
  int AddLight(const LightRecord& record);
  // Writes the parameters (not name or status) of the record's profile and `mode`.
  // Returns false when there is no such row or the write failed.
  bool UpdateLight(int mode, const LightRecord& record);
  // Makes `mode` the profile's only active light. Returns false, changing nothing,
  // when the profile has no row for that mode or the write failed.
  bool SetActiveLight(int profile, int mode);
  // Returns the active mode of the profile, 0 when none.
  int GetActiveLight(int profile) const;
  // Returns the profile's row for `mode`, or nullopt.
  std::optional<LightRecord> GetLight(int profile, int mode) const;
  // Returns the profile's rows in id order.
  std::vector<LightRecord> GetLights(int profile) const;

 private:
  using SqlParam = std::variant<int, std::string_view>;

  // Prepares `sql` and binds `params` from index 1. Returns false on any failure.
  bool PrepareBound(SQLiteStatement& statement, std::string_view sql,
                    std::initializer_list<SqlParam> params) const;
  // Runs a write. Returns whether the step returned 0, SQLITE_ROW or SQLITE_DONE.
  bool ExecWrite(std::string_view sql, std::initializer_list<SqlParam> params);
  // Runs a write that must change at least one row. Returns whether it did.
  bool ExecUpdate(std::string_view sql, std::initializer_list<SqlParam> params);
  // Runs an insert. Returns the new row id, or 0 on failure (never an error code).
  int ExecInsert(std::string_view sql, std::initializer_list<SqlParam> params);
  // Runs a one-integer read. Returns the first row's column 0, or nullopt.
  std::optional<int> QueryInt(std::string_view sql, std::initializer_list<SqlParam> params) const;
  // Reads every profile into `list`. Returns false when the table could not be read.
  bool ReadProfiles(std::vector<ProfileRecord>& list) const;
  // 0 when the open connection can read the schema, otherwise the SQLite result code.
  int ReadConnection() const;
  // Steps `statement` and records a failure. Returns the SQLite result code.
  int Step(SQLiteStatement& statement) const;
  // Remembers the first failing result code until TakeError.
  void Record(int result) const;
  // Commits an inner transaction. True when it committed or the outer one is in charge.
  bool Commit(SQLiteAutoTransaction& transaction);

  mutable SQLiteDB db_;
  mutable std::recursive_mutex mutex_;
  std::string path_;
  std::string key_;  // encryption key; always empty
  bool open_ = false;
  bool busy_ = false;
  mutable StoreError error_ = StoreError::kNone;
};

}  // namespace corvane
