// Imports keep the rules of the pages and are all-or-nothing: a file with a value the
// buttons, DPI, performance or macro pages would refuse is refused whole, naming the
// element; a store that refuses any write part-way leaves the profile or the macros as
// they were, and says why.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "exchange/macro_file.h"
#include "exchange/profile_file.h"
#include "app/language_text.h"
#include "exchange_fixture.h"
#include "store/sqlite_db.h"
#include "support/temp_home.h"

namespace corvane::test {
namespace {

// Runs `sql` on a second connection to the store's file (a trigger that refuses a write).
bool Exec(const std::filesystem::path& file, const std::string& sql) {
  SQLiteDB raw;
  return raw.Open(file.string(), "", SQLiteDB::kOpenReadWrite) && raw.Execute(sql) == 0;
}

// A profile file with one button item, DPI and mouse sections; `item`, `dpi` and `mouse`
// replace the attribute texts of those elements.
std::string ProfileText(const std::string& item,
                        const std::string& dpi = R"(dpi_flag="6" dpi_index="1" dpi_count="6")",
                        const std::string& mouse = R"(<report_rate value="1"/>)") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>\r\n<profileinfo name=\"x\">\r\n"
         "<keyitems>\r\n<item " + item + "/>\r\n</keyitems>\r\n<Mouse_DPI " + dpi +
         ">\r\n<DPI1 value=\"1200\" color=\"255\"/>\r\n</Mouse_DPI>\r\n<Mouse>\r\n" + mouse +
         "\r\n</Mouse>\r\n</profileinfo>\r\n</profile>\r\n";
}

std::string Item(const std::string& key_code, const std::string& type, const std::string& value,
                 const std::string& value2 = "0") {
  return "key_code=\"" + key_code + "\" macro_type=\"" + type + "\" macro_value=\"" + value +
         "\" macro_value2=\"" + value2 + "\" macro_value3=\"0\" macro_desc=\"d\"";
}

class ImportChecksTest : public ExchangeTest {
 protected:
  void SetUp() override {
    ExchangeTest::SetUp();
    Assign(second_, 2, 1, 3, 0, "before");
    ASSERT_TRUE(db_.SetConfigValue(second_, "dpi_group0_value", "800"));
  }

  // Imports `text` as "<name>.xml" into the second profile of a six-button mouse.
  ExchangeResult Import(const std::string& name, const std::string& text, int sensor = -1) {
    EXPECT_TRUE(WriteFileBytes(File(name + ".xml"), text));
    ProfileImportTarget target;
    target.buttons = {0, 1, 2, 3, 4, 5};
    target.sensor = sensor;
    return ImportProfile(db_, second_, target, File(name + ".xml"), poster_);
  }

  // The second profile is exactly as SetUp left it and nothing was posted.
  void ExpectUnchanged() {
    EXPECT_EQ(db_.GetProfileName(second_), "Profile 2");
    const std::vector<KeyAssignRecord> rows = db_.GetKeyAssigns(second_);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].macro_desc, "before");
    EXPECT_EQ(Config(second_, "dpi_group0_value"), "800");
    EXPECT_EQ(Config(second_, "report_rate"), "2");
    EXPECT_TRUE(poster_.tasks.empty());
  }

  std::filesystem::path DbFile() const { return db_.Path(); }
};

