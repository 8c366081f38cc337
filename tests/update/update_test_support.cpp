// Local HTTP server process, recording view and zip writer for the update tests.

#include "update_test_support.h"

#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include <chrono>
#include <cstdlib>
#include <ctime>

extern char** environ;

namespace corvane::test {
namespace {

constexpr int kServerStartMs = 10000;

// Reads the port line the server prints; 0 when none arrives in time.
int ReadPort(int fd) {
  std::string line;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kServerStartMs);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char c = 0;
    if (read(fd, &c, 1) != 1) return 0;
    if (c == '\n') return std::atoi(line.c_str());
    line += c;
  }
  return 0;
}

}  // namespace

LocalHttpServer::LocalHttpServer(const std::filesystem::path& root) {
  // Loopback traffic must never take a detour through a proxy of the environment.
  setenv("no_proxy", "127.0.0.1,localhost", 1);
  setenv("NO_PROXY", "127.0.0.1,localhost", 1);
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
  std::string python = "python3";
  std::string script = CORVANE_UPDATE_TEST_SERVER;
  std::string folder = root.string();
  char* argv[] = {python.data(), script.data(), folder.data(), nullptr};
  if (posix_spawnp(&pid_, "python3", &actions, nullptr, argv, environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_fds[1]);
  if (pid_ > 0) port_ = ReadPort(pipe_fds[0]);
  close(pipe_fds[0]);
}

LocalHttpServer::~LocalHttpServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

std::string LocalHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

RefusingPort::RefusingPort() {
  fd_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof(address);
  if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), size) != 0) return;
  if (getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0) return;
  port_ = ntohs(address.sin_port);
}

RefusingPort::~RefusingPort() {
  if (fd_ >= 0) close(fd_);
}

std::unique_ptr<TempHome> LocalServerTest::served_home_;
std::unique_ptr<LocalHttpServer> LocalServerTest::server_;

void LocalServerTest::SetUpTestSuite() {
  served_home_ = std::make_unique<TempHome>();
  server_ = std::make_unique<LocalHttpServer>(served_home_->Root());
}

void LocalServerTest::TearDownTestSuite() {
  server_.reset();
  served_home_.reset();
}

void LocalServerTest::SetUp() {
  ASSERT_TRUE(server_->Ready());
  std::filesystem::create_directories(Served());
}

std::string LocalServerTest::TestFolder() {
  return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

std::filesystem::path LocalServerTest::Served() const {
  return served_home_->Root() / TestFolder();
}

std::string LocalServerTest::Url(const std::string& path) const {
  return server_->Url("/" + TestFolder() + path);
}

void RecordingView::PostDownloadProgress(int percent) {
  std::lock_guard lock(mutex_);
  progress_.push_back(percent);
}

void RecordingView::ShowFirmwareProgress(int percent, const std::string& text) {
  std::lock_guard lock(mutex_);
  firmware_progress_.emplace_back(percent, text);
}

void RecordingView::Add(std::string event) {
  std::lock_guard lock(mutex_);
  events_.push_back(std::move(event));
}

std::vector<std::string> RecordingView::Events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

std::vector<int> RecordingView::Progress() const {
  std::lock_guard lock(mutex_);
  return progress_;
}

std::vector<std::pair<int, std::string>> RecordingView::FirmwareProgress() const {
  std::lock_guard lock(mutex_);
  return firmware_progress_;
}

std::filesystem::file_time_type TestEntryTime() {
  std::tm when{};
  when.tm_year = 2021 - 1900;
  when.tm_mon = 2;
  when.tm_mday = 4;
  when.tm_hour = 5;
  when.tm_min = 6;
  when.tm_sec = 8;
  when.tm_isdst = -1;
  const auto system = std::chrono::system_clock::from_time_t(std::mktime(&when));
  return std::filesystem::file_time_type::clock::from_sys(system);
}

bool WriteZip(const std::filesystem::path& path, const std::vector<ZipEntry>& entries) {
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  if (zip == nullptr) return false;
  bool ok = true;
  for (const ZipEntry& entry : entries) {
    zip_fileinfo info{};
    info.tmz_date.tm_year = 2021;
    info.tmz_date.tm_mon = 2;
    info.tmz_date.tm_mday = 4;
    info.tmz_date.tm_hour = 5;
    info.tmz_date.tm_min = 6;
    info.tmz_date.tm_sec = 8;
    const int method = entry.stored ? 0 : Z_DEFLATED;
    ok = ok && zipOpenNewFileInZip64(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0,
                                     nullptr, method, Z_DEFAULT_COMPRESSION, 0) == ZIP_OK;
    ok = ok && zipWriteInFileInZip(zip, entry.content.data(),
                                   static_cast<unsigned>(entry.content.size())) == ZIP_OK;
    ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
  }
  return zipClose(zip, nullptr) == ZIP_OK && ok;
}

}  // namespace corvane::test
