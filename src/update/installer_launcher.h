// How the software update starts the unpacked installer and then leaves the way
// clear for it. The Linux implementation is LinuxInstallerLauncher; tests record calls.
#pragma once

#include <filesystem>

namespace corvane {

class InstallerLauncher {
 public:
  virtual ~InstallerLauncher() = default;

  // Starts `installer` detached from this process. Returns true when it was started.
  virtual bool Open(const std::filesystem::path& installer) = 0;

  // Ends this process at once with exit code 0 so the installer can replace its files.
  virtual void EndProcess() = 0;
};

}  // namespace corvane
