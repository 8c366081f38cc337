// Settings store timings: creating the default profiles of a fresh file and storing a
// 255-event macro, each beside the same rows written one autocommitted statement at a time.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/text.h"
#include "store/config_defaults.h"
#include "store/settings_database.h"
#include "store/sqlite_db.h"
#include "store/sqlite_statement.h"

namespace corvane {
namespace {

constexpr int kMacroEvents = 255;

const DeviceConfigDefaults kDeviceDefaults = {
    {"dpi_index", "1"},          {"dpi_flag", "6"},           {"dpi_count", "6"},
    {"dpi_group0_value", "400"}, {"dpi_group1_value", "800"}, {"report_rate", "1"},
    {"sleep_light", "6"},        {"move_wakeup", "1"},        {"move_closelight", "0"}};

// A scratch data folder removed when the program ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "corvane-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

ScratchFolder& Scratch() {
  static ScratchFolder folder;
  return folder;
}

// Opens a new, empty model database (schema only) under a fresh name.
bool OpenFresh(SettingsDatabase& db, int& counter) {
  return db.OpenDeviceDatabase(Scratch().path(), "model" + IntToDecimal(++counter));
}

void RemoveFile(SettingsDatabase& db) {
  std::string path = db.Path();
  db.Close();
  std::error_code ec;
  std::filesystem::remove(path, ec);
}

// Runs one statement on its own, autocommitted.
void Run(SQLiteDB& raw, const std::string& sql, std::initializer_list<std::string> texts) {
  SQLiteStatement statement;
  raw.Prepare(statement, sql);
  int index = 1;
  for (const std::string& text : texts) statement.BindText(index++, text);
  statement.Step();
}

void BM_EnsureProfilesFreshFile(benchmark::State& state) {
  SettingsDatabase db;
  int counter = 0;
  for (auto _ : state) {
    state.PauseTiming();
    OpenFresh(db, counter);
    state.ResumeTiming();
    benchmark::DoNotOptimize(db.EnsureProfiles("Profile", kDeviceDefaults));
    state.PauseTiming();
    RemoveFile(db);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_EnsureProfilesFreshFile)->Unit(benchmark::kMillisecond);

// The same rows as EnsureProfiles, each statement committing on its own.
void BM_EnsureProfilesPerRowStatements(benchmark::State& state) {
  SettingsDatabase db;
  int counter = 0;
  for (auto _ : state) {
    state.PauseTiming();
    OpenFresh(db, counter);
    std::string path = db.Path();
    db.Close();
    SQLiteDB raw;
    raw.Open(path, "", SQLiteDB::kOpenReadWrite);
    state.ResumeTiming();
    for (int n = 1; n <= SettingsDatabase::kDefaultProfileCount; ++n) {
      std::string id = IntToDecimal(n);
      Run(raw, "INSERT INTO t_profile_data(name, status, app, type) VALUES (?, 0, '', 0);",
          {"Profile " + id});
      for (const ConfigDefault& row : DefaultConfigRows()) {
        Run(raw, "INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);",
            {id, std::string(row.key), std::string(row.value)});
      }
      for (const auto& [key, value] : kDeviceDefaults) {
        Run(raw, "UPDATE t_configdata SET value = ? WHERE profile = ? and key = ?",
            {value, id, key});
      }
    }
    Run(raw, "UPDATE t_profile_data SET status = 0", {});
    Run(raw, "UPDATE t_profile_data SET status = 1 WHERE profile = 1", {});
    state.PauseTiming();
    raw.Close();
    std::error_code ec;
    std::filesystem::remove(path, ec);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_EnsureProfilesPerRowStatements)->Unit(benchmark::kMillisecond);

std::vector<MacroEventRecord> MacroEvents(int macro_id) {
  std::vector<MacroEventRecord> events;
  for (int i = 0; i < kMacroEvents; ++i) {
    events.push_back({0, macro_id, i % 3 == 0 ? 1 : 2 + i % 2, i, 65 + i % 26, 20, "A"});
  }
  return events;
}

void BM_AddMacroEvents255(benchmark::State& state) {
  SettingsDatabase db;
  int counter = 0;
  OpenFresh(db, counter);
  int macro = db.AddMacro("bench");
  std::vector<MacroEventRecord> events = MacroEvents(macro);
  for (auto _ : state) {
    state.PauseTiming();
    db.DeleteMacroEvents(macro);
    state.ResumeTiming();
    benchmark::DoNotOptimize(db.AddMacroEvents(events));
  }
  RemoveFile(db);
}
BENCHMARK(BM_AddMacroEvents255)->Unit(benchmark::kMillisecond);

// The same 255 rows with one autocommitted insert each.
void BM_AddMacroEvent255PerRow(benchmark::State& state) {
  SettingsDatabase db;
  int counter = 0;
  OpenFresh(db, counter);
  int macro = db.AddMacro("bench");
  std::vector<MacroEventRecord> events = MacroEvents(macro);
  for (auto _ : state) {
    state.PauseTiming();
    db.DeleteMacroEvents(macro);
    state.ResumeTiming();
    for (const MacroEventRecord& event : events) benchmark::DoNotOptimize(db.AddMacroEvent(event));
  }
  RemoveFile(db);
}
BENCHMARK(BM_AddMacroEvent255PerRow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane

BENCHMARK_MAIN();
