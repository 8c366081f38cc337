// The per-user key: the INI file store (path, atomic rewrite, value rules) and the read
// rules every store shares (missing key created, LCID fallbacks, decimal values).
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "app/ini_key_value_store.h"
#include "app/memory_key_value_store.h"
#include "support/temp_home.h"

namespace corvane {
namespace {

using test::ReadFileBytes;
using test::TempHome;
using test::WriteFileBytes;

TEST(IniKeyValueStoreTest, LivesUnderConfigHomeNamedAfterCaption) {
  TempHome home;
  IniKeyValueStore store = IniKeyValueStore::ForCaption("Corvane");
  EXPECT_EQ(store.FilePath(), home.ConfigHome() / "Corvane" / "registry.ini");
  EXPECT_EQ(store.Probe(), KeyValueStore::KeyState::kMissing);
  EXPECT_TRUE(store.WriteNumber(kValueDeviceType, 11));
  EXPECT_EQ(store.Probe(), KeyValueStore::KeyState::kPresent);
  EXPECT_EQ(ReadFileBytes(store.FilePath()), "[Corvane]\nDeviceType=11\n");
}

TEST(IniKeyValueStoreTest, CaptionCannotLeaveTheConfigFolder) {
  TempHome home;
  EXPECT_EQ(IniKeyValueStore::ForCaption("../../evil").FilePath(),
            home.ConfigHome() / ".._.._evil" / "registry.ini");
  EXPECT_EQ(IniKeyValueStore::ForCaption("..").FilePath(), home.ConfigHome() / "_" / "registry.ini");
  EXPECT_EQ(IniKeyValueStore::ForCaption("").FilePath(),
            home.ConfigHome() / "Corvane" / "registry.ini");
}

TEST(IniKeyValueStoreTest, LineBreakInTheCaptionPlantsNoSectionOrKey) {
  TempHome home;
  IniKeyValueStore store = IniKeyValueStore::ForCaption("Mouse]\nexit_mode=1\n[Mouse");
  EXPECT_TRUE(store.WriteNumber(kValueDeviceType, 11));
  EXPECT_EQ(ReadFileBytes(store.FilePath()), "[Mouse]_exit_mode=1_[Mouse]\nDeviceType=11\n");
  EXPECT_FALSE(store.ReadHideOnClose());
  EXPECT_EQ(store.ReadDeviceType(), 11);
}

TEST(IniKeyValueStoreTest, RewritesValuesInPlaceAndKeepsOtherLines) {
  TempHome home;
  IniKeyValueStore store = IniKeyValueStore::ForCaption("Corvane");
  ASSERT_TRUE(WriteFileBytes(store.FilePath(),
                             "; kept comment\r\n[Corvane]\r\nlcid = 1041\r\nexit_mode=1\r\n"));
  EXPECT_EQ(store.ReadLcid(), 1041);  // names compare without case, spaces trimmed
  EXPECT_TRUE(store.WriteLcid(1033));
  EXPECT_TRUE(store.WriteAutorunMinimize(true));
  EXPECT_EQ(ReadFileBytes(store.FilePath()),
            "; kept comment\n[Corvane]\nLCID=1033\nexit_mode=1\nautorun_minimize=1\n");
  EXPECT_TRUE(store.ReadHideOnClose());
  EXPECT_TRUE(store.ReadAutorunMinimize());
}

TEST(IniKeyValueStoreTest, LeavesNoTemporaryFilesBehind) {
  TempHome home;
  IniKeyValueStore store = IniKeyValueStore::ForCaption("Corvane");
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(store.WriteNumber(kValueDeviceType, i));
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(store.FilePath().parent_path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
  EXPECT_EQ(store.ReadDeviceType(), 4);
}

TEST(IniKeyValueStoreTest, ANewFileIsPrivateAndARewrittenOneKeepsItsMode) {
  TempHome home;
  const mode_t old_mask = ::umask(022);
  IniKeyValueStore store = IniKeyValueStore::ForCaption("Corvane");
  ASSERT_TRUE(store.WriteNumber(kValueDeviceType, 1));
  struct stat seen {};
  ASSERT_EQ(::stat(store.FilePath().c_str(), &seen), 0);
  EXPECT_EQ(seen.st_mode & 07777, 0600u);
  ASSERT_EQ(::chmod(store.FilePath().c_str(), 0640), 0);  // the user's own choice
  ASSERT_TRUE(store.WriteNumber(kValueDeviceType, 2));
  ::umask(old_mask);
  ASSERT_EQ(::stat(store.FilePath().c_str(), &seen), 0);
  EXPECT_EQ(seen.st_mode & 07777, 0640u);
  EXPECT_EQ(store.ReadDeviceType(), 2);
}

TEST(IniKeyValueStoreTest, RefusesNamesAndTextsThatWouldBreakTheFile) {
  TempHome home;
  IniKeyValueStore store = IniKeyValueStore::ForCaption("Corvane");
  EXPECT_FALSE(store.WriteText("", "1"));
  EXPECT_FALSE(store.WriteText("a=b", "1"));
  EXPECT_FALSE(store.WriteText("[x]", "1"));
  EXPECT_FALSE(store.WriteText("LCID", "1\nDeviceType=5"));
  EXPECT_EQ(store.ReadDeviceType(), 0);
}

TEST(IniKeyValueStoreTest, ConcurrentWritersLoseNoValue) {
  TempHome home;
  IniKeyValueStore store = IniKeyValueStore::ForCaption("Corvane");
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t) {
    writers.emplace_back([&store, t] {
      for (int i = 0; i < 20; ++i) store.WriteNumber("value" + std::to_string(t), i);
    });
  }
  for (auto& writer : writers) writer.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(store.ReadNumber("value" + std::to_string(t)), 19);
}

TEST(IniKeyValueStoreTest, UnreadableFileIsReportedAndFallsBackTo2052) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads files whatever their mode";
  TempHome home;
  IniKeyValueStore store = IniKeyValueStore::ForCaption("Corvane");
  ASSERT_TRUE(store.WriteLcid(1041));
  ASSERT_EQ(chmod(store.FilePath().c_str(), 0), 0);
  EXPECT_EQ(store.Probe(), KeyValueStore::KeyState::kUnreadable);
  EXPECT_EQ(store.ReadLcid(), kUnreadableKeyLanguage);
}

TEST(IniKeyValueStoreTest, AKeyThatCannotBeReadIsNeverOverwritten) {
  TempHome home;
  IniKeyValueStore store = IniKeyValueStore::ForCaption("Corvane");
  const std::filesystem::path file = store.FilePath();
  ASSERT_TRUE(std::filesystem::create_directories(file.parent_path()));
  // Unreadable even for root: a link to itself, and a link to a folder.
  std::filesystem::create_symlink(file.filename(), file);
  EXPECT_EQ(store.Probe(), KeyValueStore::KeyState::kUnreadable);
  EXPECT_FALSE(store.WriteLcid(1033));
  EXPECT_FALSE(store.WriteHideOnClose(true));
  EXPECT_TRUE(std::filesystem::is_symlink(file)) << "the key was replaced";
  std::filesystem::remove(file);
  std::filesystem::create_directory_symlink(home.Root(), file);
  EXPECT_FALSE(store.WriteNumber(kValueDeviceType, 11));
  EXPECT_TRUE(std::filesystem::is_symlink(file)) << "the key was replaced";
  std::filesystem::remove(file);

  if (geteuid() == 0) return;  // root reads files whatever their mode
  ASSERT_TRUE(store.WriteLcid(1041));
  ASSERT_TRUE(store.WriteHideOnClose(true));
  ASSERT_EQ(chmod(file.c_str(), 0), 0);
  EXPECT_FALSE(store.WriteLcid(1033));
  ASSERT_EQ(chmod(file.c_str(), 0600), 0);
  EXPECT_EQ(ReadFileBytes(file), "[Corvane]\nLCID=1041\nexit_mode=1\n");
}

TEST(IniKeyValueStoreTest, KeyInPlaceOfAFolderCannotBeCreated) {
  TempHome home;
  ASSERT_TRUE(WriteFileBytes(home.ConfigHome() / "Corvane", "a file, not a folder"));
  IniKeyValueStore store = IniKeyValueStore::ForCaption("Corvane");
  EXPECT_EQ(store.ReadLcid(), kUnreadableKeyLanguage);
  EXPECT_FALSE(store.WriteLcid(1033));
}

TEST(KeyValueStoreRulesTest, NumbersReadAsDecimalWithZeroForJunk) {
  MemoryKeyValueStore store;
  store.SetKeyPresent(true);
  store.WriteText(kValueExitMode, "hide");
  EXPECT_EQ(store.ReadNumber(kValueExitMode), 0);
  EXPECT_FALSE(store.ReadHideOnClose());
  store.WriteText(kValueExitMode, "1");
  EXPECT_TRUE(store.ReadHideOnClose());
  store.WriteText(kValueDeviceType, "12abc");
  EXPECT_EQ(store.ReadDeviceType(), 12);
  EXPECT_EQ(store.ReadNumber("never_written"), 0);
}

TEST(KeyValueStoreRulesTest, NumberReadCreatesMissingKeyButDeviceTypeReadDoesNot) {
  MemoryKeyValueStore store;
  EXPECT_EQ(store.ReadDeviceType(), 0);
  EXPECT_EQ(store.Probe(), KeyValueStore::KeyState::kMissing);
  EXPECT_EQ(store.ReadNumber(kValueAutorunMinimize), 0);
  EXPECT_EQ(store.Probe(), KeyValueStore::KeyState::kPresent);
}

TEST(KeyValueStoreRulesTest, LcidReadFallsBackOnlyWhenKeyIsUnusable) {
  MemoryKeyValueStore fresh;
  EXPECT_EQ(fresh.ReadLcid(), 0);  // created now
  EXPECT_EQ(fresh.Probe(), KeyValueStore::KeyState::kPresent);

  MemoryKeyValueStore cannot_create(/*can_create=*/false);
  EXPECT_EQ(cannot_create.ReadLcid(), kUnreadableKeyLanguage);

  MemoryKeyValueStore unreadable;
  unreadable.SetKeyPresent(true);
  unreadable.SetUnreadable(true);
  EXPECT_EQ(unreadable.ReadLcid(), kUnreadableKeyLanguage);
}

TEST(KeyValueStoreRulesTest, DeletedKeyIsRecreatedByTheLanguageRead) {
  TempHome home;
  IniKeyValueStore store = IniKeyValueStore::ForCaption("Corvane");
  ASSERT_TRUE(store.WriteLcid(1042));
  std::filesystem::remove_all(store.FilePath().parent_path());
  EXPECT_EQ(store.ReadLcid(), 0);
  EXPECT_EQ(store.Probe(), KeyValueStore::KeyState::kPresent);
  EXPECT_TRUE(store.WriteDeviceType(101));
  EXPECT_EQ(store.ReadDeviceType(), 101);
}

}  // namespace
}  // namespace corvane
