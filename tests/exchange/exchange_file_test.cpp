// Loading limits shared by both imports: size cap, endless devices, encodings.
#include "exchange/exchange_file.h"

#include <string>

#include "exchange/macro_file.h"
#include "exchange_fixture.h"
#include "xml/markup_document.h"

namespace corvane::test {
namespace {

using ExchangeFileTest = ExchangeTest;

TEST_F(ExchangeFileTest, OversizedFilesAreRefusedUnparsed) {
  std::string big = "<macro><macroinfo macro_name=\"big\"/><macroitems>";
  big.append(kMaxExchangeFileBytes, ' ');
  big += "</macroitems></macro>";
  ASSERT_TRUE(WriteFileBytes(File("big.xml"), big));
  EXPECT_EQ(ImportMacro(db_, File("big.xml")).status, ExchangeStatus::kTooLarge);
  EXPECT_TRUE(db_.GetMacros().empty());

  // Exactly at the limit is still read.
  std::string edge = "<macro><macroinfo macro_name=\"edge\"/></macro>";
  edge.append(kMaxExchangeFileBytes - edge.size(), ' ');
  ASSERT_TRUE(WriteFileBytes(File("edge.xml"), edge));
  EXPECT_TRUE(ImportMacro(db_, File("edge.xml")).ok());
}

TEST_F(ExchangeFileTest, EndlessDeviceStopsAtTheLimit) {
  MarkupDocument doc;
  EXPECT_EQ(LoadExchangeDocument("/dev/zero", "macro", doc).status, ExchangeStatus::kTooLarge);
}

TEST_F(ExchangeFileTest, ByteOrderMarkAndUtf16FilesLoad) {
  MarkupDocument doc;
  ASSERT_TRUE(WriteFileBytes(File("bom.xml"),
                             "\xEF\xBB\xBF<macro><macroinfo macro_name=\"\xC3\xA9\"/></macro>"));
  ASSERT_TRUE(LoadExchangeDocument(File("bom.xml"), "macro", doc).ok());
  ExchangeResult result = ImportMacro(db_, File("bom.xml"));
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(db_.GetMacro(result.macro_ids[0])->name, "\xC3\xA9");

  const std::u16string wide = u"\uFEFF<macro><macroinfo macro_name=\"w\"/></macro>";
  std::string bytes;
  for (char16_t unit : wide) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  ASSERT_TRUE(WriteFileBytes(File("wide.xml"), bytes));
  result = ImportMacro(db_, File("wide.xml"));
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(db_.GetMacro(result.macro_ids[0])->name, "w");
}

TEST_F(ExchangeFileTest, ExportReplacesAnExistingFileWhole) {
  ASSERT_TRUE(WriteFileBytes(File("out.xml"), std::string(100000, 'x')));
  ASSERT_GT(db_.AddMacro("m"), 0);
  ASSERT_TRUE(ExportAllMacros(db_, File("out.xml")).ok());
  const std::string text = ReadFileBytes(File("out.xml"));
  EXPECT_EQ(text.rfind(kExchangeDeclaration, 0), 0u);
  EXPECT_EQ(text.find("xxxx"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(File("out.xml.part")));
}

}  // namespace
}  // namespace corvane::test
