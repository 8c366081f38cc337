// Macro export layouts against golden files, and imports: appended never merged, the
// file's event indexes kept, and files of the other layout.
#include "exchange/macro_file.h"

#include <string>

#include "exchange_fixture.h"

namespace corvane::test {
namespace {

class MacroFileTest : public ExchangeTest {
 protected:
  // "Fire <&>" with three events, and "Empty" without any.
  void AddMacros() {
    MacroRecord fire;
    fire.name = "Fire <&>";
    fire.play_type = 1;
    fire.play_times = 3;
    fire.delay_type = 2;
    fire.delay_time = 10;
    fire_ = db_.InsertMacro(fire);
    ASSERT_GT(fire_, 0);
    AddEvent(fire_, 0, 2, 65, 0, "A \"down\"");
    AddEvent(fire_, 1, 1, 20, 20, "Delay 20 ms");
    AddEvent(fire_, 2, 3, 65, 0, "A up");
    MacroRecord empty;
    empty.name = "Empty";
    empty_ = db_.InsertMacro(empty);
    ASSERT_GT(empty_, 0);
  }
  void AddEvent(int macro, int index, int type, int value, int delay, const std::string& desc) {
    MacroEventRecord event;
    event.macro_id = macro;
    event.record_index = index;
    event.type = type;
    event.value = value;
    event.delay_time = delay;
    event.desc = desc;
    ASSERT_GT(db_.AddMacroEvent(event), 0);
  }
  // The macro's fields and events as one comparable text, ids left out.
  std::string Describe(int macro) {
    std::optional<MacroRecord> record = db_.GetMacro(macro);
    if (!record) return "<none>";
    std::string text = record->name + "|" + std::to_string(record->play_type) + "|" +
                       std::to_string(record->play_times) + "|" +
                       std::to_string(record->delay_type) + "|" +
                       std::to_string(record->delay_time);
    for (const MacroEventRecord& e : db_.GetMacroEvents(macro)) {
      text += ";" + e.desc + "," + std::to_string(e.record_index) + "," + std::to_string(e.type) +
              "," + std::to_string(e.value) + "," + std::to_string(e.delay_time);
    }
    return text;
  }

