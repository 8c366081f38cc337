// Bounded file reading and replace-by-rename writing for the exchange documents.
#include "exchange/exchange_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

#include "base/text.h"
#include "store/settings_database.h"
#include "xml/element_index.h"
#include "xml/markup_document.h"
#include "xml/text_codec.h"

namespace corvane {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

constexpr std::size_t kReadChunk = 64 * 1024;

// Reads at most kMaxExchangeFileBytes; a device that never ends (a FIFO, /dev/zero)
// stops at the limit too. Returns kOk, kUnreadable or kTooLarge.
ExchangeStatus ReadBounded(const std::filesystem::path& path, std::string& bytes) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return ExchangeStatus::kUnreadable;
  FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) return ExchangeStatus::kUnreadable;
  std::string chunk(kReadChunk, '\0');
  while (true) {
    const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get());
    if (bytes.size() + got > kMaxExchangeFileBytes) return ExchangeStatus::kTooLarge;
    bytes.append(chunk.data(), got);
    if (got < chunk.size()) break;
  }
  return std::ferror(file.get()) == 0 ? ExchangeStatus::kOk : ExchangeStatus::kUnreadable;
}

constexpr int kMaxLinkHops = 40;  // as the kernel's own limit for one path

// Writes all of `bytes` to `fd` and syncs it. Returns false on any short or failed write.
bool WriteAndSync(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return ::fsync(fd) == 0 || errno == EINVAL;  // a pipe or terminal cannot be synced
}

