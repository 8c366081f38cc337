// Profile export layout against golden files, the round trip into another profile, and
// imports of hand-made files (sections out of order or missing, lighting on and off).
#include "exchange/profile_file.h"

#include <string>

#include "base/text.h"
#include "exchange_fixture.h"

namespace corvane::test {
namespace {

using ProfileFileTest = ExchangeTest;

class ProfileFileRoundTrip : public ExchangeTest {
 protected:
  void FillFirst() {
    ASSERT_TRUE(db_.RenameProfile(first_, "Main & \"Spare\""));
    Assign(first_, 1, 2, 4, 0, "A <\"&'>");
    Assign(first_, 3, 4, 1, 2, "Macro");
    AddLightRow(first_, 1, 1, 255);
    AddLightRow(first_, 2, 3, 65280);
    ASSERT_TRUE(db_.SetActiveLight(first_, 2));
    ASSERT_TRUE(db_.SetConfigValue(first_, "report_rate", "4"));
    ASSERT_TRUE(db_.SetConfigValue(first_, "dpi_index", "2"));
  }
};

TEST_F(ProfileFileRoundTrip, ExportWritesTheLayoutLineForLine) {
  FillFirst();
  ASSERT_TRUE(ExportProfile(db_, first_, true, File("lit.xml"), texts_).ok());
  ExpectGolden(ReadFileBytes(File("lit.xml")), "profile_lighting.xml");

  // No assignments and no lighting: an empty keyitems element and no light section.
  ASSERT_TRUE(ExportProfile(db_, second_, false, File("plain"), texts_).ok());
  EXPECT_FALSE(std::filesystem::exists(File("plain.xml")));  // exactly the path given
  ExpectGolden(ReadFileBytes(File("plain")), "profile_plain.xml");
}

TEST_F(ProfileFileRoundTrip, ExportNamesTheProfileAsTheWindowShowsIt) {
  // A default name made in Chinese, exported while the program speaks English.
  ASSERT_TRUE(db_.RenameProfile(first_, "\xE9\x85\x8D\xE7\xBD\xAE 3"));  // 配置 3
  ASSERT_TRUE(ExportProfile(db_, first_, false, File("shown.xml"), texts_).ok());
  EXPECT_NE(ReadFileBytes(File("shown.xml")).find("<profileinfo name=\"Profile  3\">"),
            std::string::npos);
  EXPECT_EQ(db_.GetProfileName(first_), "\xE9\x85\x8D\xE7\xBD\xAE 3");  // stored as made
}

TEST_F(ProfileFileRoundTrip, ImportIntoAnotherProfileReproducesIt) {
  FillFirst();
  AddLightRow(second_, 1, 9, 1);
  AddLightRow(second_, 2, 9, 1);
  Assign(second_, 5, 2, 7, 0, "stale");
  ASSERT_EQ(db_.AddMacro("Macro"), 1);  // button 3's macro must exist to be imported
  ASSERT_TRUE(ExportProfile(db_, first_, true, File("Copy Of Main.xml"), texts_).ok());

  ExchangeResult result = ImportProfile(db_, second_, true, File("Copy Of Main.xml"), poster_);
  ASSERT_TRUE(result.ok()) << result.message;
  EXPECT_EQ(result.profile_name, "Copy Of Main");
  EXPECT_EQ(db_.GetProfileName(second_), "Copy Of Main");
  EXPECT_EQ(poster_.tasks, std::vector<WorkerTask>{WorkerTask::kUploadProfile});

  const auto want = db_.GetKeyAssigns(first_);
  const auto got = db_.GetKeyAssigns(second_);
  ASSERT_EQ(got.size(), want.size());  // the stale button 5 is gone
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].key_code, want[i].key_code);
    EXPECT_EQ(got[i].macro_type, want[i].macro_type);
    EXPECT_EQ(got[i].macro_value, want[i].macro_value);
    EXPECT_EQ(got[i].macro_value2, want[i].macro_value2);
    EXPECT_EQ(got[i].macro_desc, want[i].macro_desc);
  }
  EXPECT_EQ(db_.GetActiveLight(second_), 2);
  for (int mode : {1, 2}) {
    EXPECT_EQ(db_.GetLight(second_, mode)->brightness, db_.GetLight(first_, mode)->brightness);
    EXPECT_EQ(db_.GetLight(second_, mode)->color_value1, db_.GetLight(first_, mode)->color_value1);
  }
  for (const auto& [key, value] : db_.GetConfigValues(first_)) {
    EXPECT_EQ(Config(second_, key.c_str()), value) << key;
  }
  // The re-export differs from the source only in the profile name.
  ASSERT_TRUE(ExportProfile(db_, second_, true, File("again.xml"), texts_).ok());
  std::string again = ReadFileBytes(File("again.xml"));
  std::string source = ReadFileBytes(File("Copy Of Main.xml"));
  EXPECT_EQ(ReplaceAll(again, "Copy Of Main", "Main &amp; &quot;Spare&quot;"), source);
}

