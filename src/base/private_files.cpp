// Folder and file creation with private modes; see private_files.h.
#include "base/private_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace corvane {

bool CreatePrivateFolders(const std::filesystem::path& path) {
  if (path.empty()) return false;
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return true;
  const std::filesystem::path parent = path.parent_path();
  if (!parent.empty() && parent != path && !CreatePrivateFolders(parent)) return false;
  // mkdir's mode is narrowed by the umask only, so 0700 stays 0700.
  if (::mkdir(path.c_str(), kPrivateFolderMode) != 0 && errno != EEXIST) return false;
  return std::filesystem::is_directory(path, ec);
}

bool CreatePrivateFile(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                        kPrivateFileMode);
  if (fd < 0) return errno == EEXIST;
  return ::close(fd) == 0;
}

}  // namespace corvane