TEST_F(ImportChecksTest, ButtonRowsThePageWouldRefuseRefuseTheFile) {
  db_.AddMacro("kept");  // id 1 exists, id 55 does not
  const std::pair<std::string, std::string> cases[] = {
      {Item("0", "2", "4"), "primary button"},
      {Item("255", "1", "1"), "key_code 255 is not a button of this mouse"},
      {Item("-1", "1", "1"), "key_code -1"},
      {Item("12", "1", "1"), "key_code 12 is not a button of this mouse"},
      {Item("3", "12", "1"), "macro_type 12"},
      {Item("3", "1", "99"), "macro_value 99 of family 1 must be between 1 and 10"},
      {Item("3", "4", "55"), "macro 55 does not exist"},
      {Item("3", "7", "2", "9"), "macro_value 2 of family 7 must be between 5 and 255"},
      {Item("3", "2", "4", "300"), "macro_value2 300 of family 2 must be between 0 and 255"},
      {Item("3", "x1", "1"), "macro_type \"x1\" is not a decimal number"},
  };
  for (const auto& [item, words] : cases) {
    SCOPED_TRACE(item);
    const ExchangeResult result = Import("bad", ProfileText(item));
    EXPECT_EQ(result.status, ExchangeStatus::kBadValue);
    EXPECT_NE(result.message.find("keyitems item 1: "), std::string::npos) << result.message;
    EXPECT_NE(result.message.find(words), std::string::npos) << result.message;
    ExpectUnchanged();
  }
  EXPECT_TRUE(Import("good", ProfileText(Item("3", "4", "1"))).ok());
  const KeyAssignRecord imported = db_.GetKeyAssign(second_, 3).value_or(KeyAssignRecord{});
  EXPECT_EQ(imported.macro_value, 1);
  // The file's "d" named macro 1 where it was made; here the button plays "kept", and
  // says so.
  EXPECT_EQ(imported.macro_desc, "kept");
}

// A refusal is told in the window's language: the command line's English wording never
// reaches a Korean window. The file names a macro that was deleted after the export.
TEST_F(ImportChecksTest, ARefusalIsToldInTheWindowsLanguage) {
  const std::string path = File("deleted-macro.xml").string();
  const ExchangeResult refused = Import("deleted-macro", ProfileText(Item("3", "4", "55")));
  ASSERT_EQ(refused.status, ExchangeStatus::kBadValue);
  LanguageText texts(ShippedDataDir());
  texts.SetLanguageId(1042);
  const TextLookup korean = [&texts](int id) { return texts.Text(id); };
  const std::string said = ExchangeFailureMessage(refused.status, path, korean);
  EXPECT_EQ(said.find(ExchangeStatusText(refused.status)), std::string::npos) << said;
  EXPECT_NE(said.find("매크로"), std::string::npos) << said;  // "macro", the likely cause
  EXPECT_EQ(said.substr(said.size() - path.size()), path);

  // Each kind of failure has its own sentence; none falls back to an empty text.
  const ExchangeStatus failures[] = {ExchangeStatus::kUnreadable, ExchangeStatus::kTooLarge,
                                     ExchangeStatus::kIllFormed, ExchangeStatus::kNotWritable,
                                     ExchangeStatus::kBadValue, ExchangeStatus::kStoreFailed};
  std::set<std::string> sentences;
  for (ExchangeStatus status : failures) {
    const std::string sentence = ExchangeFailureMessage(status, "", korean);
    EXPECT_GT(sentence.size(), 4u) << static_cast<int>(status);
    sentences.insert(sentence);
  }
  EXPECT_EQ(sentences.size(), std::size(failures));
}

// Stage values the file allows but this mouse's sensor cannot do are fitted to the sensor
// as typed ones are: the store then holds what the mouse is sent and the window shows.
TEST_F(ImportChecksTest, StageValuesAreFittedToTheMousesSensor) {
  constexpr int kSensor100To16000 = 53;
  const std::pair<std::string, std::string> cases[] = {
      {"60", "100"}, {"20000", "16000"}, {"1250", "1200"}, {"800", "800"}};
  for (const auto& [written, stored] : cases) {
    SCOPED_TRACE(written);
    const std::string text = ProfileText(
        Item("3", "1", "2"), R"(dpi_flag="6" dpi_index="1" dpi_count="6")");
    const std::string dpi = "<DPI1 value=\"" + written + "\" color=\"255\"/>";
    std::string file = text;
    file.replace(file.find("<DPI1 value=\"1200\" color=\"255\"/>"),
                 std::string("<DPI1 value=\"1200\" color=\"255\"/>").size(), dpi);
    ASSERT_TRUE(Import("fitted", file, kSensor100To16000).ok());
    EXPECT_EQ(Config(second_, "dpi_group0_value"), stored);
  }
  // With no mouse to ask, the file's value is kept.
  ASSERT_TRUE(Import("kept", ProfileText(Item("3", "1", "2"))).ok());
  EXPECT_EQ(Config(second_, "dpi_group0_value"), "1200");
}

