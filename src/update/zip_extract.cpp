// Zip extraction over minizip. minizip hands entry names back unchanged ("../x", "/x",
// "a\\b"), so every name is confined here before anything is written.

#include "update/zip_extract.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unzip.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "base/trace.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

struct UnzipCloser {
  void operator()(std::remove_pointer_t<unzFile>* zip) const { unzClose(zip); }
};
using UnzipHandle = std::unique_ptr<std::remove_pointer_t<unzFile>, UnzipCloser>;

// Owns a file descriptor.
struct FdCloser {
  void operator()(int* fd) const {
    if (*fd >= 0) close(*fd);
    delete fd;
  }
};
using FdHandle = std::unique_ptr<int, FdCloser>;

// Keeps the current archive entry open; Close() reports whether its checksum matched.
class OpenEntry {
 public:
  explicit OpenEntry(unzFile zip) : zip_(zip), open_(unzOpenCurrentFile(zip) == UNZ_OK) {}
  ~OpenEntry() {
    if (open_) unzCloseCurrentFile(zip_);
  }
  OpenEntry(const OpenEntry&) = delete;
  OpenEntry& operator=(const OpenEntry&) = delete;

  bool IsOpen() const { return open_; }
  // Returns true when the whole entry was read and its CRC matched.
  bool Close() {
    open_ = false;
    return unzCloseCurrentFile(zip_) == UNZ_OK;
  }

 private:
  unzFile zip_;
  bool open_;
};

// Bounds on stored names: no package of ours comes near them, and beyond them the file system
// refuses the path anyway (ENAMETOOLONG), so such entries are skipped before any call.
constexpr size_t kMaxNamePartBytes = 255;
constexpr size_t kMaxNameLevels = 32;
constexpr size_t kMaxNameBytes = 1024;

// Returns the entry's path relative to the folder, or nothing when it is absolute, names a
// drive, has a ".." part, is empty or exceeds the bounds above. Backslashes count as
// separators (archives made on Windows).
std::optional<fs::path> ConfinedRelativePath(std::string name) {
  for (char& c : name) {
    if (c == '\\') c = '/';
  }
  if (name.empty() || name[0] == '/' || name.size() > kMaxNameBytes) return std::nullopt;
  if (name.size() >= 2 && name[1] == ':') return std::nullopt;
  fs::path relative;
  size_t levels = 0;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    const std::string part = name.substr(start, end - start);
    if (part == ".." || part.size() > kMaxNamePartBytes) return std::nullopt;
    if (!part.empty() && part != ".") {
      if (++levels > kMaxNameLevels) return std::nullopt;
      relative /= part;
    }
    start = end + 1;
  }
  if (relative.empty()) return std::nullopt;
  return relative;
}

// Creates `relative` folder by folder under `root`, refusing to pass through a symbolic link
// or a non-folder. Returns the full path, or nothing when refused. Only error_code overloads:
// the names come from the archive and must never raise.
std::optional<fs::path> MakeConfinedFolder(const fs::path& root, const fs::path& relative,
                                           std::vector<fs::path>& created) {
  fs::path path = root;
  for (const fs::path& part : relative) {
    path /= part;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (fs::is_symlink(status)) return std::nullopt;
    if (fs::status_known(status) && !fs::exists(status)) {
      if (fs::create_directory(path, ec)) {
        created.push_back(path);
      } else if (!fs::is_directory(path, ec)) {
        return std::nullopt;
      }
    } else if (!fs::is_directory(status)) {
      return std::nullopt;
    }
  }
  return path;
}

// Local time of an entry's stored date.
std::time_t EntryTime(const unz_file_info64& info) {
  std::tm when{};
  when.tm_year = static_cast<int>(info.tmu_date.tm_year) - 1900;
  when.tm_mon = static_cast<int>(info.tmu_date.tm_mon);
  when.tm_mday = static_cast<int>(info.tmu_date.tm_mday);
  when.tm_hour = static_cast<int>(info.tmu_date.tm_hour);
  when.tm_min = static_cast<int>(info.tmu_date.tm_min);
  when.tm_sec = static_cast<int>(info.tmu_date.tm_sec);
  when.tm_isdst = -1;
  return std::mktime(&when);
}

// Copies the open entry into `fd`, counting against `budget`. Returns true when every byte
// was written and the budget held.
bool CopyEntry(unzFile zip, int fd, std::uint64_t& budget) {
  std::vector<char> block(kExtractBlockBytes);
  while (true) {
    const int got = unzReadCurrentFile(zip, block.data(), static_cast<unsigned>(block.size()));
    if (got < 0) return false;
    if (got == 0) return true;
    if (static_cast<std::uint64_t>(got) > budget) return false;
    budget -= static_cast<std::uint64_t>(got);
    for (int done = 0; done < got;) {
      const ssize_t wrote = write(fd, block.data() + done, static_cast<size_t>(got - done));
      if (wrote <= 0) return false;
      done += static_cast<int>(wrote);
    }
  }
}

