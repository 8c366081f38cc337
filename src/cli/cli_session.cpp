// CliSession: the command line's front end to DeviceSession, with a recorder standing in
// for the window.
#include "cli/cli_session.h"

#include <algorithm>
#include <cstdio>

#include "device/device_manager.h"
#include "store/settings_database.h"

namespace corvane::cli {

CliSession::CliSession() = default;

CliSession::~CliSession() = default;

bool CliSession::Open(const CliOptions& options, std::string& error, bool enumerate) {
  SessionOptions session_options;
  session_options.program_dir = options.program_dir;
  session_options.simulate = options.simulate;
  session_options.sim_model = options.sim_model;
  session_options.sim_state = options.sim_state;
  session_options.capture = options.capture;
  session_ = std::make_unique<DeviceSession>();
  if (!session_->Open(session_options, recorder_, error)) return false;
  if (enumerate) Enumerate();
  return true;
}

bool CliSession::Enumerate() { return session_->PrepareSelectedModel(); }

int CliSession::ActiveProfile() { return session_->Store().GetActiveProfile(); }

bool CliDeviceSession::Open(const CliOptions& options, std::string& error) {
  if (!CliSession::Open(options, error)) return false;
  if (!Session().Store().IsOpen()) {
    error = "no model selected (no device found and no saved model)";
    return false;
  }
  return true;
}

void CollectedTasks::Post(WorkerTask task) {
  if (std::find(tasks_.begin(), tasks_.end(), task) == tasks_.end()) tasks_.push_back(task);
}

void CollectedTasks::RunAll(DeviceJobs& jobs) const {
  for (WorkerTask task : tasks_) jobs.Run(task);
}

void WriteEntriesMember(JsonWriter& json, const std::vector<DeviceEntryInfo>& entries) {
  json.Key("entries").BeginArray();
  for (const DeviceEntryInfo& entry : entries) {
    json.BeginObject()
        .IntMember("index", entry.index)
        .IntMember("vid", entry.vendor_id)
        .IntMember("pid", entry.product_id)
        .IntMember("device_type", entry.device_type)
        .IntMember("mode", ModeNumber(entry.mode))
        .IntMember("online", StateNumber(entry.online_state))
        .StringMember("dev_id", entry.dev_id)
        .IntMember("release", entry.release_number)
        .EndObject();
  }
  json.EndArray();
}

void PrintEntries(const std::vector<DeviceEntryInfo>& entries) {
  std::printf("interfaces found:\n");
  if (entries.empty()) std::printf("  (none)\n");
  for (const DeviceEntryInfo& entry : entries) {
    std::printf("  %d  %04x:%04x  type %d  %s  %s  dev_id \"%s\"  release %X\n", entry.index,
                entry.vendor_id, entry.product_id, entry.device_type,
                entry.mode == ConnectionMode::kWired ? "wired" : "wireless",
                entry.online_state == OnlineState::kOnline ? "online" : "offline",
                entry.dev_id.c_str(), static_cast<unsigned>(entry.release_number));
  }
}

}  // namespace corvane::cli