TEST_F(ImportChecksTest, ValuesOutsideTheirRangesRefuseTheFile) {
  const std::string item = Item("3", "1", "2");
  const std::string stages = R"(dpi_flag="6" dpi_index="1" )";
  const std::pair<std::string, std::string> cases[] = {
      {ProfileText(item, stages + R"(dpi_count="100")"), "dpi_count must be between 1 and 6"},
      {ProfileText(item, stages + R"(dpi_count="0")"), "dpi_count must be between 1 and 6"},
      {ProfileText(item, R"(dpi_flag="6" dpi_index="4" dpi_count="3")"),
       "dpi_index 4 must be below dpi_count 3"},
      {ProfileText(item, R"(dpi_flag="6" dpi_index="1" dpi_count="six")"),
       "dpi_count must be a decimal number"},
      {ProfileText(item, {}, R"(<report_rate value="999"/>)"),
       "report_rate must be one of 1, 2, 4, 8, 16, 32, 64"},
      {ProfileText(item, {}, R"(<button_respondtime value="-3"/>)"),
       "button_respondtime must be between 0 and 20"},
  };
  for (const auto& [text, words] : cases) {
    SCOPED_TRACE(words);
    const ExchangeResult result = Import("range", text);
    EXPECT_EQ(result.status, ExchangeStatus::kBadValue);
    EXPECT_NE(result.message.find(words), std::string::npos) << result.message;
    ExpectUnchanged();
  }
  // A stage value that is negative or not a number is named with its element.
  std::string text = ProfileText(item);
  for (const char* value : {"-800", "12k"}) {
    std::string bad = text;
    bad.replace(bad.find("1200"), 4, value);
    const ExchangeResult result = Import("stage", bad);
    EXPECT_NE(result.message.find("DPI1: dpi_group0_value must be"), std::string::npos)
        << result.message;
    ExpectUnchanged();
  }
}

TEST_F(ImportChecksTest, AStoreThatRefusesPartWayLeavesTheWholeProfileAsItWas) {
  // The store takes the rename and the button rows, then refuses one option.
  ASSERT_TRUE(Exec(DbFile(),
                   "CREATE TRIGGER refuse BEFORE UPDATE ON t_configdata "
                   "WHEN NEW.key = 'report_rate' BEGIN SELECT RAISE(ABORT, 'no'); END;"));
  const ExchangeResult result = Import("Renamed", ProfileText(Item("3", "1", "2")));
  EXPECT_EQ(result.status, ExchangeStatus::kStoreFailed);
  EXPECT_NE(result.message.find(db_.Path()), std::string::npos) << result.message;
  ExpectUnchanged();
  EXPECT_FALSE(db_.GetKeyAssign(second_, 3).has_value());
}

TEST_F(ImportChecksTest, ABusyStoreIsNamedAndNothingChanges) {
  SQLiteDB other;
  ASSERT_TRUE(other.Open(db_.Path(), "", SQLiteDB::kOpenReadWrite));
  ASSERT_EQ(other.Execute("BEGIN EXCLUSIVE"), 0);
  const ExchangeResult result = Import("Renamed", ProfileText(Item("3", "1", "2")));
  other.Execute("ROLLBACK");
  EXPECT_EQ(result.status, ExchangeStatus::kStoreFailed);
  EXPECT_NE(result.message.find("database busy"), std::string::npos) << result.message;
  ExpectUnchanged();
}

TEST_F(ImportChecksTest, AFileThatOnlyExceedsALimitSaysWhichLimit) {
  std::string deep = "<profile>";
  for (int i = 0; i < 70000; ++i) deep += "<a>";
  for (int i = 0; i < 70000; ++i) deep += "</a>";
  deep += "</profile>";
  ExchangeResult result = Import("deep", deep);
  EXPECT_EQ(result.status, ExchangeStatus::kTooLarge);
  EXPECT_NE(result.message.find("nested deeper than 65535 levels"), std::string::npos)
      << result.message;
  const std::string name(1100, 'n');
  result = Import("long", "<profile><" + name + "></" + name + "></profile>");
  EXPECT_EQ(result.status, ExchangeStatus::kTooLarge);
  EXPECT_NE(result.message.find("an end tag longer than 1023 characters"), std::string::npos)
      << result.message;
  // A plain syntax error is still called one.
  result = Import("broken", "<profile><a></profile>");
  EXPECT_EQ(result.status, ExchangeStatus::kIllFormed);
  ExpectUnchanged();
}

