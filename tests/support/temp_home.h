// A private home for one test: HOME, XDG_CONFIG_HOME, XDG_DATA_HOME and
// XDG_RUNTIME_DIR point into a fresh temporary folder that is removed afterwards,
// so no test ever touches the real user's files.
#pragma once

#include <filesystem>
#include <string>

namespace corvane::test {

class TempHome {
 public:
  TempHome();
  ~TempHome();
  TempHome(const TempHome&) = delete;
  TempHome& operator=(const TempHome&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path ConfigHome() const { return root_ / "config"; }
  std::filesystem::path DataHome() const { return root_ / "data"; }

 private:
  std::filesystem::path root_;
};

// Reads a whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);
// Writes bytes to a file, creating its folder. Returns false on failure.
bool WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

// The shipped data folder (config.xml, device/, language/) of the source tree.
inline std::filesystem::path ShippedDataDir() { return CORVANE_DATA_DIR; }

}  // namespace corvane::test
