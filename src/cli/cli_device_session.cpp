#include "cli/cli_device_session.h"

#include "store/settings_database.h"

namespace corvane::cli {

bool CliDeviceSession::Open(const CliOptions& options, std::string& error) {
  SessionOptions session_options;
  session_options.program_dir = options.program_dir;
  session_options.simulate = options.simulate;
  session_options.sim_model = options.sim_model;
  session_options.sim_state = options.sim_state;
  session_options.capture = options.capture;
  session_ = std::make_unique<DeviceSession>();
  if (!session_->Open(session_options, recorder_, error)) return false;
  session_->PrepareSelectedModel();
  if (!session_->Store().IsOpen()) {
    error = "no model selected (no device found and no saved model)";
    return false;
  }
  return true;
}

int CliDeviceSession::ActiveProfile() { return session_->Store().GetActiveProfile(); }

}  // namespace corvane::cli
