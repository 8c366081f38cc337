// The set-up of the commands that work on the selected model's settings or run worker
// jobs: a DeviceSession over a recording view, opened from the global options, with the
// saved model selected and its profiles in place (no traffic beyond enumeration).
#pragma once

#include <memory>
#include <string>

#include "cli/cli_command.h"
#include "protocol/device_session.h"
#include "protocol/recording_device_view.h"

namespace corvane::cli {

class CliDeviceSession {
 public:
  // Opens and prepares the session. False with a one-line `error` on failure.
  bool Open(const CliOptions& options, std::string& error);

  DeviceSession& Session() { return *session_; }
  RecordingDeviceView& Recorder() { return recorder_; }
  // The active profile of the selected model (0 when the store could not be opened).
  int ActiveProfile();

 private:
  RecordingDeviceView recorder_;
  std::unique_ptr<DeviceSession> session_;
};

}  // namespace corvane::cli
