// libFuzzer target: arbitrary entry names (one per line of the input) in an update package,
// unpacked by the extractor. It must not throw, and nothing may appear outside its folder.
#include <zip.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz_scratch.h"
#include "update/zip_extract.h"

namespace fs = std::filesystem;

namespace {

bool WritePackage(const fs::path& path, std::string_view names) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  if (zip == nullptr) return false;
  size_t start = 0;
  for (int entries = 0; start <= names.size() && entries < 8; ++entries) {
    size_t end = names.find('\n', start);
    if (end == std::string_view::npos) end = names.size();
    const std::string name(names.substr(start, end - start));
    start = end + 1;
    zip_fileinfo info{};
    if (zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, 0, 0, 0) ==
        ZIP_OK) {
      zipWriteInFileInZip(zip, "x", 1);
      zipCloseFileInZip(zip);
    }
  }
  return zipClose(zip, nullptr) == ZIP_OK;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fs::path root = corvane::fuzz::ScratchFolder() / "zip";
  const fs::path package = root / "package.zip";
  const fs::path folder = root / "out";
  fs::create_directories(root);
  fs::remove(package);
  if (!WritePackage(package, corvane::fuzz::AsText(data, size))) return 0;
  try {
    corvane::extract(package, folder);
  } catch (...) {
    __builtin_trap();  // hostile names must be skipped, never raise
  }
  for (const fs::directory_entry& entry : fs::directory_iterator(root)) {
    const fs::path name = entry.path().filename();
    if (name != "package.zip" && name != "out") __builtin_trap();
  }
  std::error_code ec;
  fs::remove_all(folder, ec);
  return 0;
}