// Opens `path` with `flags` and writes `bytes`; true when all of it was written and closed.
// A file this call created is removed again when the write fails.
bool WriteThrough(const std::filesystem::path& path, int flags, const std::string& bytes) {
  const int fd = ::open(path.c_str(), flags | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool written = WriteAndSync(fd, bytes);
  written = ::close(fd) == 0 && written;
  if (!written && (flags & O_EXCL) != 0) ::unlink(path.c_str());
  return written;
}

// The file a path names after following symbolic links, also a link to a file that does
// not exist yet; the path itself when the chain is too long.
std::filesystem::path FollowLinks(std::filesystem::path path) {
  std::error_code ec;
  for (int hop = 0; hop < kMaxLinkHops && std::filesystem::is_symlink(path, ec); ++hop) {
    const std::filesystem::path target = std::filesystem::read_symlink(path, ec);
    if (ec) break;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;
}

// Replaces the existing regular file `target` by a sibling temporary file renamed over it, so
// a failed write keeps the old file. The new file takes the old one's permissions. Returns
// false with errno of the step that failed; EACCES/EROFS from creating the temporary file
// mean the folder is not writable.
bool ReplaceByRename(const std::filesystem::path& target, const struct stat& old,
                     const std::string& bytes) {
  std::string temp =
      (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  // Keeps the owner where that is allowed (root); others keep their own files anyway.
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) errno = 0;
  bool ok = ::fchmod(fd, old.st_mode & 07777) == 0 && WriteAndSync(fd, bytes);
  ok = ::close(fd) == 0 && ok;
  if (ok && ::rename(temp.c_str(), target.c_str()) == 0) return true;
  const int error = errno;
  ::unlink(temp.c_str());
  errno = error;
  return false;
}

// Writes an export to exactly `path`: through symbolic links to their target, straight into
// a terminal, pipe or other non-regular file, into a new file that is removed again when
// the write fails, and over an existing file by a temporary file and a rename, or in place
// when its folder takes no new files.
bool WriteExportFile(const std::filesystem::path& path, const std::string& bytes) {
  struct stat seen {};
  if (::stat(path.c_str(), &seen) == 0) {
    if (S_ISDIR(seen.st_mode)) return false;
    // /dev/stdout and the like: opened as named, never replaced.
    if (!S_ISREG(seen.st_mode)) return WriteThrough(path, O_TRUNC, bytes);
    const std::filesystem::path target = FollowLinks(path);
    if (ReplaceByRename(target, seen, bytes)) return true;
    if (errno != EACCES && errno != EROFS && errno != EPERM) return false;
    return WriteThrough(target, O_TRUNC, bytes);
  }
  return WriteThrough(FollowLinks(path), O_CREAT | O_EXCL, bytes);
}

}  // namespace

ExchangeResult StoreFailure(SettingsDatabase& db, const std::filesystem::path& path) {
  ExchangeResult result;
  result.status = ExchangeStatus::kStoreFailed;
  result.message = StoreErrorMessage(db.TakeError(), db.Path()) + "; nothing of " +
                   path.string() + " was stored";
  return result;
}

std::string ExceededMarkupLimit(std::u16string_view text) {
  // A rough walk over the tags: enough to tell a limit from a syntax error once the
  // parser has already refused the text.
  std::size_t depth = 0;
  std::size_t deepest = 0;
  for (std::size_t lt = text.find(u'<'); lt != std::u16string_view::npos;
       lt = text.find(u'<', lt + 1)) {
    const std::size_t gt = text.find(u'>', lt);
    if (gt == std::u16string_view::npos) break;
    const std::size_t length = gt + 1 - lt;
    const char16_t next = lt + 1 < text.size() ? text[lt + 1] : u' ';
    if (next == u'?' || next == u'!') continue;
    if (next == u'/') {
      if (length > ElementRecord::kMaxEndTag) {
        return "an end tag longer than " + IntToDecimal(ElementRecord::kMaxEndTag) + " characters";
      }
      if (depth > 0) --depth;
      continue;
    }
    if (length > ElementRecord::kMaxStartTag) {
      return "a start tag longer than " + IntToDecimal(ElementRecord::kMaxStartTag) +
             " characters";
    }
    if (text[gt - 1] != u'/') deepest = std::max(deepest, ++depth);
  }
  if (deepest > ElementRecord::kMaxDepth) {
    return "elements nested deeper than " + IntToDecimal(ElementRecord::kMaxDepth) + " levels";
  }
  return "";
}

void StartExchangeDocument(MarkupDocument& doc) { doc.SetText(kExchangeDeclaration); }

ExchangeResult LoadExchangeDocument(const std::filesystem::path& path, std::string_view root,
                                    MarkupDocument& doc) {
  std::string bytes;
  const ExchangeStatus read = ReadBounded(path, bytes);
  if (read == ExchangeStatus::kTooLarge) {
    return ExchangeFailure(read, path.string(),
                           "larger than " + IntToDecimal(kMaxExchangeFileBytes >> 20) + " MiB");
  }
  if (read != ExchangeStatus::kOk) return ExchangeFailure(read, path.string());
  const std::u16string text = DecodeDocumentBytes(bytes).text;
  if (!doc.SetText(std::u16string_view(text))) {
    const std::string limit = ExceededMarkupLimit(text);
    if (!limit.empty()) return ExchangeFailure(ExchangeStatus::kTooLarge, path.string(), limit);
    return ExchangeFailure(ExchangeStatus::kIllFormed, path.string());
  }
  if (!doc.FindElement(root)) return ExchangeFailure(ExchangeStatus::kWrongRoot, path.string());
  return {};
}

ExchangeResult SaveExchangeDocument(const MarkupDocument& doc, const std::filesystem::path& path) {
  // Exports are started with the UTF-8 declaration and never carry a byte-order mark.
  if (!WriteExportFile(path, EncodeDocumentText(doc.GetText(), false))) {
    return ExchangeFailure(ExchangeStatus::kNotWritable, path.string());
  }
  return {};
}

bool ReadIntAttribute(const MarkupDocument& doc, std::string_view name, int& value,
                      std::string& problem) {
  const std::string text = doc.GetAttribute(name);
  value = 0;
  if (text.empty() || ParseExactDecimal(text, value)) return true;
  problem = std::string(name) + " \"" + text + "\" is not a decimal number";
  return false;
}

}  // namespace corvane
