// Opening, creating and switching model databases, damaged files, and the
// configuration-key operations.
#include <gtest/gtest.h>

#include "base/text.h"
#include "store/config_defaults.h"
#include "store_fixture.h"

namespace corvane::test {
namespace {

const std::vector<std::string> kSchemaObjects = {
    "t_configdata",     "t_profile_data", "profileindex", "t_key_macro_data", "keyindex",
    "t_key_otherdata",  "otheridindex",   "t_macro_data", "macroidindex",     "t_macrorecord",
    "macrorecordindex", "t_light_data",   "lightindex",   "t_key_light_data", "keylightindex"};

std::vector<std::string> SchemaObjects(const std::filesystem::path& file) {
  return StoreTest::Query(file,
                          "SELECT name FROM sqlite_master WHERE name NOT LIKE 'sqlite_%' "
                          "ORDER BY rowid");
}

using DatabaseFileTest = StoreTest;

TEST_F(DatabaseFileTest, MissingFileIsCreatedWithTheFifteenSchemaObjects) {
  ASSERT_TRUE(Open("m1"));
  EXPECT_TRUE(db_.IsOpen());
  EXPECT_EQ(db_.Path(), DbFile("m1").string());
  EXPECT_EQ(SchemaObjects(DbFile("m1")), kSchemaObjects);
  EXPECT_TRUE(db_.CreateDatabase());  // already open: nothing to do
}

TEST_F(DatabaseFileTest, ExistingFileIsOpenedWithoutRerunningTheSchema) {
  ASSERT_TRUE(Open("m1"));
  ASSERT_TRUE(db_.Close());
  ASSERT_TRUE(Exec(DbFile("m1"), "DROP TABLE t_light_data"));
  ASSERT_TRUE(Open("m1"));
  EXPECT_EQ(SchemaObjects(DbFile("m1")).size(), kSchemaObjects.size() - 2);
  EXPECT_EQ(db_.GetLightCount(1), 0);
  LightRecord light;
  light.profile = 1;
  light.mode = 1;
  EXPECT_EQ(db_.AddLight(light), 0);
}

TEST_F(DatabaseFileTest, SwitchingModelsKeepsEachModelsProfiles) {
  ASSERT_TRUE(Open("a"));
  db_.EnsureProfiles("A", {});
  ASSERT_TRUE(Open("b"));
  EXPECT_EQ(db_.Path(), DbFile("b").string());
  EXPECT_TRUE(db_.GetProfiles().empty());
  db_.EnsureProfiles("B", {});
  db_.RenameProfile(2, "b-two");
  ASSERT_TRUE(Open("a"));
  EXPECT_EQ(db_.GetProfileName(2), "A 2");
  ASSERT_TRUE(Open("b"));
  EXPECT_EQ(db_.GetProfileName(2), "b-two");
}

TEST_F(DatabaseFileTest, UnsafeModelNamesAreRefused) {
  for (std::string bad :
       std::vector<std::string>{"", "..", "../x", "a/b", "a\\b", std::string("a\0b", 3)}) {
    EXPECT_FALSE(Open(bad)) << bad;
    EXPECT_FALSE(db_.IsOpen());
  }
  EXPECT_FALSE(std::filesystem::exists(DataFolder() / "x_data.db"));
}

// Every read reports "not found", every write fails, and the file is left as it was.
void ExpectInertStore(SettingsDatabase& db) {
  EXPECT_FALSE(db.GetConfigValue(1, "dpi_index").has_value());
  EXPECT_FALSE(db.SetConfigValue(1, "dpi_index", "2"));
  EXPECT_TRUE(db.GetProfiles().empty());
  EXPECT_FALSE(db.GetProfileName(1).has_value());
  EXPECT_EQ(db.AddProfile(ProfileRecord{}), 0);
  EXPECT_EQ(db.EnsureProfiles("P", {}), 0);
  EXPECT_EQ(db.GetActiveProfile(), 0);
  EXPECT_EQ(db.AddMacro("m"), 0);
  EXPECT_FALSE(db.GetMacro(1).has_value());
  KeyAssignRecord key;
  key.profile = 1;
  key.macro_value = 3;
  EXPECT_EQ(db.SaveKeyAssign(key), 0);
  EXPECT_EQ(db.AddMacroEvents({MacroEventRecord{}}), 0);
}

TEST_F(DatabaseFileTest, FileLockedByAnotherConnectionIsReportedAsBusy) {
  ASSERT_TRUE(Open("m1"));
  ASSERT_TRUE(db_.Close());
  SQLiteDB other;
  ASSERT_TRUE(other.Open(DbFile("m1").string(), "", SQLiteDB::kOpenReadWrite));
  ASSERT_EQ(other.Execute("BEGIN EXCLUSIVE"), 0);
  EXPECT_FALSE(Open("m1"));
  EXPECT_TRUE(db_.IsBusy());
  ASSERT_EQ(other.Execute("COMMIT"), 0);
  EXPECT_TRUE(Open("m1"));
  EXPECT_FALSE(db_.IsBusy());
}

TEST_F(DatabaseFileTest, FileThatIsNotSQLiteIsReportedAndLeftUntouched) {
  const std::string junk = "this is not a database, just text\n";
  ASSERT_TRUE(WriteFileBytes(DbFile("m1"), junk));
  EXPECT_FALSE(Open("m1"));
  EXPECT_FALSE(db_.IsOpen());
  EXPECT_FALSE(db_.IsBusy()) << "a damaged file is not a busy one";
  ExpectInertStore(db_);
  EXPECT_EQ(ReadFileBytes(DbFile("m1")), junk);
}

TEST_F(DatabaseFileTest, DatabaseWithoutTablesOpensButFindsNothing) {
  std::filesystem::create_directories(DbFile("m1").parent_path());
  {
    SQLiteDB other;
    ASSERT_TRUE(other.Open(DbFile("m1").string(), "", SQLiteDB::kOpenCreate));
    ASSERT_EQ(other.Execute("CREATE TABLE other (x INTEGER)"), 0);
  }
  ASSERT_TRUE(Open("m1"));
  ExpectInertStore(db_);
  EXPECT_EQ(SchemaObjects(DbFile("m1")), std::vector<std::string>{"other"});
}

TEST_F(DatabaseFileTest, TruncatedFileIsReportedAndLeftUntouched) {
  ASSERT_TRUE(Open("m1"));
  ASSERT_GT(db_.EnsureProfiles("P", {}), 0);
  for (int i = 0; i < 200; ++i) db_.AddMacro("macro with a longish name to fill pages");
  ASSERT_TRUE(db_.Close());
  const std::string whole = ReadFileBytes(DbFile("m1"));
  ASSERT_GT(whole.size(), 8192u);
  for (size_t keep : {size_t{4096}, whole.size() / 2 + 100}) {
    const std::string cut = whole.substr(0, keep);
    ASSERT_TRUE(WriteFileBytes(DbFile("m1"), cut));
    EXPECT_FALSE(Open("m1")) << keep;
    ExpectInertStore(db_);
    EXPECT_EQ(ReadFileBytes(DbFile("m1")), cut) << keep;
  }
}

TEST_F(DatabaseFileTest, ClosedStoreFailsQuietly) {
  ExpectInertStore(db_);
  EXPECT_FALSE(db_.CreateDatabase());  // no path chosen yet
}

using ConfigKeyTest = StoreTest;

TEST_F(ConfigKeyTest, NewProfileHasTheThirtyNineRowsInOrder) {
  ASSERT_TRUE(Open());
  int id = db_.AddProfile(ProfileRecord{});
  ASSERT_GT(id, 0);
  auto values = db_.GetConfigValues(id);
  ASSERT_EQ(values.size(), kConfigKeyCount);
  const auto& rows = DefaultConfigRows();
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(values[i].first, rows[i].key);
    EXPECT_EQ(values[i].second, rows[i].value);
  }
  EXPECT_EQ(values.front(), (std::pair<std::string, std::string>{"version", "1.0.1"}));
  EXPECT_EQ(db_.GetConfigValue(id, "dpi_group6_rgb"), "16712191");
  EXPECT_EQ(db_.GetConfigValue(id, "doubleclick_time"), "550");
  // config_id follows the table order too.
  auto keys = Query(DbFile("m1"), "SELECT key FROM t_configdata ORDER BY config_id");
  ASSERT_EQ(keys.size(), kConfigKeyCount);
  EXPECT_EQ(keys[4], "report_rate");
}

TEST(ConfigDefaults, EveryValueButVersionIsDecimalText) {
  for (const ConfigDefault& row : DefaultConfigRows()) {
    if (row.key == kConfigVersionKey) continue;
    EXPECT_TRUE(IsValidConfigValue(row.key, row.value)) << row.key;
    EXPECT_TRUE(IsConfigKey(row.key));
  }
  EXPECT_FALSE(IsConfigKey("DPI_INDEX"));  // names are case-sensitive
  EXPECT_FALSE(IsValidConfigValue("dpi_index", "+5"));
  EXPECT_FALSE(IsValidConfigValue("dpi_index", "05"));
  EXPECT_FALSE(IsValidConfigValue("dpi_index", "5x"));
  EXPECT_FALSE(IsValidConfigValue("dpi_index", ""));
  EXPECT_FALSE(IsValidConfigValue("dpi_index", "99999999999"));
  EXPECT_TRUE(IsValidConfigValue("dpi_index", "-5"));
  EXPECT_TRUE(IsValidConfigValue("version", "anything"));
}

TEST_F(ConfigKeyTest, ValuesRoundTripAndMissingKeysAreReported) {
  ASSERT_TRUE(Open());
  int id = db_.AddProfile(ProfileRecord{});
  EXPECT_TRUE(db_.SetConfigValue(id, "dpi_index", "-5"));
  EXPECT_EQ(db_.GetConfigValue(id, "dpi_index"), "-5");
  EXPECT_TRUE(db_.SetConfigInt(id, "dpi_group1_rgb", 16711680));
  EXPECT_EQ(db_.GetConfigValue(id, "dpi_group1_rgb"), "16711680");
  // A write to a key the profile lacks creates nothing and says so.
  EXPECT_FALSE(db_.SetConfigValue(id, "no_such_key", "1"));
  EXPECT_FALSE(db_.GetConfigValue(id, "no_such_key").has_value());
  EXPECT_FALSE(db_.SetConfigValue(id, "DPI_INDEX", "1"));
  EXPECT_FALSE(db_.GetConfigValue(id + 7, "dpi_index").has_value());
  EXPECT_TRUE(db_.GetConfigValues(id + 7).empty());
  EXPECT_EQ(db_.GetConfigValues(id).size(), kConfigKeyCount);
  // Writing the value already stored still counts as a successful write.
  EXPECT_TRUE(db_.SetConfigValue(id, "dpi_index", "-5"));
}

TEST_F(ConfigKeyTest, DeviceDefaultsOverwriteOnlyKnownKeys) {
  ASSERT_TRUE(Open());
  int id = db_.AddProfile(ProfileRecord{});
  EXPECT_TRUE(db_.ApplyDeviceDefaults(id, {{"report_rate", "1"}, {"dpi_count", "4"}}));
  EXPECT_EQ(db_.GetConfigValue(id, "report_rate"), "1");
  EXPECT_EQ(db_.GetConfigValue(id, "dpi_count"), "4");
  EXPECT_FALSE(db_.ApplyDeviceDefaults(id, {{"bogus", "1"}, {"sleep_light", "6"}}));
  EXPECT_EQ(db_.GetConfigValue(id, "sleep_light"), "6");
  EXPECT_EQ(db_.GetConfigValues(id).size(), kConfigKeyCount);
}

}  // namespace
}  // namespace corvane::test
