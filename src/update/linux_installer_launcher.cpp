// posix_spawn of the installer or of xdg-open. A detached thread reaps the child so a
// launcher used without ending the process leaves no zombie behind.

#include "update/linux_installer_launcher.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <thread>

#include "base/trace.h"

extern char** environ;

namespace corvane {

bool LinuxInstallerLauncher::Open(const std::filesystem::path& installer) {
  std::string file = installer.string();
  std::string opener = "xdg-open";
  const bool executable = access(file.c_str(), X_OK) == 0;
  std::string& program = executable ? file : opener;
  char* argv_exec[] = {file.data(), nullptr};
  char* argv_open[] = {opener.data(), file.data(), nullptr};
  pid_t child = 0;
  const int rc = posix_spawnp(&child, program.c_str(), nullptr, nullptr,
                              executable ? argv_exec : argv_open, environ);
  if (rc != 0) {
    Trace("installer start failed: %s", file.c_str());
    return false;
  }
  std::thread([child] { waitpid(child, nullptr, 0); }).detach();
  return true;
}

void LinuxInstallerLauncher::EndProcess() {
  std::fflush(nullptr);
  _exit(0);
}

}  // namespace corvane