// Writes the current entry to `target` (never through a symbolic link). Returns true on success;
// a failed entry leaves no file.
bool ExtractFile(unzFile zip, const unz_file_info64& info, const fs::path& target,
                 std::uint64_t& budget) {
  OpenEntry entry(zip);
  if (!entry.IsOpen()) return false;
  FdHandle fd(
      new int(open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600)));
  if (*fd < 0) return false;
  bool ok = CopyEntry(zip, *fd, budget);
  ok = entry.Close() && ok;
  if (ok) {
    const timespec stamp{EntryTime(info), 0};
    const timespec times[2] = {stamp, stamp};
    futimens(*fd, times);
  }
  ok = close(*fd) == 0 && ok;
  *fd = -1;
  if (!ok) {
    std::error_code ec;
    fs::remove(target, ec);
  }
  return ok;
}

// Reads the current entry's information and stored name. Returns false when unreadable.
bool CurrentEntry(unzFile zip, unz_file_info64& info, std::string& name) {
  if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
    return false;
  std::vector<char> name_buffer(info.size_filename + 1, '\0');
  if (unzGetCurrentFileInfo64(zip, &info, name_buffer.data(), name_buffer.size(), nullptr, 0,
                              nullptr, 0) != UNZ_OK) {
    return false;
  }
  name = name_buffer.data();
  return true;
}

// Walks the entry names once. Returns why the archive is refused, "" when it is not.
std::string RefusalOf(unzFile zip) {
  std::vector<std::string> seen;
  for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK; rc = unzGoToNextFile(zip)) {
    if (seen.size() >= kMaxArchiveEntries) {
      return "more than " + std::to_string(kMaxArchiveEntries) + " entries";
    }
    unz_file_info64 info{};
    std::string name;
    if (!CurrentEntry(zip, info, name)) continue;
    const std::optional<fs::path> relative = ConfinedRelativePath(name);
    if (!relative) continue;  // skipped when unpacking anyway
    std::string key = relative->string();
    if (name.back() == '/' || name.back() == '\\') continue;  // folders may repeat
    if (std::find(seen.begin(), seen.end(), key) != seen.end()) {
      return "two entries named " + key;
    }
    seen.push_back(std::move(key));
  }
  return "";
}

// Extracts the archive's current entry below `folder`. Returns true when it was written;
// what it created is appended to `created`.
bool ExtractCurrent(unzFile zip, const fs::path& folder, std::uint64_t& budget,
                    std::vector<fs::path>& created, std::string& name) {
  unz_file_info64 info{};
  if (!CurrentEntry(zip, info, name)) return false;
  const std::optional<fs::path> relative = ConfinedRelativePath(name);
  if (!relative) {
    Trace("update archive entry refused: %s", name.c_str());
    return false;
  }
  const bool is_folder = name.back() == '/' || name.back() == '\\';
  if (is_folder) return MakeConfinedFolder(folder, *relative, created).has_value();
  const std::optional<fs::path> parent =
      MakeConfinedFolder(folder, relative->parent_path(), created);
  if (!parent) return false;
  const fs::path target = *parent / relative->filename();
  if (!ExtractFile(zip, info, target, budget)) return false;
  created.push_back(target);
  return true;
}

}  // namespace

ExtractReport ExtractArchive(const fs::path& zip_path, const fs::path& folder,
                             std::uint64_t max_bytes) {
  ExtractReport report;
  UnzipHandle zip(unzOpen64(zip_path.c_str()));
  if (!zip) return report;
  report.opened = true;
  report.refused = RefusalOf(zip.get());
  if (!report.refused.empty()) {
    Trace("update archive refused: %s", report.refused.c_str());
    return report;
  }
  std::error_code ec;
  fs::create_directories(folder, ec);
  std::uint64_t budget = max_bytes;
  for (int rc = unzGoToFirstFile(zip.get()); rc == UNZ_OK; rc = unzGoToNextFile(zip.get())) {
    std::string name;
    if (!ExtractCurrent(zip.get(), folder, budget, report.written, name)) {
      Trace("update archive entry not extracted: %s", name.c_str());
      report.failed.push_back(name);
    }
  }
  return report;
}

void RemoveExtracted(const ExtractReport& report) {
  std::error_code ec;
  // Latest first, so a folder's files are gone before it; remove() leaves a folder that
  // still holds something (put there by someone else) in place.
  for (auto it = report.written.rbegin(); it != report.written.rend(); ++it) fs::remove(*it, ec);
}

bool extract(const fs::path& zip_path, const fs::path& folder, std::uint64_t max_bytes) {
  const ExtractReport report = ExtractArchive(zip_path, folder, max_bytes);
  return report.opened && report.refused.empty();
}

}  // namespace corvane
