#include "device/fd_report_reader.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace corvane {

FdReportReader::FdReportReader(int fd)
    : fd_(fd), wake_fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

FdReportReader::~FdReportReader() {
  if (fd_ >= 0) close(fd_);
  if (wake_fd_ >= 0) close(wake_fd_);
}

int FdReportReader::Read(uint8_t* data, size_t length, int timeout_ms) {
  return Wait(data, length, timeout_ms, false);
}

int FdReportReader::ReadOrWake(uint8_t* data, size_t length, int timeout_ms, ReadWake& wake) {
  DrainWake();  // raises that came while nobody waited are already seen by the caller
  // Registered before the flag is looked at: a raise after the look writes the eventfd.
  ReadWake::Waiter waiter(&wake, [this] {
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(wake_fd_, &one, sizeof one);
  });
  if (wake.Raised()) return 0;
  return Wait(data, length, timeout_ms, true);
}

void FdReportReader::DrainWake() {
  uint64_t count = 0;
  [[maybe_unused]] ssize_t drained = read(wake_fd_, &count, sizeof count);
}

int FdReportReader::Wait(uint8_t* data, size_t length, int timeout_ms, bool wakeable) {
  if (!Valid() || data == nullptr || length == 0) return -1;
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    int wait_ms = -1;
    if (timeout_ms >= 0) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      wait_ms = static_cast<int>(std::max<long long>(left.count(), 0));
    }
    pollfd fds[2] = {{fd_, POLLIN, 0}, {wake_fd_, POLLIN, 0}};
    const int ready = poll(fds, wakeable ? 2 : 1, wait_ms);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (fds[0].revents & POLLIN) {
      const ssize_t got = read(fd_, data, length);
      if (got > 0) return static_cast<int>(got);
      if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      return -1;  // 0 bytes: the node is gone
    }
    if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return -1;
    if (wakeable && (fds[1].revents & POLLIN)) {
      DrainWake();
      return 0;
    }
    if (ready == 0) return 0;
  }
}

}  // namespace corvane
