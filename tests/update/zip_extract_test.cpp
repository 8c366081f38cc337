// Unpacking of update packages: layout and times, and confinement of hostile entries.

#include "update/zip_extract.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "support/temp_home.h"
#include "update_test_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::ZipEntry;

class ZipExtractTest : public ::testing::Test {
 protected:
  fs::path Archive() const { return home_.Root() / "package.zip"; }
  fs::path Folder() const { return home_.Root() / "data" / "temp"; }

  // Names directly under the temporary home, to spot anything written beside the folder.
  std::set<std::string> RootNames() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(home_.Root())) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  test::TempHome home_;
};

TEST_F(ZipExtractTest, EntriesLandUnderTheirRelativePathsWithTheirTime) {
  ASSERT_TRUE(test::WriteZip(Archive(), {{"firmware-105.bin", std::string(3000, '\x5A')},
                                         {"docs/", ""},
                                         {"docs/notes/readme.txt", "hello"},
                                         {"win\\style.txt", "back"}}));
  ASSERT_TRUE(extract(Archive(), Folder()));
  EXPECT_EQ(ReadFileBytes(Folder() / "firmware-105.bin"), std::string(3000, '\x5A'));
  EXPECT_EQ(ReadFileBytes(Folder() / "docs/notes/readme.txt"), "hello");
  EXPECT_EQ(ReadFileBytes(Folder() / "win/style.txt"), "back");
  EXPECT_EQ(fs::last_write_time(Folder() / "firmware-105.bin"), test::TestEntryTime());
}

TEST_F(ZipExtractTest, EntriesClimbingOutOrAbsoluteAreNeverWrittenOutside) {
  const fs::path absolute = home_.Root() / "absolute.txt";
  ASSERT_TRUE(test::WriteZip(Archive(), {{"../outside.txt", "x"},
                                         {"sub/../../../climb.txt", "x"},
                                         {absolute.string(), "x"},
                                         {"..\\backslash.txt", "x"},
                                         {"C:/drive.txt", "x"},
                                         {"kept.txt", "ok"}}));
  const std::set<std::string> before = RootNames();
  EXPECT_TRUE(extract(Archive(), Folder()));  // single refusals do not fail the archive
  EXPECT_EQ(ReadFileBytes(Folder() / "kept.txt"), "ok");
  EXPECT_FALSE(fs::exists(absolute));
  EXPECT_FALSE(fs::exists(Folder().parent_path() / "outside.txt"));
  std::set<std::string> after = RootNames();
  after.erase("data");
  std::set<std::string> expected = before;
  expected.erase("data");
  EXPECT_EQ(after, expected);
  EXPECT_FALSE(fs::exists(Folder() / "C:"));
}

TEST_F(ZipExtractTest, SymbolicLinksInsideTheFolderAreNotFollowed) {
  const fs::path outside = home_.Root() / "outside";
  fs::create_directories(outside);
  ASSERT_TRUE(test::WriteFileBytes(outside / "victim.txt", "original"));
  fs::create_directories(Folder());
  fs::create_directory_symlink(outside, Folder() / "dir_link");
  fs::create_symlink(outside / "victim.txt", Folder() / "file_link");
  ASSERT_TRUE(test::WriteZip(Archive(), {{"dir_link/planted.txt", "x"},
                                         {"dir_link/deeper/planted.txt", "x"},
                                         {"file_link", "overwritten"}}));
  EXPECT_TRUE(extract(Archive(), Folder()));
  EXPECT_FALSE(fs::exists(outside / "planted.txt"));
  EXPECT_FALSE(fs::exists(outside / "deeper"));
  EXPECT_EQ(ReadFileBytes(outside / "victim.txt"), "original");
}

TEST_F(ZipExtractTest, OverLongOrDeepNamesAreSkippedWithoutThrowing) {
  std::string deep;
  for (int i = 0; i < 3000; ++i) deep += "a/";
  deep += "deep.txt";
  const std::string long_part = std::string(300, 'n') + "/long.txt";
  const std::string long_file = "dir/" + std::string(300, 'f');
  ASSERT_TRUE(test::WriteZip(Archive(), {{deep, "x"},
                                         {long_part, "x"},
                                         {long_file, "x"},
                                         {std::string(300, 'g') + "/", ""},
                                         {"kept.txt", "ok"}}));
  bool extracted = false;
  EXPECT_NO_THROW(extracted = extract(Archive(), Folder()));
  EXPECT_TRUE(extracted);
  EXPECT_EQ(ReadFileBytes(Folder() / "kept.txt"), "ok");
  EXPECT_FALSE(fs::exists(Folder() / "a"));
}

TEST_F(ZipExtractTest, DamagedEntryLeavesNoFileButOthersAreExtracted) {
  const std::string marker = "FIRMWARE-IMAGE-BYTES-0123456789";
  ASSERT_TRUE(test::WriteZip(Archive(), {{"good.txt", "fine"}, {"bad.bin", marker, true}}));
  std::string bytes = ReadFileBytes(Archive());
  const size_t at = bytes.find(marker);
  ASSERT_NE(at, std::string::npos);
  bytes[at + 5] ^= 0x01;
  ASSERT_TRUE(test::WriteFileBytes(Archive(), bytes));
  EXPECT_TRUE(extract(Archive(), Folder()));
  EXPECT_EQ(ReadFileBytes(Folder() / "good.txt"), "fine");
  EXPECT_FALSE(fs::exists(Folder() / "bad.bin"));
}

TEST_F(ZipExtractTest, UnpackedSizeIsBounded) {
  ASSERT_TRUE(test::WriteZip(Archive(), {{"small.txt", std::string(100, 'a')},
                                         {"bomb.bin", std::string(200000, '\0')},
                                         {"after.txt", std::string(100, 'b')}}));
  EXPECT_TRUE(extract(Archive(), Folder(), 1000));
  EXPECT_TRUE(fs::exists(Folder() / "small.txt"));
  EXPECT_FALSE(fs::exists(Folder() / "bomb.bin"));
  EXPECT_TRUE(fs::exists(Folder() / "after.txt"));
}

TEST_F(ZipExtractTest, MissingOrNonZipArchiveFails) {
  EXPECT_FALSE(extract(Archive(), Folder()));
  ASSERT_TRUE(test::WriteFileBytes(Archive(), "<html>404 Not Found</html>"));
  EXPECT_FALSE(extract(Archive(), Folder()));
}

}  // namespace
}  // namespace corvane
