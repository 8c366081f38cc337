// INI-file storage of the per-user key; see ini_key_value_store.h.
#include "app/ini_key_value_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "app/app_folders.h"
#include "base/text.h"

namespace corvane {

namespace {

// Owns a POSIX file descriptor.
struct FdCloser {
  void operator()(int* fd) const {
    if (*fd >= 0) ::close(*fd);
    delete fd;
  }
};
using UniqueFd = std::unique_ptr<int, FdCloser>;

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// Splits "name=value" (after trimming); false for blank, comment and section lines.
bool SplitValueLine(std::string_view line, std::string_view& name, std::string_view& value) {
  line = Trim(line);
  if (line.empty() || line[0] == ';' || line[0] == '#' || line[0] == '[') return false;
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  name = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return !name.empty();
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

bool ValidName(std::string_view name) {
  return !name.empty() && Trim(name) == name &&
         name.find_first_of("=[\r\n;#") == std::string_view::npos;
}

}  // namespace

IniKeyValueStore::IniKeyValueStore(std::filesystem::path file, std::string section)
    : file_(std::move(file)), section_(std::move(section)) {}

IniKeyValueStore::IniKeyValueStore(IniKeyValueStore&& other) noexcept
    : file_(std::move(other.file_)), section_(std::move(other.section_)) {}

IniKeyValueStore IniKeyValueStore::ForCaption(std::string_view caption) {
  const std::filesystem::path home = ConfigHome();
  const std::string folder = CaptionFolderName(caption);
  if (home.empty()) return IniKeyValueStore({}, folder);
  return IniKeyValueStore(home / folder / kKeyFileName, folder);
}

KeyValueStore::KeyState IniKeyValueStore::Probe() const {
  if (file_.empty()) return KeyState::kUnreadable;
  std::error_code ec;
  const auto status = std::filesystem::status(file_, ec);
  if (status.type() == std::filesystem::file_type::not_found) return KeyState::kMissing;
  if (ec || status.type() != std::filesystem::file_type::regular) return KeyState::kUnreadable;
  std::ifstream in(file_, std::ios::binary);
  return in ? KeyState::kPresent : KeyState::kUnreadable;
}

bool IniKeyValueStore::CreateKey() {
  if (file_.empty()) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  if (!CreateFolderPath(file_.parent_path())) return false;
  // O_EXCL: a key created meanwhile by another process is left as it is.
  UniqueFd fd(new int(::open(file_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)));
  if (*fd < 0) return errno == EEXIST;
  return WriteAll(*fd, "[" + section_ + "]\n");
}

std::optional<std::string> IniKeyValueStore::ReadFile() const {
  if (file_.empty()) return std::nullopt;
  std::ifstream in(file_, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream out;
  out << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return out.str();
}

std::optional<std::string> IniKeyValueStore::ReadText(std::string_view name) const {
  const std::optional<std::string> contents = ReadFile();
  if (!contents) return std::nullopt;
  for (std::string_view line : SplitLines(*contents)) {
    std::string_view key, value;
    if (SplitValueLine(line, key, value) && EqualsIgnoreAsciiCase(key, name)) {
      return std::string(value);
    }
  }
  return std::nullopt;
}

bool IniKeyValueStore::WriteText(std::string_view name, std::string_view text) {
  if (file_.empty() || !ValidName(name)) return false;
  if (text.find_first_of("\r\n") != std::string_view::npos) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  // Only a key that does not exist yet starts empty: a file that exists but cannot be
  // read keeps its other values, so the write is skipped.
  const KeyState state = Probe();
  if (state == KeyState::kUnreadable) return false;
  std::optional<std::string> read = ReadFile();
  if (!read) {
    if (state != KeyState::kMissing) return false;
    read = "[" + section_ + "]\n";
  }
  const std::string& old_contents = *read;
  const std::string new_line = std::string(name) + "=" + std::string(text);
  std::string contents;
  bool replaced = false;
  for (std::string_view line : SplitLines(old_contents)) {
    std::string_view key, value;
    if (!replaced && SplitValueLine(line, key, value) && EqualsIgnoreAsciiCase(key, name)) {
      contents += new_line;
      replaced = true;
    } else {
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // rewritten with \n
      contents += line;
    }
    contents += '\n';
  }
  if (!replaced) contents += new_line + "\n";
  return ReplaceFile(contents);
}

bool IniKeyValueStore::ReplaceFile(const std::string& contents) const {
  if (!CreateFolderPath(file_.parent_path())) return false;
  std::string temp = file_.string() + ".tmp-XXXXXX";
  UniqueFd fd(new int(::mkstemp(temp.data())));
  if (*fd < 0) return false;
  // mkstemp makes the file 0600; a file that was already there keeps its own mode.
  struct stat old {};
  const bool keep_mode = ::stat(file_.c_str(), &old) == 0;
  const bool written = (!keep_mode || ::fchmod(*fd, old.st_mode & 07777) == 0) &&
                       WriteAll(*fd, contents) && ::fsync(*fd) == 0;
  const bool closed = ::close(*fd) == 0;
  *fd = -1;
  if (!written || !closed || ::rename(temp.c_str(), file_.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace corvane
