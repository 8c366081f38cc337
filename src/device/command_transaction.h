// The send-and-wait transaction of a command report (protocol/command_report.h) on one
// HID interface: checksum into its byte, stale input drained, one write, then timed reads until a report with
// status 0x00 arrives. Reply bytes 0, 2 and 3 are the mouse's own business; only the
// notification types in byte 0 are told apart. Which interface to use is the
// DeviceManager's business, not this file's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/hid_backend.h"
#include "protocol/command_report.h"

namespace corvane {

// The reply wait: this many reads of this many milliseconds, no other pauses.
inline constexpr int kReplyReads = 50;
inline constexpr int kReplyReadMs = 30;
// At most this many waiting reports are drained before a request, and held for later.
inline constexpr int kMaxDrainedReports = 64;
inline constexpr size_t kMaxHeldNotifications = 16;

enum class CommandOutcome {
  kAccepted,     // a report with status 0x00 (not a notification) arrived
  kRefused,      // the wait ran out; the last report read had another status
  kNoReply,      // the wait ran out with no report other than notifications
  kWriteFailed,  // the request could not be written (or there was no interface)
};

// Notifications read while draining or waiting, in arrival order, for the notification
// handling to act on afterwards.
using HeldNotifications = std::vector<std::vector<uint8_t>>;

// Stores the checksum in byte 32, drains what the interface already holds (notifications
// go to `held`, anything else is dropped: a late reply to an earlier command must not pass
// for this one's), writes `length` (33..65) bytes to `device` and reads up to kReplyReads
// times until a report with status (byte 1) 0x00 arrives: kAccepted. A report whose byte 0
// is a notification type goes to `held` (may be null: dropped) whatever its status; a
// report with another status is not the reply and the wait goes on (a busy mouse answers
// later; a refusing one runs the wait out: kRefused). On return `buffer` holds the reply,
// the last refusing report, or the request when neither came. Once `stop` (may be null)
// is raised the wait ends at once with kNoReply: the program is shutting down.
CommandOutcome RunCommand(HidHandle& device, uint8_t* buffer, size_t length,
                          HeldNotifications* held, ReadWake* stop = nullptr);
// After a command that got no reply: waits up to one reply window for that late reply and
// drops it, so the next command's wait cannot take it for its own (only the status byte
// tells replies apart). Returns as soon as a report that is not a notification arrives;
// notifications go to `held` (may be null: dropped). Ends at once when `stop` is raised.
void AwaitLateReply(HidHandle& device, HeldNotifications* held, ReadWake* stop = nullptr);

// RunCommand without holding notifications; true when accepted.
bool RunCommandTransaction(HidHandle& device, uint8_t* buffer, size_t length);

// Command 0x10 on `device`: zeroes the 65-byte `reply`, sends the 33-byte request and
// leaves the reply in `reply`. Returns true when the device accepted it.
bool QueryDeviceInfo(HidHandle& device, uint8_t* reply, ReadWake* stop = nullptr);

}  // namespace corvane
