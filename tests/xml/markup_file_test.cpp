// Loading and saving: byte-order marks, declared and guessed encodings, and robustness
// against missing, truncated and random files.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "base/text.h"
#include "support/temp_home.h"
#include "xml/charset_table.h"
#include "xml/markup_document.h"
#include "xml/text_codec.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

fs::path Fixture(const char* name) { return fs::path(CORVANE_TEST_DATA_DIR) / "xml" / name; }

TEST(MarkupLoad, Utf16WithByteOrderMark) {
  for (const char* name : {"utf16le_bom.xml", "utf16be_bom.xml"}) {
    SCOPED_TRACE(name);
    MarkupDocument doc;
    ASSERT_TRUE(doc.LoadFile(Fixture(name)));
    ASSERT_TRUE(doc.FindElement("root"));
    EXPECT_TRUE(doc.GetAttribute("name").starts_with(
        "\xC3\x9Cn\xC3\xAF" "c\xC3\xB8" "d\xC3\xA9 \xE9\xBC\xA0\xE6\xA0\x87"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement("item"));
    EXPECT_EQ(doc.GetAttributeInt("v"), 1);
  }
}

TEST(MarkupLoad, ThirtyTwoBitUnitsKeepCharactersOutsideTheBasicPlane) {
  // U+1F5B1 must not be split into 16-bit halves with the zero bytes dropped.
  std::u32string text = U"<?xml version=\"1.0\" encoding=\"UTF-32\"?><r v=\"\U0001F5B1\"/>";
  for (bool with_bom : {true, false}) {
    std::string bytes = with_bom ? std::string("\xFF\xFE\0\0", 4) : std::string();
    for (char32_t cp : text) {
      for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>(cp >> shift));
    }
    MarkupDocument doc;
    ASSERT_TRUE(doc.SetText(DecodeDocumentBytes(bytes).text));
    ASSERT_TRUE(doc.FindElement("r"));
    EXPECT_EQ(doc.GetAttribute("v"), "\xF0\x9F\x96\xB1");
    EXPECT_EQ(EncodeDocumentText(doc.GetText(), with_bom), bytes);
  }
}

TEST(MarkupLoad, DeclaredMultiByteEncodings) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.LoadFile(Fixture("gbk_declared.xml")));
  ASSERT_TRUE(doc.FindElement("device"));
  EXPECT_EQ(doc.GetAttribute("name"), "\xE6\xB8\xB8\xE6\x88\x8F\xE9\xBC\xA0\xE6\xA0\x87");
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement("button"));
  EXPECT_EQ(doc.GetAttribute("label"), "\xE5\xB7\xA6\xE9\x94\xAE");
  MarkupDocument sjis;
  ASSERT_TRUE(sjis.LoadFile(Fixture("shift_jis_declared.xml")));
  ASSERT_TRUE(sjis.FindElement("root"));
  EXPECT_EQ(sjis.GetAttribute("name"), "\xE3\x83\x9E\xE3\x82\xA6\xE3\x82\xB9");
}

TEST(MarkupLoad, UndeclaredEightBitText) {
  test::TempHome home;
  fs::path path = home.Root() / "a.xml";
  // Starts with '<': UTF-8 even without a declaration.
  ASSERT_TRUE(WriteFileBytes(path, "<r v=\"\xC3\xA9\"/>"));
  MarkupDocument doc;
  ASSERT_TRUE(doc.LoadFile(path));
  ASSERT_TRUE(doc.FindElement("r"));
  EXPECT_EQ(doc.GetAttribute("v"), "\xC3\xA9");
  // Not starting with '<' and not valid UTF-8: read in the fallback code page.
  ASSERT_TRUE(WriteFileBytes(path, " <r v=\"\xE9\"/>"));
  ASSERT_TRUE(doc.LoadFile(path));
  ASSERT_TRUE(doc.FindElement("r"));
  EXPECT_EQ(doc.GetAttribute("v"), "\xC3\xA9");  // windows-1252 0xE9 is U+00E9
  // Valid UTF-8 not starting with '<' is still UTF-8.
  ASSERT_TRUE(WriteFileBytes(path, " <r v=\"\xC3\xA9\"/>"));
  ASSERT_TRUE(doc.LoadFile(path));
  ASSERT_TRUE(doc.FindElement("r"));
  EXPECT_EQ(doc.GetAttribute("v"), "\xC3\xA9");
}

