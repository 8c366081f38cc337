// Reads whole input reports from a hidraw node's descriptor. A wait is one poll(2) on the
// node and, for the idle read, on an eventfd that ReadWake signals: the thread sleeps
// until a report arrives, the time-out ends or a task is posted, and not a moment longer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "device/read_wake.h"

namespace corvane {

class FdReportReader {
 public:
  // Takes ownership of `fd` (open for reading). Valid() is false when no eventfd could
  // be made or `fd` is negative.
  explicit FdReportReader(int fd);
  ~FdReportReader();
  FdReportReader(const FdReportReader&) = delete;
  FdReportReader& operator=(const FdReportReader&) = delete;

  bool Valid() const { return fd_ >= 0 && wake_fd_ >= 0; }

  // One report of at most `length` bytes: bytes copied (> 0), 0 when none arrived within
  // `timeout_ms` (negative: wait without limit), -1 when the node failed or went away.
  int Read(uint8_t* data, size_t length, int timeout_ms);
  // Like Read, but returns 0 as soon as `wake` is raised.
  int ReadOrWake(uint8_t* data, size_t length, int timeout_ms, ReadWake& wake);

 private:
  int Wait(uint8_t* data, size_t length, int timeout_ms, bool wakeable);
  void DrainWake();

  int fd_;
  int wake_fd_;
};

}  // namespace corvane
