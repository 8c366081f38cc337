// Loading limits shared by both imports: size cap, endless devices, encodings.
#include "exchange/exchange_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
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

// Names of the files in the test's folder, to see that no temporary file stays behind.
std::set<std::string> FolderNames(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

TEST_F(ExchangeFileTest, ExportWritesExactlyTheChosenPath) {
  namespace fs = std::filesystem;
  ASSERT_GT(db_.AddMacro("m"), 0);
  const fs::path folder = File("exports");
  fs::create_directories(folder / "real");

  // A link keeps pointing at its target, which gets the export; its permissions stay.
  ASSERT_TRUE(WriteFileBytes(folder / "real" / "target.xml", "old"));
  fs::permissions(folder / "real" / "target.xml",
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("real/target.xml", folder / "link.xml");
  ASSERT_TRUE(ExportAllMacros(db_, folder / "link.xml").ok());
  EXPECT_TRUE(fs::is_symlink(folder / "link.xml"));
  EXPECT_EQ(ReadFileBytes(folder / "real" / "target.xml").rfind(kExchangeDeclaration, 0), 0u);
  EXPECT_EQ(fs::status(folder / "real" / "target.xml").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  // A link to a file that does not exist yet creates that file.
  fs::create_symlink("real/new.xml", folder / "dangling.xml");
  ASSERT_TRUE(ExportAllMacros(db_, folder / "dangling.xml").ok());
  EXPECT_TRUE(fs::is_symlink(folder / "dangling.xml"));
  EXPECT_EQ(ReadFileBytes(folder / "real" / "new.xml").rfind(kExchangeDeclaration, 0), 0u);

  // A file that merely shares the temporary name of older versions is someone's data.
  ASSERT_TRUE(WriteFileBytes(folder / "out.xml", "old"));
  ASSERT_TRUE(WriteFileBytes(folder / "out.xml.part", "keep me"));
  ASSERT_TRUE(ExportAllMacros(db_, folder / "out.xml").ok());
  EXPECT_EQ(ReadFileBytes(folder / "out.xml.part"), "keep me");
  EXPECT_EQ(FolderNames(folder),
            (std::set<std::string>{"dangling.xml", "link.xml", "out.xml", "out.xml.part", "real"}));
  EXPECT_EQ(FolderNames(folder / "real"), (std::set<std::string>{"new.xml", "target.xml"}));
}

TEST_F(ExchangeFileTest, ExportIntoAPipeWritesThroughIt) {
  ASSERT_GT(db_.AddMacro("m"), 0);
  const std::filesystem::path fifo = File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // The reading end is open first, so the export's open does not wait; a small export
  // fits the pipe's buffer.
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const ExchangeResult result = ExportAllMacros(db_, fifo);
  std::string received;
  char buffer[4096];
  for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) > 0;) received.append(buffer, n);
  ::close(reader);
  ASSERT_TRUE(result.ok()) << result.message;
  EXPECT_EQ(received.rfind(kExchangeDeclaration, 0), 0u);
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));  // not replaced by a regular file
}

TEST_F(ExchangeFileTest, ExportIntoAFolderThatTakesNoNewFilesRewritesTheFile) {
  namespace fs = std::filesystem;
  // Folder permissions do not bind root, so as root the writes run as "nobody", who owns the
  // file but not the folder.
  constexpr uid_t kNobody = 65534;
  const bool as_root = ::geteuid() == 0;
  const fs::path folder = File("locked");
  fs::create_directories(folder);
  ASSERT_TRUE(WriteFileBytes(folder / "out.xml", "old"));
  if (as_root) {
    ASSERT_EQ(::chown((folder / "out.xml").c_str(), kNobody, kNobody), 0);
    fs::permissions(home_.Root(), fs::perms::others_exec, fs::perm_options::add);
  }
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec |
                              fs::perms::others_read | fs::perms::others_exec);
  MarkupDocument doc;
  StartExchangeDocument(doc);
  ASSERT_TRUE(doc.AddElement("macro"));
  auto writes = [&] {
    return SaveExchangeDocument(doc, folder / "out.xml").ok() &&
           SaveExchangeDocument(doc, folder / "new.xml").status == ExchangeStatus::kNotWritable;
  };
  bool done = false;
  if (as_root) {
    const pid_t child = ::fork();
    if (child == 0) _exit(::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && writes() ? 0 : 1);
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    done = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  } else {
    done = writes();
  }
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_TRUE(done) << "the file was not rewritten, or a new file was made";
  const std::string text = ReadFileBytes(folder / "out.xml");
  EXPECT_EQ(text.rfind(kExchangeDeclaration, 0), 0u) << text;
  EXPECT_NE(text.find("<macro"), std::string::npos) << text;
  EXPECT_EQ(FolderNames(folder), (std::set<std::string>{"out.xml"}));
}

}  // namespace
}  // namespace corvane::test