  int fire_ = 0;
  int empty_ = 0;
};

TEST_F(MacroFileTest, ExportsWriteBothLayoutsLineForLine) {
  AddMacros();
  ASSERT_TRUE(ExportMacro(db_, fire_, File("one.xml"), texts_).ok());
  ExpectGolden(ReadFileBytes(File("one.xml")), "macro_single.xml");
  ASSERT_TRUE(ExportAllMacros(db_, File("all.xml")).ok());
  ExpectGolden(ReadFileBytes(File("all.xml")), "macro_all.xml");

  ASSERT_TRUE(ExportMacro(db_, empty_, File("empty.xml"), texts_).ok());
  EXPECT_NE(ReadFileBytes(File("empty.xml")).find("\r\n<macroitems/>\r\n</macro>\r\n"),
            std::string::npos);
  EXPECT_EQ(ExportMacro(db_, 999, File("none.xml"), texts_).status, ExchangeStatus::kNoSuchMacro);
  EXPECT_FALSE(std::filesystem::exists(File("none.xml")));
}

TEST_F(MacroFileTest, SingleExportNamesTheMacroAsTheListShowsIt) {
  // Made while the program spoke English; exported while it speaks Chinese.
  const int made = db_.AddMacro("Custom 3 Copy");
  ASSERT_GT(made, 0);
  const TextLookup chinese = [](int id) -> std::string {
    return id == 351  ? "\xE8\x87\xAA\xE5\xAE\x9A\xE4\xB9\x89"  // 自定义
           : id == 31 ? "\xE5\xA4\x8D\xE5\x88\xB6"
                      : "";  // 复制
  };
  ASSERT_TRUE(ExportMacro(db_, made, File("one.xml"), chinese).ok());
  EXPECT_NE(ReadFileBytes(File("one.xml"))
                .find("macro_name=\"\xE8\x87\xAA\xE5\xAE\x9A\xE4\xB9\x89 3  "
                      "\xE5\xA4\x8D\xE5\x88\xB6\""),
            std::string::npos)
      << ReadFileBytes(File("one.xml"));
  // The all-macros layout carries the stored names.
  ASSERT_TRUE(ExportAllMacros(db_, File("all.xml")).ok());
  EXPECT_NE(ReadFileBytes(File("all.xml")).find("macro_name=\"Custom 3 Copy\""), std::string::npos);
}

TEST_F(MacroFileTest, ImportsAppendCopiesWithNewIds) {
  AddMacros();
  ASSERT_TRUE(ExportMacro(db_, fire_, File("one.xml"), texts_).ok());
  ExchangeResult first = ImportMacro(db_, File("one.xml"));
  ExchangeResult second = ImportMacro(db_, File("one.xml"));
  ASSERT_TRUE(first.ok() && second.ok());
  ASSERT_EQ(first.macro_ids.size(), 1u);
  ASSERT_EQ(second.macro_ids.size(), 1u);
  EXPECT_NE(first.macro_ids[0], second.macro_ids[0]);
  EXPECT_EQ(Describe(first.macro_ids[0]), Describe(fire_));  // name with < & > intact
  EXPECT_EQ(Describe(second.macro_ids[0]), Describe(fire_));
  EXPECT_EQ(db_.GetMacros().size(), 4u);

  ASSERT_TRUE(ExportAllMacros(db_, File("all.xml")).ok());
  ExchangeResult all = ImportAllMacros(db_, File("all.xml"));
  ASSERT_TRUE(all.ok()) << all.message;
  ASSERT_EQ(all.macro_ids.size(), 4u);
  EXPECT_EQ(Describe(all.macro_ids[0]), Describe(fire_));
  EXPECT_EQ(Describe(all.macro_ids[1]), Describe(empty_));
  EXPECT_EQ(db_.GetMacros().size(), 8u);
  EXPECT_EQ(Describe(fire_).find("Fire <&>|1|3|2|10;A \"down\",0,2,65,0"), 0u);  // source untouched
}

TEST_F(MacroFileTest, EventIndexesAreKeptAsWritten) {
  const std::string text =
      "<macro><macroinfo macro_name=\"gaps\" play_times=\"2\"/><macroitems>"
      "<item desc=\"late\" index=\"7\" type=\"3\" value=\"65\"/>"
      "<item desc=\"early\" index=\"2\" type=\"2\" value=\"65\" timestamp=\"5\"/>"
      "</macroitems></macro>";
  ASSERT_TRUE(WriteFileBytes(File("gaps.xml"), text));
  ExchangeResult result = ImportMacro(db_, File("gaps.xml"));
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(Describe(result.macro_ids[0]), "gaps|0|2|0|0;early,2,2,65,5;late,7,3,65,0");
}

TEST_F(MacroFileTest, OtherLayoutImportsAsTheFormatSays) {
  AddMacros();
  ASSERT_TRUE(ExportAllMacros(db_, File("all.xml")).ok());
  ASSERT_TRUE(ExportMacro(db_, fire_, File("one.xml"), texts_).ok());
  // A single-macro import of an all-macros file: one empty macro, no events.
  ExchangeResult single = ImportMacro(db_, File("all.xml"));
  ASSERT_TRUE(single.ok());
  ASSERT_EQ(single.macro_ids.size(), 1u);
  EXPECT_EQ(Describe(single.macro_ids[0]), "|0|0|0|0");
  // An all-macros import of a single-macro file finds no macro items.
  ExchangeResult all = ImportAllMacros(db_, File("one.xml"));
  ASSERT_TRUE(all.ok());
  EXPECT_TRUE(all.macro_ids.empty());
  EXPECT_EQ(db_.GetMacros().size(), 3u);
}

TEST_F(MacroFileTest, BadFilesAddNothing) {
  ASSERT_TRUE(WriteFileBytes(File("profile.xml"), "<profile><profileinfo/></profile>"));
  ASSERT_TRUE(WriteFileBytes(File("broken.xml"), "<macro><macroinfo macro_name=\"x></macro>"));
  ASSERT_TRUE(WriteFileBytes(File("two_roots.xml"), "<macro/><macro/>"));
  for (const char* name : {"profile.xml", "broken.xml", "two_roots.xml", "missing.xml"}) {
    EXPECT_FALSE(ImportMacro(db_, File(name)).ok()) << name;
    EXPECT_FALSE(ImportAllMacros(db_, File(name)).ok()) << name;
  }
  EXPECT_TRUE(db_.GetMacros().empty());
}

}  // namespace
}  // namespace corvane::test