TEST(MarkupLoad, UnknownOrOverlongEncodingFallsBack) {
  test::TempHome home;
  fs::path path = home.Root() / "a.xml";
  std::string long_name(kMaxCharsetNameLength, 'x');
  for (const std::string& name : {std::string("no-such-charset"), long_name}) {
    ASSERT_TRUE(WriteFileBytes(
        path, "<?xml version=\"1.0\" encoding=\"" + name + "\"?><r v=\"\xE9\"/>"));
    MarkupDocument doc;
    ASSERT_TRUE(doc.LoadFile(path));
    ASSERT_TRUE(doc.FindElement("r"));
    EXPECT_EQ(doc.GetAttribute("v"), "\xC3\xA9");
  }
}

TEST(MarkupLoad, NulBytesAreDropped) {
  test::TempHome home;
  fs::path path = home.Root() / "a.xml";
  ASSERT_TRUE(WriteFileBytes(path, std::string("<r\0 v=\"1\"/>\0", 13)));
  MarkupDocument doc;
  ASSERT_TRUE(doc.LoadFile(path));
  ASSERT_TRUE(doc.FindElement("r"));
  EXPECT_EQ(doc.GetAttribute("v"), "1");
}

TEST(MarkupCharsets, NamesResolveCaseInsensitively) {
  EXPECT_EQ(CodePageForCharset("UTF-8"), 65001);
  EXPECT_EQ(CodePageForCharset("utf8"), 65001);
  EXPECT_EQ(CodePageForCharset("CP65001"), 65001);
  EXPECT_EQ(CodePageForCharset("Unicode"), 1200);
  EXPECT_EQ(CodePageForCharset("ucs-2"), 1200);
  EXPECT_EQ(CodePageForCharset("UnicodeFFFE"), 1201);
  EXPECT_EQ(CodePageForCharset("US-ASCII"), 20127);
  EXPECT_EQ(CodePageForCharset("Latin1"), 28591);
  EXPECT_EQ(CodePageForCharset("Windows-1252"), 1252);
  EXPECT_EQ(CodePageForCharset("GB2312"), 936);
  EXPECT_EQ(CodePageForCharset("big5"), 950);
  EXPECT_EQ(CodePageForCharset("Shift_JIS"), 932);
  EXPECT_EQ(CodePageForCharset("UTF-32"), 12000);
  EXPECT_EQ(CodePageForCharset("utf-32BE"), 12001);
  EXPECT_EQ(CodePageForCharset("klingon"), 0);
  EXPECT_EQ(CodePageForCharset(""), 0);
  EXPECT_GT(CharsetNameCount(), 300u);
}

TEST(MarkupCharsets, DeclarationSearch) {
  EXPECT_EQ(FindDeclaredEncoding("<?xml version=\"1.0\" encoding='GBK' ?><a/>"), "GBK");
  EXPECT_EQ(FindDeclaredEncoding("  <?xml encoding = \"big5\"?>"), "big5");
  EXPECT_EQ(FindDeclaredEncoding("<?xml version=\"1.0\"?><a encoding=\"x\"/>"), "");
  EXPECT_EQ(FindDeclaredEncoding("<html><head><META CHARSET=\"koi8-r\">"), "koi8-r");
  EXPECT_EQ(FindDeclaredEncoding("<meta http-equiv=\"Content-Type\" "
                                 "content=\"text/html; charset=windows-1251\">"),
            "windows-1251");
  EXPECT_EQ(FindDeclaredEncoding("<a/>"), "");
  EXPECT_EQ(FindDeclaredEncoding("<?xml encoding=\"unterminated"), "");
}

TEST(MarkupSave, WritesDeclaredEncodingWithoutByteOrderMark) {
  test::TempHome home;
  MarkupDocument doc;
  doc.SetText("<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n");
  ASSERT_TRUE(doc.AddElement("R"));
  ASSERT_TRUE(doc.SetAttribute("name", "\xE9\xBC\xA0 \xE2\x82\xAC"));  // 鼠 and the euro sign
  fs::path path = home.Root() / "gbk.xml";
  ASSERT_TRUE(doc.SaveFile(path));
  std::string bytes = ReadFileBytes(path);
  EXPECT_EQ(bytes.substr(0, 5), "<?xml");
  EXPECT_NE(bytes.find("\xCA\xF3"), std::string::npos);  // 鼠 in GBK
  MarkupDocument read;
  ASSERT_TRUE(read.LoadFile(path));
  ASSERT_TRUE(read.FindElement("R"));
  EXPECT_EQ(read.GetAttribute("name"), "\xE9\xBC\xA0 \xE2\x82\xAC");
}

