// A private scratch folder for fuzz targets that need files: created once per process,
// with HOME and the XDG folders pointed into it so nothing touches the real user's files.
#pragma once

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace corvane::fuzz {

inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path root = [] {
    char pattern[] = "/tmp/corvane_fuzz.XXXXXX";
    std::filesystem::path made = mkdtemp(pattern);
    setenv("HOME", made.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (made / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (made / "data").c_str(), 1);
    return made;
  }();
  return root;
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string_view AsText(const uint8_t* data, size_t size) {
  return std::string_view(reinterpret_cast<const char*>(data), size);
}

}  // namespace corvane::fuzz
