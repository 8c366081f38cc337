#include "support/temp_home.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

namespace corvane::test {

TempHome::TempHome() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "corvane-test-XXXXXX").string();
  if (mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = tmpl;
  std::filesystem::create_directories(ConfigHome());
  std::filesystem::create_directories(DataHome());
  std::filesystem::create_directories(root_ / "runtime");
  chmod((root_ / "runtime").c_str(), 0700);
  setenv("HOME", root_.c_str(), 1);
  setenv("XDG_CONFIG_HOME", ConfigHome().c_str(), 1);
  setenv("XDG_DATA_HOME", DataHome().c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (root_ / "runtime").c_str(), 1);
}

TempHome::~TempHome() {
  std::error_code ec;
  std::filesystem::remove_all(root_, ec);
}

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace corvane::test