TEST_F(ProfileFileTest, FileNameGivesTheProfileName) {
  EXPECT_EQ(ProfileNameFromPath("/tmp/My Setup.xml"), "My Setup");
  EXPECT_EQ(ProfileNameFromPath("a.xml"), "a");
  EXPECT_EQ(ProfileNameFromPath(".xml"), "");
  EXPECT_EQ(ProfileNameFromPath("/x/abcd"), "");
  EXPECT_EQ(ProfileNameFromPath("Größe.xml"), "Größe");  // characters, not bytes
  EXPECT_EQ(ProfileNameFromPath("Größ"), "");
}

TEST_F(ProfileFileTest, MisplacedAndMissingSectionsAreSkipped) {
  Assign(second_, 2, 2, 9, 0, "old");
  const std::string text =
      "<profile><profileinfo name=\"ignored\">"
      "<Mouse_DPI dpi_count=\"3\"><DPI1 value=\"1\"/></Mouse_DPI>"
      "<keyitems><item key_code=\"7\" macro_type=\"2\" macro_value=\"5\"/></keyitems>"
      "<Mouse><report_rate value=\"4\"/><button_respondtime value=\"12\"/>"
      "<sensor_flag value=\"16\"/><move_closelight/></Mouse>"
      "</profileinfo></profile>";
  ASSERT_TRUE(WriteFileBytes(File("odd.xml"), text));
  ASSERT_TRUE(ImportProfile(db_, second_, false, File("odd.xml"), poster_).ok());
  EXPECT_EQ(db_.GetProfileName(second_), "odd");  // the name attribute is not used
  auto rows = db_.GetKeyAssigns(second_);         // old button 2 gone, button 7 from the file
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].key_code, 7);
  // Mouse_DPI before keyitems is behind the cursor and is not read.
  EXPECT_EQ(Config(second_, "dpi_count"), "6");
  EXPECT_EQ(Config(second_, "dpi_group0_value"), "800");
  // report_rate before button_respondtime is skipped; the keys after it are read.
  EXPECT_EQ(Config(second_, "report_rate"), "2");
  EXPECT_EQ(Config(second_, "button_respondtime"), "12");
  EXPECT_EQ(Config(second_, "sensor_flag"), "16");
  EXPECT_EQ(Config(second_, "move_closelight"), "1");  // an element without a value changes nothing

  // A file with no sections at all still renames and clears the buttons.
  ASSERT_TRUE(WriteFileBytes(File("bare.xml"), "<profile/>"));
  ASSERT_TRUE(ImportProfile(db_, second_, false, File("bare.xml"), poster_).ok());
  EXPECT_EQ(db_.GetProfileName(second_), "bare");
  EXPECT_TRUE(db_.GetKeyAssigns(second_).empty());
  EXPECT_EQ(Config(second_, "button_respondtime"), "12");
}

TEST_F(ProfileFileTest, DpiStagesOutOfOrderKeepOnlyTheForwardOnes) {
  const std::string text =
      "<profile><profileinfo><keyitems><item key_code=\"4\" macro_type=\"2\" macro_value=\"\""
      " macro_value2=\"3\"/><item key_code=\"6\" macro_type=\"2\"/></keyitems>"
      "<Mouse_DPI dpi_flag=\"2\" dpi_index=\"0\" dpi_count=\"2\"><DPI2 value=\"999\" color=\"5\"/>"
      "<DPI1 value=\"100\" color=\"1\"/><DPI3 value=\"3000\" color=\"7\"/></Mouse_DPI>"
      "</profileinfo></profile>";
  ASSERT_TRUE(WriteFileBytes(File("dpi.xml"), text));
  ASSERT_TRUE(ImportProfile(db_, second_, false, File("dpi.xml"), poster_).ok());
  EXPECT_EQ(Config(second_, "dpi_count"), "2");
  // DPI1 is found after DPI2, which is then behind the cursor.
  EXPECT_EQ(Config(second_, "dpi_group0_value"), "100");
  EXPECT_EQ(Config(second_, "dpi_group1_value"), "1600");
  EXPECT_EQ(Config(second_, "dpi_group2_value"), "3000");
  EXPECT_EQ(Config(second_, "dpi_group2_rgb"), "7");
  // Missing values read as 0; an item with both values 0 stores nothing.
  auto rows = db_.GetKeyAssigns(second_);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].key_code, 4);
  EXPECT_EQ(rows[0].macro_value, 0);
  EXPECT_EQ(rows[0].macro_value2, 3);
}