TEST(MarkupSave, UnrepresentableCharactersBecomeReferences) {
  test::TempHome home;
  MarkupDocument doc;
  doc.SetText("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n");
  ASSERT_TRUE(doc.AddElement("R"));
  ASSERT_TRUE(doc.SetAttribute("name", "\xC3\xA9\xE9\xBC\xA0\xF0\x9F\x96\xB1"));
  fs::path path = home.Root() / "latin1.xml";
  ASSERT_TRUE(doc.SaveFile(path));
  std::string bytes = ReadFileBytes(path);
  EXPECT_NE(bytes.find("\"\xE9&#40736;&#128433;\""), std::string::npos);
  MarkupDocument read;
  ASSERT_TRUE(read.LoadFile(path));
  ASSERT_TRUE(read.FindElement("R"));
  EXPECT_EQ(read.GetAttribute("name"), "\xC3\xA9\xE9\xBC\xA0\xF0\x9F\x96\xB1");
}

TEST(MarkupSave, ByteOrderMarkOnlyWhenLoadedWithOne) {
  test::TempHome home;
  MarkupDocument doc;
  ASSERT_TRUE(doc.LoadFile(Fixture("utf16le_bom.xml")));
  fs::path copy = home.Root() / "copy.xml";
  ASSERT_TRUE(doc.SaveFile(copy));
  EXPECT_EQ(ReadFileBytes(copy), ReadFileBytes(Fixture("utf16le_bom.xml")));
  doc.SetText("<r/>");
  ASSERT_TRUE(doc.SaveFile(copy));
  EXPECT_EQ(ReadFileBytes(copy), "<r/>");
}

TEST(MarkupSave, FailsOnUnwritablePath) {
  test::TempHome home;
  MarkupDocument doc;
  doc.SetText("<r/>");
  EXPECT_FALSE(doc.SaveFile(home.Root() / "missing-dir" / "x.xml"));
  EXPECT_FALSE(doc.SaveFile(home.Root()));  // a folder
}

TEST(MarkupRobustness, MissingEmptyAndFolderPaths) {
  test::TempHome home;
  MarkupDocument doc;
  EXPECT_FALSE(doc.LoadFile(home.Root() / "nope.xml"));
  EXPECT_FALSE(doc.LoadFile(home.Root()));
  ASSERT_TRUE(WriteFileBytes(home.Root() / "empty.xml", ""));
  EXPECT_FALSE(doc.LoadFile(home.Root() / "empty.xml"));
  EXPECT_FALSE(doc.FindElement("r"));
  EXPECT_EQ(doc.GetAttribute("v"), "");
}

// Exercises every operation on a document that may be ill-formed; must neither crash nor
// read outside the text (run under the address sanitizer).
void Exercise(MarkupDocument& doc) {
  for (int round = 0; round < 3; ++round) {
    while (doc.FindNextElement()) {
      doc.GetAttribute("a");
      doc.GetTagName();
      if (doc.EnterElement()) {
        doc.FindElement("b");
        doc.SetAttribute("a", "<&>");
        doc.AddElement("c");
        doc.LeaveElement();
      }
    }
    doc.AddElement("z");
    doc.LeaveElement();
  }
}

TEST(MarkupRobustness, TruncatedDocumentsAtEveryLength) {
  const std::string full =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!DOCTYPE r [<!ELEMENT r ANY>]>"
      "<r a=\"1\" b='x>y' c=u/><!-- c --><s><![CDATA[<t>]]><?p q?><u a=\"&#x41;&amp;\">"
      "</u></s></r>";
  test::TempHome home;
  fs::path path = home.Root() / "t.xml";
  for (std::size_t length = 0; length <= full.size(); ++length) {
    std::string part = full.substr(0, length);
    MarkupDocument doc;
    doc.SetText(part);
    Exercise(doc);
    ASSERT_TRUE(WriteFileBytes(path, part));
    EXPECT_EQ(doc.LoadFile(path), length == full.size());
    Exercise(doc);
  }
}

