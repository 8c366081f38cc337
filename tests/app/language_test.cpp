// Language files and texts: the INI reader's encodings and rules, LanguageText lookups,
// the start-up language selection and the locale mapping.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/ini_file.h"
#include "app/language_selection.h"
#include "app/language_text.h"
#include "app/memory_key_value_store.h"
#include "support/temp_home.h"

namespace corvane {
namespace {

using test::TempHome;
using test::WriteFileBytes;

std::string Utf16LeWithBom(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

TEST(IniFileTest, ReadsUtf16LittleEndianWithBom) {
  const IniFile file = IniFile::Parse(Utf16LeWithBom(u"[LAN]\r\n61=プロファイル\r\n1=𝄞 clef\r\n"));
  EXPECT_EQ(file.Get("LAN", "61"), "プロファイル");
  EXPECT_EQ(file.Get("LAN", "1"), "𝄞 clef");
}

TEST(IniFileTest, ReadsUtf8WithAndWithoutBom) {
  EXPECT_EQ(IniFile::Parse("[LAN]\n61=Профіль\n").Get("LAN", "61"), "Профіль");
  EXPECT_EQ(IniFile::Parse("\xEF\xBB\xBF[LAN]\n61=配置\n").Get("LAN", "61"), "配置");
}

TEST(IniFileTest, FollowsTheClassicLookupRules) {
  const IniFile file = IniFile::Parse(
      "; comment\n61=outside any section\n[other]\n61=wrong section\n"
      "[lan]\n  61  =  Profile  \n61=second copy\n2=\"quoted\"\n3='x'\n4=\"half\n"
      "5=a\\nb\n6=\nnoequals\n");
  EXPECT_EQ(file.Get("LAN", "61"), "Profile");  // section without case, trimmed, first wins
  EXPECT_EQ(file.Get("LAN", "2"), "quoted");
  EXPECT_EQ(file.Get("LAN", "3"), "x");
  EXPECT_EQ(file.Get("LAN", "4"), "\"half");
  EXPECT_EQ(file.Get("LAN", "5"), "a\\nb");  // no escapes are interpreted
  EXPECT_EQ(file.Get("LAN", "6"), "");
  EXPECT_EQ(file.Get("LAN", "7"), std::nullopt);
  EXPECT_EQ(file.Get("missing", "61"), std::nullopt);
  EXPECT_EQ(file.KeyCount("LAN"), 6u);
}

TEST(IniFileTest, CutsLongValuesTo259Utf16UnitsWithoutSplittingAPair) {
  const std::string ascii(300, 'a');
  EXPECT_EQ(IniFile::Parse("[LAN]\n1=" + ascii + "\n").Get("LAN", "1")->size(), 259u);
  // 258 units, then a surrogate pair straddling the limit: the pair is dropped whole.
  const std::string text = std::string(258, 'b') + "𝄞tail";
  EXPECT_EQ(IniFile::Parse("[LAN]\n1=" + text + "\n").Get("LAN", "1"), std::string(258, 'b'));
}

TEST(LanguageTextTest, LooksUpTheCurrentLanguageFileAndSwitchesAtOnce) {
  TempHome home;
  const auto program = home.Root() / "program";
  ASSERT_TRUE(WriteFileBytes(program / "language/1033.lan", "[LAN]\r\n61=Profile\r\n"));
  ASSERT_TRUE(WriteFileBytes(program / "language/1041.lan", Utf16LeWithBom(u"[LAN]\r\n61=プロファイル\r\n")));
  LanguageText texts(program);
  EXPECT_EQ(texts.LanguageId(), 0);
  EXPECT_EQ(texts.Text(61), "");  // no language chosen: no file
  texts.SetLanguageId(1033);
  EXPECT_EQ(texts.LanguageFilePath(1033), program / "language" / "1033.lan");
  EXPECT_EQ(texts.Text(61), "Profile");
  EXPECT_EQ(texts.Text(62), "");
  EXPECT_EQ(texts.Text(61, "other"), "");
  texts.SetLanguageId(1041);
  EXPECT_EQ(texts.Text(61), "プロファイル");
  texts.SetLanguageId(1042);  // listed nowhere, no file: empty texts, nothing reported
  EXPECT_EQ(texts.Text(61), "");
}

TEST(LanguageTextTest, ChoosingTheLanguageAgainRereadsAFileThatChanged) {
  TempHome home;
  const auto program = home.Root() / "program";
  LanguageText texts(program);
  texts.SetLanguageId(1033);
  EXPECT_EQ(texts.Text(17), "");
  ASSERT_TRUE(WriteFileBytes(program / "language/1033.lan", "[LAN]\n17=Software version\n"));
  texts.SetLanguageId(1033);
  EXPECT_EQ(texts.Text(17), "Software version");
}

TEST(LanguageSelectionTest, FirstStartTakesASupportedSystemLanguage) {
  MemoryKeyValueStore store;
  EXPECT_EQ(SelectStartupLanguage(store, {1033, 1041, 2052}, 1041), 1041);
  EXPECT_EQ(store.ReadLcid(), 1041);
}

TEST(LanguageSelectionTest, FirstStartWithUnlistedSystemLanguageEndsInEnglish) {
  MemoryKeyValueStore store;
  EXPECT_EQ(SelectStartupLanguage(store, {1033, 1041, 2052}, 1031), 1033);
  EXPECT_EQ(store.ReadLcid(), 1033);
}

TEST(LanguageSelectionTest, StoredLanguageIsKeptOnlyWhileListed) {
  MemoryKeyValueStore store;
  store.WriteLcid(2052);
  EXPECT_EQ(SelectStartupLanguage(store, {1033, 2052}, 1041), 2052);
  store.WriteLcid(1042);  // chosen in the list although config.xml does not list it
  EXPECT_EQ(SelectStartupLanguage(store, {1033, 2052}, 1041), 1033);
  EXPECT_EQ(store.ReadLcid(), 1033);
}

TEST(LanguageSelectionTest, EmptyLanguageListAlwaysEndsInEnglish) {
  MemoryKeyValueStore store;
  EXPECT_EQ(SelectStartupLanguage(store, {}, 2052), 1033);
  store.WriteLcid(2052);
  EXPECT_EQ(SelectStartupLanguage(store, {}, 2052), 1033);
}

TEST(LanguageSelectionTest, UnusableKeyGives2052WhenListedElseEnglish) {
  MemoryKeyValueStore store(/*can_create=*/false);
  EXPECT_EQ(SelectStartupLanguage(store, {1033, 2052}, 1041), 2052);
  EXPECT_EQ(SelectStartupLanguage(store, {1033}, 1041), 1033);
  EXPECT_EQ(store.WriteCount(), 0);
}

TEST(LanguageSelectionTest, LocalesMapToWindowsLanguageIds) {
  EXPECT_EQ(LocaleToLanguageId("ja_JP.UTF-8"), 1041);
  EXPECT_EQ(LocaleToLanguageId("zh_CN.UTF-8"), 2052);
  EXPECT_EQ(LocaleToLanguageId("zh_TW.Big5"), 1028);
  EXPECT_EQ(LocaleToLanguageId("ko_KR"), 1042);
  EXPECT_EQ(LocaleToLanguageId("uk_UA.UTF-8@euro"), 1058);
  EXPECT_EQ(LocaleToLanguageId("en_GB.UTF-8"), 2057);
  EXPECT_EQ(LocaleToLanguageId("de_LU.UTF-8"), 1031);  // unknown territory: the language
  EXPECT_EQ(LocaleToLanguageId("de"), 1031);
  EXPECT_EQ(LocaleToLanguageId("C.UTF-8"), 1033);
  EXPECT_EQ(LocaleToLanguageId("POSIX"), 1033);
  EXPECT_EQ(LocaleToLanguageId("xx_YY"), 0);
  EXPECT_EQ(LocaleToLanguageId(""), 0);
}

TEST(LanguageSelectionTest, SystemLanguagePrefersLcAllThenLcMessagesThenLang) {
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  unsetenv("LANG");
  EXPECT_EQ(SystemLanguageId(), 1033);
  setenv("LANG", "ko_KR.UTF-8", 1);
  EXPECT_EQ(SystemLanguageId(), 1042);
  setenv("LC_MESSAGES", "uk_UA.UTF-8", 1);
  EXPECT_EQ(SystemLanguageId(), 1058);
  setenv("LC_ALL", "ja_JP.UTF-8", 1);
  EXPECT_EQ(SystemLanguageId(), 1041);
  setenv("LC_ALL", "", 1);
  EXPECT_EQ(SystemLanguageId(), 1058);
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  unsetenv("LANG");
}

}  // namespace
}  // namespace corvane
