// Starts an unpacked installer on Linux: executable files are run directly, anything
// else is handed to the desktop's opener (xdg-open).
#pragma once

#include "update/installer_launcher.h"

namespace corvane {

class LinuxInstallerLauncher : public InstallerLauncher {
 public:
  // Returns true when the installer (or xdg-open for it) was started.
  bool Open(const std::filesystem::path& installer) override;
  // Calls _exit(0): nothing is torn down, exactly as a hand-over to an installer needs.
  void EndProcess() override;
};

}  // namespace corvane