TEST_F(ProfileFileTest, LightItemsNeedLightingAndExistingRows) {
  const std::string text =
      "<profile><profileinfo><Lightitems lightmode=\"3\">"
      "<item light_mode=\"3\" brightness=\"5\"/><item light_mode=\"4\" brightness=\"5\"/>"
      "</Lightitems></profileinfo></profile>";
  ASSERT_TRUE(WriteFileBytes(File("light.xml"), text));
  // Lighting on, but no rows: nothing becomes active.
  ASSERT_TRUE(ImportProfile(db_, second_, true, File("light.xml"), poster_).ok());
  EXPECT_EQ(db_.GetActiveLight(second_), 0);
  EXPECT_EQ(db_.GetLightCount(second_), 0);

  AddLightRow(second_, 3, 1, 0);
  // Lighting off: the section is ignored.
  ASSERT_TRUE(ImportProfile(db_, second_, false, File("light.xml"), poster_).ok());
  EXPECT_EQ(db_.GetLight(second_, 3)->brightness, 1);
  // Lighting on: the existing row is updated and made active, mode 4 is skipped.
  ASSERT_TRUE(ImportProfile(db_, second_, true, File("light.xml"), poster_).ok());
  EXPECT_EQ(db_.GetLight(second_, 3)->brightness, 5);
  EXPECT_EQ(db_.GetLight(second_, 3)->color_value1, 0);
  EXPECT_EQ(db_.GetActiveLight(second_), 3);
  EXPECT_FALSE(db_.GetLight(second_, 4).has_value());
}

TEST_F(ProfileFileTest, BadFilesChangeNothingAndPostNothing) {
  Assign(second_, 2, 2, 9, 0, "kept");
  ASSERT_TRUE(WriteFileBytes(File("wrong.xml"), "<macro><macroinfo/></macro>"));
  ASSERT_TRUE(WriteFileBytes(File("broken.xml"), "<profile><profileinfo></profile>"));
  ASSERT_TRUE(WriteFileBytes(File("empty.xml"), ""));
  const std::pair<const char*, ExchangeStatus> cases[] = {
      {"wrong.xml", ExchangeStatus::kWrongRoot}, {"broken.xml", ExchangeStatus::kIllFormed},
      {"empty.xml", ExchangeStatus::kIllFormed}, {"missing.xml", ExchangeStatus::kUnreadable},
      {"", ExchangeStatus::kUnreadable},  // the folder itself
  };
  for (const auto& [name, status] : cases) {
    ExchangeResult result = ImportProfile(db_, second_, true, File(name), poster_);
    EXPECT_EQ(result.status, status) << name;
    EXPECT_NE(result.message.find(File(name).string()), std::string::npos) << result.message;
  }
  EXPECT_EQ(db_.GetProfileName(second_), "Profile 2");
  EXPECT_EQ(db_.GetKeyAssigns(second_).size(), 1u);
  EXPECT_TRUE(poster_.tasks.empty());
  ASSERT_TRUE(ExportProfile(db_, first_, false, File("ok.xml"), texts_).ok());
  EXPECT_EQ(ImportProfile(db_, 999, false, File("ok.xml"), poster_).status,
            ExchangeStatus::kNoSuchProfile);
  EXPECT_TRUE(poster_.tasks.empty());
}

TEST_F(ProfileFileTest, FailedExportKeepsTheOldFile) {
  EXPECT_EQ(ExportProfile(db_, 999, false, File("x.xml"), texts_).status,
            ExchangeStatus::kNoSuchProfile);
  EXPECT_EQ(ExportProfile(db_, first_, false, File("no/such/folder.xml"), texts_).status,
            ExchangeStatus::kNotWritable);
  // A directory in the way of the rename: the export fails and leaves no temporary file.
  std::filesystem::create_directories(File("taken.xml") / "inside");
  EXPECT_EQ(ExportProfile(db_, first_, false, File("taken.xml"), texts_).status,
            ExchangeStatus::kNotWritable);
  EXPECT_FALSE(std::filesystem::exists(File("taken.xml.part")));
  EXPECT_TRUE(std::filesystem::exists(File("taken.xml") / "inside"));
}

}  // namespace
}  // namespace corvane::test
