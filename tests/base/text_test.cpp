#include "base/text.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(TextTest, DecimalReadingFollowsStoredValueConvention) {
  EXPECT_EQ(DecimalToInt(""), 0);
  EXPECT_EQ(DecimalToInt("abc"), 0);
  EXPECT_EQ(DecimalToInt("  42"), 42);
  EXPECT_EQ(DecimalToInt("-17"), -17);
  EXPECT_EQ(DecimalToInt("12abc"), 12);
  EXPECT_EQ(DecimalToInt("99999999999"), 2147483647);
  EXPECT_EQ(DecimalToInt("-99999999999"), -2147483647 - 1);
  EXPECT_EQ(DecimalToInt(u"1600"), 1600);
  // The same reading, but text without digits is told apart from "0".
  EXPECT_EQ(DecimalPrefixToInt("0"), 0);
  EXPECT_EQ(DecimalPrefixToInt(" -7x"), -7);
  EXPECT_EQ(DecimalPrefixToInt("+12"), 12);
  EXPECT_EQ(DecimalPrefixToInt("99999999999"), 2147483647);
  for (const char* text : {"", "abc", " -", "+", "\t", "x1", "- 1"}) {
    EXPECT_FALSE(DecimalPrefixToInt(text).has_value()) << '"' << text << '"';
  }
  // A typed field: digits only, spaces around them; anything else is no number.
  EXPECT_EQ(TypedDigitsToInt(" 1600\t"), 1600);
  EXPECT_EQ(TypedDigitsToInt("0800"), 800);
  EXPECT_EQ(TypedDigitsToInt("99999999999"), 2147483647);
  for (const char* text : {"", "  ", "1,600", "1 600", "16k", "-5", "+5", "abc"}) {
    EXPECT_FALSE(TypedDigitsToInt(text).has_value()) << '"' << text << '"';
  }
}

TEST(TextTest, Utf8RoundTripsThroughUtf16IncludingAstralPlane) {
  const std::string text = "Profil \xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80";
  std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide.size(), 13u);  // the emoji is a surrogate pair
  EXPECT_EQ(Utf16ToUtf8(wide), text);
}

// The one surrogate encoder and joiner every UTF-16 reader and writer shares: each
// boundary of the two planes comes back as itself.
TEST(TextTest, SurrogatePairsJoinBackToTheCodePointTheyWereSplitFrom) {
  for (char32_t cp : {char32_t{0x41}, char32_t{0xFFFF}, char32_t{0x10000}, char32_t{0x1F600},
                      char32_t{0x10FFFF}}) {
    std::u16string units;
    AppendUtf16(units, cp);
    if (cp < 0x10000) {
      ASSERT_EQ(units.size(), 1u);
      EXPECT_EQ(char32_t{units[0]}, cp);
      continue;
    }
    ASSERT_EQ(units.size(), 2u);
    EXPECT_TRUE(IsHighSurrogate(units[0]));
    EXPECT_TRUE(IsLowSurrogate(units[1]));
    EXPECT_EQ(JoinSurrogates(units[0], units[1]), cp);
  }
  EXPECT_FALSE(IsHighSurrogate(0xDC00));
  EXPECT_FALSE(IsLowSurrogate(0xDBFF));
}

TEST(TextTest, MalformedSequencesBecomeReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xC3"), std::u16string(u"a\uFFFD"));
  EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), std::u16string(u"\uFFFD\uFFFD"));
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(TextTest, SafeFileStemsCannotLeaveTheirFolder) {
  EXPECT_TRUE(IsSafeFileStem("kestrel_pro"));
  EXPECT_TRUE(IsSafeFileStem("v1..2"));  // dots inside a name are harmless
  for (std::string bad : {std::string(), std::string("."), std::string(".."), std::string("../x"),
                          std::string("a/b"), std::string("a\\b"), std::string("a\0b", 3)}) {
    EXPECT_FALSE(IsSafeFileStem(bad)) << bad;
  }
}

}  // namespace
}  // namespace corvane
