// The CLI's JSON writer: commas, nesting and string escaping.
#include "cli/json_writer.h"

#include <gtest/gtest.h>

namespace corvane::cli {
namespace {

TEST(JsonWriterTest, PlacesCommasBetweenMembersAndElementsOnly) {
  JsonWriter json;
  json.BeginObject()
      .StringMember("a", "x")
      .IntMember("b", -5)
      .Key("c")
      .BeginArray()
      .Int(1)
      .BeginObject()
      .EndObject()
      .BeginArray()
      .EndArray()
      .Null()
      .EndArray()
      .BoolMember("d", false)
      .EndObject();
  EXPECT_EQ(json.Text(), R"({"a":"x","b":-5,"c":[1,{},[],null],"d":false})");
}

TEST(JsonWriterTest, EscapesQuotesBackslashesAndControlCharacters) {
  EXPECT_EQ(JsonWriter::Quote("say \"hi\"\\"), R"("say \"hi\"\\")");
  EXPECT_EQ(JsonWriter::Quote("a\nb\tc\r\x01\x7F"), R"("a\nb\tc\r\u0001\u007f")");
  EXPECT_EQ(JsonWriter::Quote(std::string("nul\0end", 7)), R"("nul\u0000end")");
  EXPECT_EQ(JsonWriter::Quote("配置 </script>"), "\"配置 </script>\"");
}

TEST(JsonWriterTest, MalformedUtf8BecomesReplacementCharacter) {
  EXPECT_EQ(JsonWriter::Quote("a\xC3"), "\"a\xEF\xBF\xBD\"");
  EXPECT_EQ(JsonWriter::Quote("\xFF"), "\"\xEF\xBF\xBD\"");
}

}  // namespace
}  // namespace corvane::cli
