// The send-and-wait rule every command follows. Only the status byte decides: whatever a
// mouse puts in reply bytes 0, 2 and 3 is its own. Notifications are recognised by their
// type so one whose byte 1 happens to be 0x00 is not stored as the mouse's answer, and
// input waiting before the write is drained so a late reply to an earlier command is not.
#include "device/command_transaction.h"

#include <algorithm>
#include <cstring>

#include "base/trace.h"
#include "protocol/notifications.h"

namespace corvane {

namespace {

constexpr size_t kBufferSize = kReportBufferSize;

void Hold(HeldNotifications* held, const uint8_t* report, size_t got) {
  if (held == nullptr || held->size() >= kMaxHeldNotifications) return;
  held->emplace_back(report, report + got);
}

// Reads what is already waiting, without waiting for more.
void DrainStaleInput(HidHandle& device, HeldNotifications* held) {
  uint8_t report[kBufferSize] = {};
  for (int i = 0; i < kMaxDrainedReports; ++i) {
    const int read = device.ReadTimeout(report, sizeof report, 0);
    if (read <= 0) return;
    const size_t got = std::min(static_cast<size_t>(read), sizeof report);
    if (IsNotification(report, got)) {
      Hold(held, report, got);
    } else {
      Trace("stale report dropped before a command: %02X %02X", report[kReplyTypeByte],
            got > kReplyStatusByte ? report[kReplyStatusByte] : 0);
    }
  }
}

// One read of the reply wait; gives up early once `stop` is raised.
int ReadReply(HidHandle& device, uint8_t* report, size_t length, ReadWake* stop) {
  return stop != nullptr ? device.ReadOrWake(report, length, kReplyReadMs, *stop)
                         : device.ReadTimeout(report, length, kReplyReadMs);
}

bool Stopping(const ReadWake* stop) { return stop != nullptr && stop->Raised(); }

}  // namespace

void AwaitLateReply(HidHandle& device, HeldNotifications* held, ReadWake* stop) {
  uint8_t report[kBufferSize] = {};
  for (int attempt = 0; attempt < kReplyReads && !Stopping(stop); ++attempt) {
    const int read = ReadReply(device, report, sizeof report, stop);
    if (read <= 0) continue;
    const size_t got = std::min(static_cast<size_t>(read), sizeof report);
    if (IsNotification(report, got)) {
      Hold(held, report, got);
      continue;
    }
    Trace("late reply dropped: %02X %02X", report[kReplyTypeByte],
          got > kReplyStatusByte ? report[kReplyStatusByte] : 0);
    return;
  }
}

CommandOutcome RunCommand(HidHandle& device, uint8_t* buffer, size_t length,
                          HeldNotifications* held, ReadWake* stop) {
  if (buffer == nullptr || length < kShortReportLength || length > kBufferSize) {
    return CommandOutcome::kWriteFailed;
  }
  buffer[kReportChecksumByte] = CommandChecksum(buffer);
  const uint8_t command = buffer[kReportCommandByte];
  DrainStaleInput(device, held);
  uint8_t working[kBufferSize] = {};
  std::memcpy(working, buffer, length);
  if (device.Write(working, length) <= 0) return CommandOutcome::kWriteFailed;

  bool refused = false;
  for (int attempt = 0; attempt < kReplyReads; ++attempt) {
    if (Stopping(stop)) return CommandOutcome::kNoReply;
    const int read = ReadReply(device, working, length, stop);
    if (read <= 0) continue;
    const size_t got = std::min(static_cast<size_t>(read), length);
    if (IsNotification(working, got)) {
      Hold(held, working, got);
      continue;
    }
    if (got <= kReplyStatusByte) continue;  // no status byte: not a reply
    // A reply shorter than the request must not pass request bytes off as reply data.
    std::fill(working + got, working + length, 0);
    if (working[kReplyStatusByte] == Byte(ReplyStatus::kAccepted)) {
      std::memcpy(buffer, working, length);
      return CommandOutcome::kAccepted;
    }
    // Not the awaited reply: a busy mouse answers again, a refusing one runs the wait out.
    Trace("report with status %02X while waiting for command %02X", working[kReplyStatusByte],
          command);
    std::memcpy(buffer, working, length);
    refused = true;
  }
  return refused ? CommandOutcome::kRefused : CommandOutcome::kNoReply;
}

bool RunCommandTransaction(HidHandle& device, uint8_t* buffer, size_t length) {
  return RunCommand(device, buffer, length, nullptr) == CommandOutcome::kAccepted;
}

bool QueryDeviceInfo(HidHandle& device, uint8_t* reply, ReadWake* stop) {
  if (reply == nullptr) return false;
  std::memset(reply, 0, kBufferSize);
  reply[kReportCommandByte] = Byte(CommandId::kDeviceInfo);
  return RunCommand(device, reply, kShortReportLength, nullptr, stop) == CommandOutcome::kAccepted;
}

}  // namespace corvane
