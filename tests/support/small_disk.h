// A small file system of its own for tests that need a full or a read-only disk: a
// tmpfs mounted over a folder, filled to the last byte or remounted read-only on request,
// and unmounted when the object goes. Mounting needs privileges; without them Mounted()
// is false and the test skips.
#pragma once

#include <sys/mount.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace corvane::test {

class SmallDisk {
 public:
  // Mounts a tmpfs of `bytes` over `folder` (created when missing).
  SmallDisk(const std::filesystem::path& folder, std::size_t bytes) : folder_(folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool Mounted() const { return mounted_; }

  // Takes every free byte with a filler file. Returns whether the disk is now full.
  bool Fill() {
    std::FILE* file = std::fopen((folder_ / "filler").c_str(), "wb");
    if (file == nullptr) return false;
    static const char kBlock[4096] = {};
    while (std::fwrite(kBlock, 1, sizeof kBlock, file) == sizeof kBlock) {
    }
    while (std::fwrite(kBlock, 1, 1, file) == 1) {
    }
    const bool full = std::fflush(file) != 0 && errno == ENOSPC;
    std::fclose(file);
    return full || errno == ENOSPC;
  }
  // Gives the filler's bytes back.
  void Free() {
    std::error_code ec;
    std::filesystem::remove(folder_ / "filler", ec);
  }
  // Remounts the disk read-only (true) or writable again (false).
  bool SetReadOnly(bool read_only) {
    const unsigned long flags = MS_REMOUNT | (read_only ? MS_RDONLY : 0);
    return ::mount("tmpfs", folder_.c_str(), "tmpfs", flags, nullptr) == 0;
  }

 private:
  std::filesystem::path folder_;
  bool mounted_ = false;
};

}  // namespace corvane::test
