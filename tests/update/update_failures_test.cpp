// Update jobs that fail say why, leave nothing of an unpack behind, and cannot be tricked:
// a version text with a line break, a package with two images of one name, a link planted
// where the image is unpacked, a damaged image, a package that is no zip.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/temp_home.h"
#include "update/http_transfer.h"
#include "update/update_install.h"
#include "update/version_check.h"
#include "update/zip_extract.h"
#include "update_test_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

class UpdateFailuresTest : public test::LocalServerTest {
 protected:
  fs::path DataFolder() const { return home_.DataHome() / "Corvane Files"; }
  fs::path Temp() const { return DataFolder() / "temp"; }
  fs::path Package() const { return Served() / "fw" / "mouse" / "firmware-105.zip"; }

  // Runs the firmware install of version 105; returns its failure text ("" on success).
  std::string RunFirmwareJob() {
    const FirmwareTransfer send = [this](const std::vector<std::uint8_t>& image) {
      handed_.emplace_back(image.begin(), image.end());
      return true;
    };
    std::string failure;
    const bool done =
        InstallFirmwareUpdate(transfer_, view_, send, DataFolder(), Url("/fw"), "105", &failure);
    EXPECT_EQ(done, failure.empty()) << failure;
    return failure;
  }

  // The files left in the temporary folder.
  std::vector<std::string> Left() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(Temp(), ec)) {
      names.push_back(entry.path().lexically_relative(Temp()).string());
    }
    return names;
  }

  HttpTransfer transfer_;
  test::RecordingView view_;
  std::vector<std::string> handed_;
};

TEST_F(UpdateFailuresTest, AVersionWithALineBreakIsTrimmedOnceForEveryUse) {
  ASSERT_TRUE(WriteFileBytes(Served() / "sw" / "version", "1.0.9\r\n"));
  VersionCheckState software;
  std::string failure;
  EXPECT_EQ(CheckSoftwareVersion(transfer_, view_, "1.0.2", Url("/sw/"), software, &failure),
            kUpdateAvailable);
  EXPECT_EQ(software.new_version, "1.0.9");
  EXPECT_EQ(failure, "");
  ASSERT_TRUE(WriteFileBytes(Served() / "fw" / "mouse" / "version", " 106\n"));
  VersionCheckState firmware;
  CheckFirmwareVersion(transfer_, view_, "105", Url("/fw"), firmware);
  EXPECT_EQ(firmware.new_version, "106");
  // The trimmed text names the package, so the offered update can be installed.
  ASSERT_TRUE(test::WriteZip(Served() / "fw" / "mouse" / "firmware-106.zip",
                             {{"firmware-106.bin", "image"}}));
  std::string install_failure;
  const FirmwareTransfer send = [this](const std::vector<std::uint8_t>& image) {
    handed_.emplace_back(image.begin(), image.end());
    return true;
  };
  EXPECT_TRUE(InstallFirmwareUpdate(transfer_, view_, send, DataFolder(), Url("/fw"),
                                    firmware.new_version, &install_failure))
      << install_failure;
  EXPECT_EQ(handed_, std::vector<std::string>{"image"});
}

TEST_F(UpdateFailuresTest, AFailedCheckSaysWhy) {
  VersionCheckState software;
  std::string failure;
  CheckSoftwareVersion(transfer_, view_, "1.0.2", Url("/sw/"), software, &failure);
  EXPECT_NE(failure.find("HTTP status 404"), std::string::npos) << failure;
  ASSERT_TRUE(WriteFileBytes(Served() / "sw" / "version", "<html>x</html>"));
  CheckSoftwareVersion(transfer_, view_, "1.0.2", Url("/sw/"), software, &failure);
  EXPECT_NE(failure.find("did not answer with a version"), std::string::npos) << failure;
  EXPECT_EQ(software.state, kUpdateNotChecked);
}

