// The command line when the settings store refuses to write: another program holding the
// database, a full disk, a read-only disk. Every such run fails and says which of them it
// was; none reports success over what it could not store.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "store/sqlite_db.h"
#include "support/small_disk.h"

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

class StoreFailuresEndToEndTest : public CliEndToEndTest {
 protected:
  // Makes the model's database (and a profile file to import) and returns the database.
  fs::path Prepare() {
    EXPECT_EQ(Cli({"--simulate=wired", "profile", "export", Profile().string()}).exit_code, 0);
    for (const auto& entry : fs::recursive_directory_iterator(home_.DataHome())) {
      if (entry.path().extension() == ".db") return entry.path();
    }
    ADD_FAILURE() << "no database was made";
    return {};
  }
  fs::path Profile() const { return home_.Root() / "Imported.xml"; }

  // Runs each command and expects it to fail naming `words`.
  void ExpectRefused(const std::vector<std::vector<std::string>>& commands,
                     const std::string& words) {
    for (std::vector<std::string> command : commands) {
      command.insert(command.begin(), "--simulate=wired");
      const CliResult result = Cli(command);
      EXPECT_NE(result.exit_code, 0) << command[1] << ": " << result.out;
      EXPECT_NE(result.err.find(words), std::string::npos) << command[1] << ": " << result.err;
      EXPECT_EQ(result.err.find("no profile"), std::string::npos) << result.err;
    }
  }

  // The active profile's name, read afresh.
  std::string ActiveName() {
    const CliResult listed = Cli({"--simulate=wired", "profiles"});
    const size_t star = listed.out.find("* ");
    if (star == std::string::npos) return "?";
    const size_t name = listed.out.find(' ', star + 2) + 1;
    return listed.out.substr(name, listed.out.find('\n', name) - name);
  }
};

TEST_F(StoreFailuresEndToEndTest, AnotherWriterHoldingTheDatabaseIsNamed) {
  const fs::path db = Prepare();
  ASSERT_FALSE(db.empty());
  ASSERT_EQ(Cli({"--simulate=wired", "button", "2", "1", "3"}).exit_code, 0);
  SQLiteDB other;
  ASSERT_TRUE(other.Open(db.string(), "", SQLiteDB::kOpenReadWrite));
  ASSERT_EQ(other.Execute("BEGIN IMMEDIATE"), 0);  // readers may go on, writers wait
  ExpectRefused({{"profile", "import", Profile().string()},
                 {"buttons", "reset"},
                 {"button", "2", "reset"},
                 {"set", "dpi_count", "3"},
                 {"profile", "rename", "2", "Other"}},
                "database busy");
  other.Execute("ROLLBACK");
  EXPECT_NE(ActiveName(), "Imported");
  const CliResult buttons = Cli({"--simulate=wired", "buttons"});
  EXPECT_EQ(buttons.out.rfind("2 1 3 ", 0), 0u) << "the button was reset after all: " << buttons.out;
}

TEST_F(StoreFailuresEndToEndTest, AFullOrReadOnlyDiskIsNamed) {
  SmallDisk disk(home_.DataHome(), 1 << 20);
  if (!disk.Mounted()) GTEST_SKIP() << "no permission to mount a small disk";
  ASSERT_FALSE(Prepare().empty());
  ASSERT_EQ(Cli({"--simulate=wired", "button", "2", "1", "3"}).exit_code, 0);
  ASSERT_TRUE(disk.Fill());
  const std::vector<std::vector<std::string>> commands = {
      {"profile", "import", Profile().string()}, {"readback"}, {"buttons", "reset"},
      {"button", "2", "reset"}, {"light", "1"}};
  ExpectRefused(commands, "disk full");
  disk.Free();
  ASSERT_TRUE(disk.SetReadOnly(true));
  ExpectRefused(commands, "read-only");
  ASSERT_TRUE(disk.SetReadOnly(false));
  EXPECT_NE(ActiveName(), "Imported");
  const CliResult buttons = Cli({"--simulate=wired", "buttons"});
  EXPECT_EQ(buttons.out.rfind("2 1 3 ", 0), 0u) << buttons.out;
}

}  // namespace
}  // namespace corvane::test
