#include "support/cli_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "support/temp_home.h"

extern char** environ;

namespace corvane::test {

CliResult RunProgram(const std::string& program, const std::vector<std::string>& args) {
  CliResult result;
  char out_template[] = "/tmp/corvane-cli-out-XXXXXX";
  char err_template[] = "/tmp/corvane-cli-err-XXXXXX";
  int out_fd = mkstemp(out_template);
  int err_fd = mkstemp(err_template);
  if (out_fd < 0 || err_fd < 0) return result;

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out_fd, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err_fd, STDERR_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  close(out_fd);
  close(err_fd);
  result.out = ReadFileBytes(out_template);
  result.err = ReadFileBytes(err_template);
  std::filesystem::remove(out_template);
  std::filesystem::remove(err_template);
  return result;
}

}  // namespace corvane::test