class MacroImportChecksTest : public ExchangeTest {};

std::string MacroText(const std::string& info, const std::string& event) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro>\r\n<macroinfo " + info +
         "/>\r\n<macroitems>\r\n<item desc=\"a\" index=\"0\" type=\"2\" value=\"65\" "
         "timestamp=\"10\"/>\r\n<item " + event + "/>\r\n</macroitems>\r\n</macro>\r\n";
}

constexpr const char* kGoodInfo =
    R"(macro_name="m" macro_type="0" play_times="3" delay_type="1" delay_time="0")";
constexpr const char* kGoodEvent = R"(desc="a" index="1" type="3" value="65" timestamp="10")";

TEST_F(MacroImportChecksTest, SettingsAndEventsOutsideThePageRulesRefuseTheFile) {
  const std::pair<std::string, std::string> cases[] = {
      {MacroText(R"(macro_name="m" macro_type="0" play_times="-2" delay_type="1" delay_time="0")",
                 kGoodEvent),
       "macroinfo: play_times -2 must be between 0 and 999"},
      {MacroText(R"(macro_name="m" macro_type="7" play_times="1" delay_type="1" delay_time="0")",
                 kGoodEvent),
       "macroinfo: macro_type 7"},
      {MacroText(kGoodInfo, R"(desc="a" index="1" type="9" value="65" timestamp="10")"),
       "macroitems item 2: type 9"},
      {MacroText(kGoodInfo, R"(desc="a" index="1" type="1" value="70000" timestamp="5")"),
       "macroitems item 2: value 70000"},
      {MacroText(kGoodInfo, R"(desc="a" index="1" type="3" value="A" timestamp="5")"),
       "macroitems item 2: value \"A\" is not a decimal number"},
  };
  for (const auto& [text, words] : cases) {
    SCOPED_TRACE(words);
    ASSERT_TRUE(WriteFileBytes(File("bad.xml"), text));
    const ExchangeResult result = ImportMacro(db_, File("bad.xml"));
    EXPECT_EQ(result.status, ExchangeStatus::kBadValue);
    EXPECT_NE(result.message.find(words), std::string::npos) << result.message;
  }
  EXPECT_TRUE(db_.GetMacros().empty());
  ASSERT_TRUE(WriteFileBytes(File("good.xml"), MacroText(kGoodInfo, kGoodEvent)));
  ASSERT_TRUE(ImportMacro(db_, File("good.xml")).ok());
  EXPECT_EQ(db_.GetMacroEvents(db_.GetMacros().at(0).macro_id).size(), 2u);
}

TEST_F(MacroImportChecksTest, AMacroIsNeverStoredWithoutItsEvents) {
  db_.AddMacro("one");
  db_.AddMacro("two");
  ASSERT_EQ(db_.AddMacroEvents({{0, 1, 2, 0, 65, 5, "a"}, {0, 1, 3, 1, 65, 5, "a"}}), 2);
  ASSERT_EQ(db_.AddMacroEvents({{0, 2, 2, 0, 66, 5, "b"}}), 1);
  ASSERT_TRUE(ExportAllMacros(db_, File("all.xml")).ok());
  ASSERT_TRUE(db_.DeleteMacro(1) && db_.DeleteMacro(2));
  // The store takes the macros but refuses the second macro's events.
  ASSERT_TRUE(Exec(db_.Path(),
                   "CREATE TRIGGER refuse BEFORE INSERT ON t_macrorecord "
                   "WHEN NEW.value = 66 BEGIN SELECT RAISE(ABORT, 'no'); END;"));
  const ExchangeResult all = ImportAllMacros(db_, File("all.xml"));
  EXPECT_EQ(all.status, ExchangeStatus::kStoreFailed);
  EXPECT_TRUE(db_.GetMacros().empty()) << "a macro was left behind without its events";
}

}  // namespace
}  // namespace corvane::test
