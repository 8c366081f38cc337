// Closing the window in exit mode: from the close button's click to the end of the
// process, measured on the real window program (offscreen, simulated mouse). Once with
// nothing in flight, once while the start-up update check waits on a server that accepted
// the connection and never answers (an unreachable network looks the same to the program),
// once while the worker waits for replies that a mouse out of reach never sends.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr const char* kCloseTag = "close-click-ns=";
constexpr const char* kSoftwareUrl = "https://updates.corvane.example/software/";
constexpr const char* kFirmwareUrl = "https://updates.corvane.example/firmware";
constexpr int kRuns = 5;

// A listening socket that never accepts: connections complete, requests go unanswered.
class SilentServer {
 public:
  SilentServer() {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        listen(fd_, 16) != 0 ||
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
  }
  ~SilentServer() {
    if (fd_ >= 0) close(fd_);
  }
  int Port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void Replace(const fs::path& path, const std::string& from, const std::string& to) {
  std::string text = ReadAll(path);
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// A copy of the program folder whose update addresses point at 127.0.0.1:`port`.
fs::path ProgramFolder(const fs::path& home, int port) {
  const fs::path folder = home / "program";
  fs::copy(CORVANE_DATA_DIR, folder, fs::copy_options::recursive);
  if (port == 0) return folder;
  const std::string local = "http://127.0.0.1:" + std::to_string(port);
  Replace(folder / "config.xml", kSoftwareUrl, local + "/software/");
  for (const fs::directory_entry& entry : fs::directory_iterator(folder / "device")) {
    Replace(entry.path(), kFirmwareUrl, local + "/firmware");
  }
  return folder;
}

// One start and close; returns the seconds from the click to the end of the process, or
// a negative number (with `error`) when the run did not report.
double CloseOnce(int port, const std::vector<std::string>& extra, std::string& error) {
  char pattern[] = "/tmp/corvane-close-bench.XXXXXX";
  const char* made = mkdtemp(pattern);
  if (made == nullptr) {
    error = "no temporary folder";
    return -1;
  }
  const fs::path home(made);
  const fs::path program = ProgramFolder(home, port);
  fs::create_directories(home / "runtime");
  fs::permissions(home / "runtime", fs::perms::owner_all, fs::perm_options::replace);
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) {
    error = "no pipe";
    return -1;
  }
  const pid_t child = fork();
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDERR_FILENO);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (home / "runtime").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::vector<std::string> args{CORVANE_GUI_PROGRAM, "--simulate", "--program-dir",
                                  program.string(), "--benchmark-close"};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(CORVANE_GUI_PROGRAM, argv.data());
    _exit(127);
  }
  close(out[1]);
  std::string output;
  char buffer[256];
  long long click_ns = -1;
  for (ssize_t n; click_ns < 0 && (n = read(out[0], buffer, sizeof buffer)) > 0;) {
    output.append(buffer, static_cast<size_t>(n));
    const size_t tag = output.find(kCloseTag);
    if (tag != std::string::npos && output.find('\n', tag) != std::string::npos) {
      click_ns = std::atoll(output.c_str() + tag + std::string(kCloseTag).size());
    }
  }
  int status = 0;
  waitpid(child, &status, 0);
  const auto ended = std::chrono::steady_clock::now().time_since_epoch();
  close(out[0]);
  fs::remove_all(home);
  if (click_ns < 0) {
    error = "the program did not report its click (exit status " + std::to_string(status) + ")";
    return -1;
  }
  return static_cast<double>(std::chrono::nanoseconds(ended).count() - click_ns) / 1e9;
}

void Close(benchmark::State& state, bool stalled_update,
           const std::vector<std::string>& extra = {}) {
  if (std::string(CORVANE_GUI_PROGRAM).empty()) {
    state.SkipWithError("built without the window program");
    return;
  }
  SilentServer server;
  const int port = stalled_update ? server.Port() : 0;
  if (stalled_update && port == 0) {
    state.SkipWithError("no local port");
    return;
  }
  double worst = 0;
  for (auto _ : state) {
    std::string error;
    const double seconds = CloseOnce(port, extra, error);
    if (seconds < 0) {
      state.SkipWithError(error.c_str());
      return;
    }
    worst = std::max(worst, seconds);
    state.SetIterationTime(seconds);
  }
  state.counters["worst_ms"] = worst * 1000;
}

void BM_CloseIdle(benchmark::State& state) { Close(state, false); }
void BM_CloseWhileUpdateCheckWaits(benchmark::State& state) { Close(state, true); }
void BM_CloseWhileRepliesAreAwaited(benchmark::State& state) {
  Close(state, false,
        {"--sim-fault", "wired:reply_delay_ms=60000", "--sim-fault", "receiver:reply_delay_ms=60000"});
}

BENCHMARK(BM_CloseIdle)->UseManualTime()->Iterations(kRuns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloseWhileUpdateCheckWaits)
    ->UseManualTime()
    ->Iterations(kRuns)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloseWhileRepliesAreAwaited)
    ->UseManualTime()
    ->Iterations(kRuns)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
