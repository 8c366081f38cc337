// Program and data folder resolution and folder creation.
#include "app/app_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "support/temp_home.h"

namespace corvane {
namespace {

using test::TempHome;

TEST(AppFoldersTest, DataFolderIsCaptionFilesUnderXdgDataHome) {
  TempHome home;
  EXPECT_EQ(DataFolder("Corvane"), home.DataHome() / "Corvane Files");
  EXPECT_EQ(DatabaseFolder("Corvane"), home.DataHome() / "Corvane Files" / "db");
  EXPECT_EQ(DownloadFolder("Corvane"), home.DataHome() / "Corvane Files" / "temp");
  EXPECT_EQ(DataFolder("a/b"), home.DataHome() / "a_b Files");
  EXPECT_EQ(DataFolder("a\n[b]\nc=1\t\x7F"), home.DataHome() / "a_[b]_c=1__ Files");
}

TEST(AppFoldersTest, RelativeOrEmptyXdgVariablesFallBackToHome) {
  TempHome home;
  setenv("XDG_DATA_HOME", "relative/data", 1);
  setenv("XDG_CONFIG_HOME", "", 1);
  EXPECT_EQ(DataHome(), home.Root() / ".local/share");
  EXPECT_EQ(ConfigHome(), home.Root() / ".config");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(DataFolder("X"), home.Root() / ".local/share" / "X Files");
}

TEST(AppFoldersTest, CreateFolderPathMakesParentsAndAcceptsExistingFolders) {
  TempHome home;
  const auto deep = DatabaseFolder("Corvane");
  EXPECT_TRUE(CreateFolderPath(deep));
  EXPECT_TRUE(std::filesystem::is_directory(deep));
  EXPECT_TRUE(CreateFolderPath(deep));
  ASSERT_TRUE(test::WriteFileBytes(home.Root() / "file", "x"));
  EXPECT_FALSE(CreateFolderPath(home.Root() / "file"));
  EXPECT_FALSE(CreateFolderPath(home.Root() / "file" / "below"));
  EXPECT_FALSE(CreateFolderPath({}));
}

TEST(AppFoldersTest, CreatedFoldersArePrivateAndExistingOnesKeepTheirMode) {
  TempHome home;
  const mode_t old_mask = ::umask(022);
  const std::filesystem::path shared = home.Root() / "shared";
  std::filesystem::create_directory(shared);
  ::chmod(shared.c_str(), 0755);
  const bool made = CreateFolderPath(shared / "data" / "Corvane Files" / "db");
  ::umask(old_mask);
  ASSERT_TRUE(made);
  auto mode = [](const std::filesystem::path& path) {
    struct stat seen {};
    return ::stat(path.c_str(), &seen) == 0 ? (seen.st_mode & 07777) : 01000u;
  };
  EXPECT_EQ(mode(shared), 0755u);
  EXPECT_EQ(mode(shared / "data"), 0700u);
  EXPECT_EQ(mode(shared / "data" / "Corvane Files"), 0700u);
  EXPECT_EQ(mode(shared / "data" / "Corvane Files" / "db"), 0700u);
}

TEST(AppFoldersTest, ProgramFolderOverrideWinsOverExecutableFolder) {
  EXPECT_EQ(ResolveProgramFolder("/opt/corvane-data"), "/opt/corvane-data");
  // The test binary has no config.xml beside it, so the installed layout is assumed.
  const auto exe = ExecutableFolder();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(ResolveProgramFolder(), (exe / "../share/corvane").lexically_normal());
}

}  // namespace
}  // namespace corvane
