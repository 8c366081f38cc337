// Lock file, QLocalServer and QLocalSocket handshake between two copies of the program.
#include "ui/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <thread>

#include "app/app_folders.h"

#include "app/app_folders.h"

namespace corvane::ui {
namespace {

constexpr int kConnectTimeoutMs = 1000;
// A copy that holds the lock starts listening right after taking it; this is how long a
// later copy keeps trying to reach it while the lock is held.
constexpr int kNotifyRetryMs = 2000;
constexpr int kRetryPauseMs = 25;
constexpr const char* kShowRequest = "show\n";

std::string InstanceFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && *runtime != '\0') return runtime;
  std::error_code error;
  const std::filesystem::path temp = std::filesystem::temp_directory_path(error);
  return error ? std::string("/tmp") : temp.string();
}

bool TryConnect(const QString& name, int timeout_ms) {
  QLocalSocket socket;
  socket.connectToServer(name);
  if (!socket.waitForConnected(timeout_ms)) return false;
  socket.write(kShowRequest);
  socket.waitForBytesWritten(kConnectTimeoutMs);
  socket.disconnectFromServer();
  return true;
}

}  // namespace

SingleInstance::SingleInstance(const std::string& caption) {
  name_ = InstanceFolder() + "/" + CaptionFolderName(caption) + "-" + std::to_string(getuid()) +
          ".instance";
}

SingleInstance::~SingleInstance() {
  server_.reset();  // removes the socket while the lock still guards it
  if (lock_fd_ >= 0) ::close(lock_fd_);
}

SingleInstance::Claim SingleInstance::TakeOver() {
  const std::string lock_path = name_ + ".lock";
  // O_NOFOLLOW: a link planted in a shared folder must not send the open elsewhere.
  lock_fd_ = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lock_fd_ < 0) return Claim::kUnguarded;
  if (::flock(lock_fd_, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(lock_fd_);
    lock_fd_ = -1;
    if (!held) return Claim::kUnguarded;
    NotifyRunning();
    return Claim::kOtherRunning;
  }
  // The lock is ours, so nobody listens here: a socket file is a crashed copy's leftover.
  const QString name = QString::fromStdString(name_);
  QLocalServer::removeServer(name);
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name)) {
    // Still the one running copy; later starts end quietly without reaching it.
    server_.reset();
    return Claim::kOwner;
  }
  QObject::connect(server_.get(), &QLocalServer::newConnection, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      OnShowRequest();
    }
  });
  return Claim::kOwner;
}

bool SingleInstance::NotifyRunning() const {
  const QString name = QString::fromStdString(name_);
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kNotifyRetryMs);
  while (!TryConnect(name, kConnectTimeoutMs)) {
    if (!LockHeld() || std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(kRetryPauseMs));
  }
  return true;
}

bool SingleInstance::LockHeld() const {
  const std::string lock_path = name_ + ".lock";
  const int fd = ::open(lock_path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

void SingleInstance::SetShowHandler(std::function<void()> on_show) {
  on_show_ = std::move(on_show);
  if (show_pending_ && on_show_) {
    show_pending_ = false;
    on_show_();
  }
}

void SingleInstance::OnShowRequest() {
  if (on_show_) {
    on_show_();
  } else {
    show_pending_ = true;
  }
}

}  // namespace corvane::ui
