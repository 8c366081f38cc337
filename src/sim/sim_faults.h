// Fault knobs of one simulated device, so tests can exercise the tool's handling of
// slow, lossy, failing or vanishing hardware on purpose.
#pragma once

#include <cstdint>

namespace corvane {

// What a reply carries in the bytes the protocol leaves to the mouse. `kEcho` is what the
// simulated firmware does by itself: byte 0 echoes the command id, byte 2 is zero and
// byte 3 echoes the packet sequence. `kRandom` never puts a notification type in byte 0,
// since a report of that type is a notification whatever else it holds.
enum class SimReplyBytes { kEcho, kZero, kRandom };

struct SimFaults {
  // A reply becomes readable this long after its command was written.
  int reply_delay_ms = 0;
  // The next N replies are lost (the commands are still carried out).
  int drop_replies = 0;
  // While non-zero every command is refused with this status and changes nothing.
  uint8_t forced_status = 0;
  // After this many more output reports (to any collection) the device is unplugged;
  // the last of them is carried out but its reply never arrives. -1 = never.
  int unplug_after_reports = -1;
  // A report of unknown type is queued ahead of each of the next N replies.
  int garbage_notifications = 0;
  // Deliver at most one input report per 1 ms, as a USB interrupt endpoint does.
  bool interrupt_interval = false;
  // Reply byte 0, and reply bytes 2 and 3 (replies and forced-status reports alike).
  SimReplyBytes reply_byte0 = SimReplyBytes::kEcho;
  SimReplyBytes reply_bytes23 = SimReplyBytes::kEcho;
  // The next N commands are first answered with a report of status ReplyStatus::kBusy,
  // then with their real reply.
  int busy_status_replies = 0;
};

}  // namespace corvane