TEST(MarkupRobustness, RandomBytes) {
  std::mt19937 random(20261209);
  const std::string alphabet = "<>/=\"'!?-[]&;#x a\r\nCDATAb\xC3\xA9\xFF\xFE";
  const char* const encodings[] = {"", "GBK", "UTF-16", "UTF-16BE", "UTF-32", "Shift_JIS",
                                   "ISO-2022-JP", "Big5", "UTF-7", "koi8-r"};
  constexpr int kRounds = 2000;
  constexpr int kFileEvery = 40;  // files are slow; most rounds decode in memory
  test::TempHome home;
  fs::path path = home.Root() / "r.xml";
  for (int i = 0; i < kRounds; ++i) {
    std::string bytes(random() % 200, '\0');
    for (char& byte : bytes) {
      byte = (i % 2 == 0) ? static_cast<char>(random() & 0xFF)
                          : alphabet[random() % alphabet.size()];
    }
    ASSERT_EQ(DecodeUtf8(bytes), Utf8ToUtf16(bytes));  // the fast path changes nothing
    const char* encoding = encodings[random() % std::size(encodings)];
    if (*encoding != '\0') {
      bytes = "<?xml version=\"1.0\" encoding=\"" + std::string(encoding) + "\"?>" + bytes;
    }
    MarkupDocument doc;
    doc.SetText(bytes);
    Exercise(doc);
    doc.SetText(DecodeDocumentBytes(bytes).text);
    Exercise(doc);
    EncodeDocumentText(doc.GetText(), i % 3 == 0);
    if (i % kFileEvery == 0) {
      ASSERT_TRUE(WriteFileBytes(path, bytes));
      doc.LoadFile(path);
      Exercise(doc);
      doc.SaveFile(path);
    }
  }
}

TEST(MarkupRobustness, Utf8DecodingAgreesAtEveryBlockOffset) {
  // ASCII is decoded sixteen bytes at a time; every kind of sequence, whole, cut short or
  // malformed, must come out as the general decoder reads it wherever a block boundary
  // falls, including at the very end of the text.
  const std::string sequences[] = {
      "\xC3\xA9",     "\xE9\xBC\xA0", "\xF0\x9F\x96\xB1", "\xC0\x80", "\xED\xA0\x80",
      "\xE0\x80\xAF", "\xE9\xBC",     "\xF4\x90\x80\x80", "\x80",     "\xFF",
      "\xC3"};
  for (const std::string& sequence : sequences) {
    for (std::size_t offset = 0; offset < 40; ++offset) {
      std::string bytes = std::string(offset, 'a') + sequence + std::string(33, 'b');
      std::string at_end = std::string(offset, 'a') + sequence;
      ASSERT_EQ(DecodeUtf8(bytes), Utf8ToUtf16(bytes)) << offset;
      ASSERT_EQ(DecodeUtf8(at_end), Utf8ToUtf16(at_end)) << offset;
    }
  }
  std::string long_text;
  for (int i = 0; i < 3000; ++i)
    long_text += "<k v=\"" + std::to_string(i) + "\" d=\"\xE9\xBC\xA0\"/>";
  EXPECT_EQ(DecodeUtf8(long_text), Utf8ToUtf16(long_text));  // spans many output buffers
}

TEST(MarkupRobustness, DeepNestingIsHandledWithoutRecursion) {
  constexpr int kDepth = 100000;
  std::string text;
  for (int i = 0; i < kDepth; ++i) text += "<a>";
  text += "</b>";  // lone end tag; every <a> stays open
  MarkupDocument doc;
  EXPECT_FALSE(doc.SetText(text));
  int found = 0;
  while (doc.FindNextElement()) ++found;  // all moved up to top level
  EXPECT_EQ(found, kDepth);
  text.resize(text.size() - 4);
  for (int i = 0; i < kDepth; ++i) text += "</a>";
  EXPECT_FALSE(doc.SetText(text));  // deeper than the index can record
  EXPECT_TRUE(doc.FindElement("a"));
}

}  // namespace
}  // namespace corvane
