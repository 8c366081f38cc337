// libFuzzer target: arbitrary bytes as profile and macro files, imported into a scratch
// store. Crashes, sanitizer reports and hangs are the findings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "exchange/macro_file.h"
#include "exchange/profile_file.h"
#include "fuzz_scratch.h"
#include "settings/task_poster.h"
#include "store/settings_database.h"

namespace {

class NullPoster : public corvane::TaskPoster {
 public:
  void Post(corvane::WorkerTask) override {}
};

struct Scratch {
  Scratch() {
    root = corvane::fuzz::ScratchFolder();
    db.OpenDeviceDatabase(root, "fuzz");
    profile = db.EnsureProfiles("Profile", {});
    file = root / "input.xml";
  }
  std::filesystem::path root;
  std::filesystem::path file;
  corvane::SettingsDatabase db;
  int profile = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Scratch scratch;
  static NullPoster poster;
  {
    std::ofstream out(scratch.file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  corvane::ImportProfile(scratch.db, scratch.profile, true, scratch.file, poster);
  corvane::ImportMacro(scratch.db, scratch.file);
  corvane::ImportAllMacros(scratch.db, scratch.file);
  return 0;
}