TEST_F(UpdateFailuresTest, EachInstallFailureIsNamedAndTheUnpackIsRemoved) {
  EXPECT_NE(RunFirmwareJob().find("HTTP status 404"), std::string::npos);

  ASSERT_TRUE(WriteFileBytes(Package(), "PK\x03\x04 cut short"));
  EXPECT_NE(RunFirmwareJob().find("not a readable zip archive"), std::string::npos);

  ASSERT_TRUE(test::WriteZip(Package(), {{"readme.txt", "x"}, {"sub/notes.txt", "y"}}));
  EXPECT_NE(RunFirmwareJob().find("holds no firmware-105.bin"), std::string::npos);
  EXPECT_TRUE(Left().empty()) << Left().front();

  const std::string marker = "FIRMWARE-IMAGE-BYTES-0123456789";
  ASSERT_TRUE(test::WriteZip(Package(), {{"firmware-105.bin", marker, true}}));
  std::string bytes = ReadFileBytes(Package());
  bytes[bytes.find(marker) + 5] ^= 0x01;  // the checksum no longer matches
  ASSERT_TRUE(WriteFileBytes(Package(), bytes));
  EXPECT_NE(RunFirmwareJob().find("firmware-105.bin is damaged"), std::string::npos);

  ASSERT_TRUE(test::WriteZip(Package(), {{"firmware-105.bin", ""}}));
  EXPECT_NE(RunFirmwareJob().find("firmware-105.bin"), std::string::npos);
  EXPECT_TRUE(handed_.empty());
  EXPECT_TRUE(Left().empty());

  // Used: the image and everything beside it are gone once it was handed over.
  ASSERT_TRUE(test::WriteZip(Package(), {{"firmware-105.bin", "image"}, {"readme.txt", "x"}}));
  EXPECT_EQ(RunFirmwareJob(), "");
  EXPECT_EQ(handed_, std::vector<std::string>{"image"});
  EXPECT_TRUE(Left().empty());
}

TEST_F(UpdateFailuresTest, TwoImagesOfOneNameRefuseThePackage) {
  ASSERT_TRUE(test::WriteZip(Package(), {{"firmware-105.bin", "first"},
                                         {"firmware-105.bin", "second"}}));
  EXPECT_NE(RunFirmwareJob().find("two entries named firmware-105.bin"), std::string::npos);
  EXPECT_TRUE(handed_.empty());
  EXPECT_TRUE(Left().empty());
}

TEST_F(UpdateFailuresTest, ALinkPlantedAtTheImagePathIsNotFollowed) {
  const fs::path other = home_.Root() / "other.bin";
  ASSERT_TRUE(WriteFileBytes(other, "NOT THE FIRMWARE"));
  fs::create_directories(Temp());
  fs::create_symlink(other, Temp() / "firmware-105.bin");
  ASSERT_TRUE(test::WriteZip(Package(), {{"firmware-105.bin", "image"}}));
  EXPECT_NE(RunFirmwareJob(), "");
  EXPECT_TRUE(handed_.empty()) << "flashed " << handed_.front();
  EXPECT_EQ(ReadFileBytes(other), "NOT THE FIRMWARE");
}

TEST_F(UpdateFailuresTest, AnArchiveWithTooManyEntriesIsRefusedUnread) {
  std::vector<test::ZipEntry> entries;
  for (size_t i = 0; i <= kMaxArchiveEntries; ++i) entries.push_back({std::to_string(i), "x"});
  const fs::path archive = home_.Root() / "many.zip";
  ASSERT_TRUE(test::WriteZip(archive, entries));
  const ExtractReport report = ExtractArchive(archive, home_.Root() / "out");
  EXPECT_NE(report.refused.find("more than 1000 entries"), std::string::npos) << report.refused;
  EXPECT_TRUE(report.written.empty());
  EXPECT_FALSE(fs::exists(home_.Root() / "out" / "0"));
}

TEST_F(UpdateFailuresTest, TheTemporaryFolderAndWhatIsUnpackedArePrivate) {
  const mode_t old_mask = ::umask(022);
  ASSERT_TRUE(test::WriteZip(Package(), {{"firmware-105.bin", "image"}, {"readme.txt", "x"}}));
  RunFirmwareJob();
  ::umask(old_mask);
  struct stat seen {};
  ASSERT_EQ(::stat(Temp().c_str(), &seen), 0);
  EXPECT_EQ(seen.st_mode & 0777, 0700u);
}

}  // namespace
}  // namespace corvane
