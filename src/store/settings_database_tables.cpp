// SettingsDatabase: button assignments, macros with their events, and lighting rows.
// Rows are read by column position in table order.
#include "store/settings_database.h"
#include "store/sqlite_auto_transaction.h"
#include "store/sqlite_statement.h"

namespace corvane {
namespace {

constexpr int kLayer = 0;  // the only button layer this system uses

constexpr std::string_view kInsertKeyAssign =
    "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, layout_value, layout_desc, "
    "macro_type, macro_value, macro_value2, macro_value3, macro_desc) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);";
constexpr std::string_view kInsertMacro =
    "INSERT INTO t_macro_data(name, play_type, play_times, delay_type, delay_time) "
    "VALUES (?, ?, ?, ?, ?);";
constexpr std::string_view kInsertMacroEvent =
    "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) "
    "VALUES (?, ?, ?, ?, ?, ?);";
constexpr std::string_view kInsertLight =
    "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, colorful, "
    "colorindex, color_value1, color_value2, color_value3, color_value4, color_value5, "
    "color_value6, color_value7, config_func, reserved, status) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);";
constexpr std::string_view kUpdateLight =
    "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, "
    "colorindex = ?, color_value1 = ?, color_value2 = ?, color_value3 = ?, color_value4 = ?, "
    "color_value5 = ?, color_value6 = ?, color_value7 = ?, config_func = ?, reserved = ? "
    "WHERE profile = ? AND mode = ?";

KeyAssignRecord ReadKeyAssignRow(const SQLiteStatement& s) {
  KeyAssignRecord r;
  r.key_id = s.ColumnInt("key_id");
  r.profile = s.ColumnInt("profile");
  r.fn_layer = s.ColumnInt("fn_layer");
  r.key_code = s.ColumnInt("key_code");
  r.layout_value = s.ColumnInt("layout_value");
  r.layout_desc = s.ColumnText("layout_desc");
  r.macro_type = s.ColumnInt("macro_type");
  r.macro_value = s.ColumnInt("macro_value");
  r.macro_value2 = s.ColumnInt("macro_value2");
  r.macro_value3 = s.ColumnInt("macro_value3");
  r.macro_desc = s.ColumnText("macro_desc");
  return r;
}

MacroRecord ReadMacroRow(const SQLiteStatement& s) {
  MacroRecord r;
  r.macro_id = s.ColumnInt("macro_id");
  r.name = s.ColumnText("name");
  r.play_type = s.ColumnInt("play_type");
  r.play_times = s.ColumnInt("play_times");
  r.delay_type = s.ColumnInt("delay_type");
  r.delay_time = s.ColumnInt("delay_time");
  return r;
}

MacroEventRecord ReadMacroEventRow(const SQLiteStatement& s) {
  MacroEventRecord r;
  r.record_id = s.ColumnInt("record_id");
  r.macro_id = s.ColumnInt("macro_id");
  r.type = s.ColumnInt("type");
  r.record_index = s.ColumnInt("record_index");
  r.desc = s.ColumnText("desc");
  r.value = s.ColumnInt("value");
  r.delay_time = s.ColumnInt("delay_time");
  return r;
}

LightRecord ReadLightRow(const SQLiteStatement& s) {
  LightRecord r;
  r.light_id = s.ColumnInt("light_id");
  r.profile = s.ColumnInt("profile");
  r.name = s.ColumnText("name");
  r.mode = s.ColumnInt("mode");
  r.brightness = s.ColumnInt("brightness");
  r.speed = s.ColumnInt("speed");
  r.direction = s.ColumnInt("direction");
  r.colorful = s.ColumnInt("colorful");
  r.colorindex = s.ColumnInt("colorindex");
  r.color_value1 = s.ColumnInt("color_value1");
  r.color_value2 = s.ColumnInt("color_value2");
  r.color_value3 = s.ColumnInt("color_value3");
  r.color_value4 = s.ColumnInt("color_value4");
  r.color_value5 = s.ColumnInt("color_value5");
  r.color_value6 = s.ColumnInt("color_value6");
  r.color_value7 = s.ColumnInt("color_value7");
  r.config_func = s.ColumnInt("config_func");
  r.reserved = s.ColumnInt("reserved");
  r.status = s.ColumnInt("status");
  return r;
}

}  // namespace

// Reads every row of a prepared SELECT with `read_row`; the statement must be prepared.
// `step` runs one step and returns its result code.
template <typename Row, typename Step, typename ReadRow>
static std::vector<Row> ReadAll(SQLiteStatement& statement, Step step, ReadRow read_row) {
  std::vector<Row> list;
  while (step(statement) == SQLiteStatement::kRow) list.push_back(read_row(statement));
  return list;
}

// --- button assignments ---

int SettingsDatabase::SaveKeyAssign(const KeyAssignRecord& r) {
  std::lock_guard lock(mutex_);
  SQLiteAutoTransaction transaction(db_);
  if (!ExecWrite("DELETE FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?",
                 {r.profile, r.fn_layer, r.key_code})) {
    return 0;  // an insert now could leave two rows for one button
  }
  if (r.macro_value == 0 && r.macro_value2 == 0) {
    Commit(transaction);
    return 0;
  }
  int id = ExecInsert(kInsertKeyAssign,
                      {r.profile, r.fn_layer, r.key_code, r.layout_value, r.layout_desc,
                       r.macro_type, r.macro_value, r.macro_value2, r.macro_value3, r.macro_desc});
  // A failed insert must not cost the button its previous assignment.
  if (id == 0) {
    transaction.Rollback();
    return 0;
  }
  return Commit(transaction) ? id : 0;
}

std::optional<KeyAssignRecord> SettingsDatabase::GetKeyAssign(int profile, int key_code) const {
  std::lock_guard lock(mutex_);
  SQLiteStatement statement;
  if (!PrepareBound(statement,
                    "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and "
                    "key_code = ?",
                    {profile, kLayer, key_code}) ||
      Step(statement) != SQLiteStatement::kRow) {
    return std::nullopt;
  }
  return ReadKeyAssignRow(statement);
}

bool SettingsDatabase::SetKeyMacroDesc(int profile, int key_code, std::string_view text) {
  return ExecUpdate(
      "UPDATE t_key_macro_data SET macro_desc = ? WHERE profile = ? and fn_layer = ? and "
      "key_code = ?",
      {text, profile, kLayer, key_code});
}

std::vector<KeyAssignRecord> SettingsDatabase::GetKeyAssigns(int profile) const {
  std::lock_guard lock(mutex_);
  SQLiteStatement statement;
  if (!PrepareBound(statement, "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?",
                    {profile, kLayer})) {
    return {};
  }
  return ReadAll<KeyAssignRecord>(statement, [this](SQLiteStatement& s) { return Step(s); }, ReadKeyAssignRow);
}

bool SettingsDatabase::DeleteKeyAssigns(int profile) {
  return ExecWrite("DELETE FROM t_key_macro_data WHERE profile = ?", {profile});
}

// --- macros ---

int SettingsDatabase::AddMacro(std::string_view name) {
  MacroRecord record;
  record.name = std::string(name);
  return InsertMacro(record);
}

int SettingsDatabase::InsertMacro(const MacroRecord& r) {
  return ExecInsert(kInsertMacro, {r.name, r.play_type, r.play_times, r.delay_type, r.delay_time});
}

bool SettingsDatabase::RenameMacro(int macro_id, std::string_view name) {
  return ExecUpdate("UPDATE t_macro_data SET name = ? WHERE macro_id = ?", {name, macro_id});
}

bool SettingsDatabase::UpdateMacro(int macro_id, const MacroRecord& r) {
  return ExecUpdate(
      "UPDATE t_macro_data SET name = ?, play_type = ?, play_times = ?, delay_type = ?,"
      "delay_time = ? WHERE macro_id = ?",
      {r.name, r.play_type, r.play_times, r.delay_type, r.delay_time, macro_id});
}

std::optional<MacroRecord> SettingsDatabase::GetMacro(int macro_id) const {
  std::lock_guard lock(mutex_);
  SQLiteStatement statement;
  if (!PrepareBound(statement, "SELECT * FROM t_macro_data WHERE macro_id = ?", {macro_id}) ||
      Step(statement) != SQLiteStatement::kRow) {
    return std::nullopt;
  }
  return ReadMacroRow(statement);
}

std::vector<MacroRecord> SettingsDatabase::GetMacros() const {
  std::lock_guard lock(mutex_);
  SQLiteStatement statement;
  if (!PrepareBound(statement, "SELECT * FROM t_macro_data", {})) return {};
  return ReadAll<MacroRecord>(statement, [this](SQLiteStatement& s) { return Step(s); }, ReadMacroRow);
}

bool SettingsDatabase::DeleteMacro(int macro_id) {
  std::lock_guard lock(mutex_);
  SQLiteAutoTransaction transaction(db_);
  bool ok = ExecWrite("DELETE FROM t_macro_data WHERE macro_id = ?", {macro_id}) &&
            ExecWrite("DELETE FROM t_macrorecord WHERE macro_id = ?", {macro_id});
  return Commit(transaction) && ok;
}

int SettingsDatabase::AddMacroEvent(const MacroEventRecord& r) {
  return ExecInsert(kInsertMacroEvent,
                    {r.macro_id, r.type, r.record_index, r.desc, r.value, r.delay_time});
}

int SettingsDatabase::AddMacroEvents(const std::vector<MacroEventRecord>& events) {
  std::lock_guard lock(mutex_);
  SQLiteAutoTransaction transaction(db_);
  transaction.Begin();
  int inserted = 0;
  for (const MacroEventRecord& event : events) {
    if (AddMacroEvent(event) > 0) ++inserted;
  }
  return Commit(transaction) ? inserted : 0;
}

bool SettingsDatabase::ReplaceMacroEvents(int macro_id,
                                          const std::vector<MacroEventRecord>& events) {
  std::lock_guard lock(mutex_);
  SQLiteAutoTransaction transaction(db_);
  bool ok = DeleteMacroEvents(macro_id);
  for (size_t i = 0; ok && i < events.size(); ++i) {
    MacroEventRecord event = events[i];
    event.macro_id = macro_id;
    ok = AddMacroEvent(event) > 0;
  }
  if (!ok) {
    transaction.Rollback();
    return false;
  }
  if (!transaction.IsActive()) return true;  // the caller's transaction commits
  return Commit(transaction);
}

std::vector<MacroEventRecord> SettingsDatabase::GetMacroEvents(int macro_id) const {
  std::lock_guard lock(mutex_);
  SQLiteStatement statement;
  if (!PrepareBound(statement,
                    "SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC",
                    {macro_id})) {
    return {};
  }
  return ReadAll<MacroEventRecord>(statement, [this](SQLiteStatement& s) { return Step(s); }, ReadMacroEventRow);
}

bool SettingsDatabase::DeleteMacroEvents(int macro_id) {
  return ExecWrite("DELETE FROM t_macrorecord WHERE macro_id = ?", {macro_id});
}

// --- lighting ---

int SettingsDatabase::GetLightCount(int profile) const {
  return QueryInt("select count(*) FROM t_light_data WHERE profile = ?", {profile}).value_or(0);
}

int SettingsDatabase::AddLight(const LightRecord& r) {
  std::lock_guard lock(mutex_);
  // One row per mode and profile: a second row would never be read or updated reliably.
  if (QueryInt("SELECT light_id FROM t_light_data WHERE profile = ? AND mode = ?",
               {r.profile, r.mode})) {
    return 0;
  }
  return ExecInsert(kInsertLight, {r.profile, r.name, r.mode, r.brightness, r.speed, r.direction,
                                   r.colorful, r.colorindex, r.color_value1, r.color_value2,
                                   r.color_value3, r.color_value4, r.color_value5, r.color_value6,
                                   r.color_value7, r.config_func, r.reserved, r.status});
}

bool SettingsDatabase::UpdateLight(int mode, const LightRecord& r) {
  return ExecUpdate(kUpdateLight,
                    {r.brightness, r.speed, r.direction, r.colorful, r.colorindex, r.color_value1,
                     r.color_value2, r.color_value3, r.color_value4, r.color_value5, r.color_value6,
                     r.color_value7, r.config_func, r.reserved, r.profile, mode});
}

bool SettingsDatabase::SetActiveLight(int profile, int mode) {
  std::lock_guard lock(mutex_);
  // Activating a mode without a row would leave the profile with no active light.
  if (!GetLight(profile, mode)) return false;
  SQLiteAutoTransaction transaction(db_);
  bool ok = ExecWrite("UPDATE t_light_data SET status = ? WHERE profile = ?", {0, profile}) &&
            ExecWrite("UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?",
                      {1, profile, mode});
  if (!ok) {
    transaction.Rollback();
    return false;
  }
  return Commit(transaction);
}

int SettingsDatabase::GetActiveLight(int profile) const {
  return QueryInt("SELECT mode FROM t_light_data WHERE profile = ? and status = ?", {profile, 1})
      .value_or(0);
}

std::optional<LightRecord> SettingsDatabase::GetLight(int profile, int mode) const {
  std::lock_guard lock(mutex_);
  SQLiteStatement statement;
  if (!PrepareBound(statement, "SELECT * FROM t_light_data WHERE profile = ? AND mode = ?",
                    {profile, mode}) ||
      Step(statement) != SQLiteStatement::kRow) {
    return std::nullopt;
  }
  return ReadLightRow(statement);
}

std::vector<LightRecord> SettingsDatabase::GetLights(int profile) const {
  std::lock_guard lock(mutex_);
  SQLiteStatement statement;
  if (!PrepareBound(statement, "SELECT * FROM t_light_data WHERE profile = ?", {profile})) {
    return {};
  }
  return ReadAll<LightRecord>(statement, [this](SQLiteStatement& s) { return Step(s); }, ReadLightRow);
}

}  // namespace corvane
