// CliSession: the command line's front end to DeviceSession, with a recorder standing in
// for the window.
#include "cli/cli_session.h"

#include <algorithm>
#include <cstdio>

#include "cli/access_hint.h"
#include "device/device_manager.h"
#include "protocol/performance_commands.h"
#include "protocol/button_table_encoding.h"
#include "protocol/light_payload.h"
#include "store/settings_database.h"
#include "worker/update_jobs.h"

namespace corvane::cli {

CliSession::CliSession() = default;

CliSession::~CliSession() {
  std::string error;
  if (session_ && !session_->Close(error)) {
    CliFail(error);
    MarkRunFailed();
  }
}

bool CliSession::Open(const CliOptions& options, std::string& error, bool enumerate) {
  SessionOptions session_options;
  session_options.program_dir = options.program_dir;
  session_options.simulate = options.simulate;
  session_options.sim_model = options.sim_model;
  session_options.sim_state = options.sim_state;
  session_options.sim_faults = options.sim_faults;
  session_options.capture = options.capture;
  session_ = std::make_unique<DeviceSession>();
  if (!session_->Open(session_options, recorder_, error)) return false;
  for (const std::string& warning : Catalogue().Warnings()) {
    std::fprintf(stderr, "corvane-cli: warning: %s\n", warning.c_str());
  }
  if (enumerate) Enumerate();
  return true;
}

bool CliSession::Enumerate() {
  const bool found = session_->PrepareSelectedModel();
  DeviceManager& manager = DeviceManager::Instance();
  if (std::shared_ptr<HidBackend> backend = manager.Backend(); backend && !Simulator()) {
    std::vector<std::string> opened;
    for (const DeviceEntryInfo& entry : manager.Entries()) opened.push_back(entry.path);
    for (const std::string& hint :
         UnopenableInterfaceHints(*backend, session_->Model().KnownDevices(), opened)) {
      std::fprintf(stderr, "corvane-cli: %s\n", hint.c_str());
    }
  }
  return found;
}

int CliSession::ActiveProfile() { return session_->Store().GetActiveProfile(); }

bool CliDeviceSession::Open(const CliOptions& options, std::string& error) {
  if (!CliSession::Open(options, error)) return false;
  SettingsDatabase& store = Session().Store();
  if (!store.IsOpen()) {
    // A model was chosen when its file has a name; the file is then left as it is.
    if (store.IsBusy()) {
      error = StoreErrorMessage(StoreError::kBusy, store.Path());
    } else {
      error = store.Path().empty()
                  ? "no model selected (no device found and no saved model)"
                  : "the settings database " + store.Path() + " is not usable (left unchanged)";
    }
    return false;
  }
  // Failures while opening (a read that found nothing yet) are not the command's.
  store.TakeError();
  return true;
}

void CollectedTasks::Post(WorkerTask task) {
  if (std::find(tasks_.begin(), tasks_.end(), task) == tasks_.end()) tasks_.push_back(task);
}

int CollectedTasks::RunAll(DeviceJobs& jobs) const {
  for (WorkerTask task : tasks_) jobs.Run(task);
  return DeviceResult(jobs);
}

int StoreFail(SettingsDatabase& store, const std::string& otherwise) {
  const StoreError error = store.TakeError();
  if (error == StoreError::kNone) return CliFail(otherwise);
  return CliFail(StoreErrorMessage(error, store.Path()));
}

int StoreResult(SettingsDatabase& store) {
  const StoreError error = store.TakeError();
  if (error == StoreError::kNone) return 0;
  return CliFail(StoreErrorMessage(error, store.Path()) + "; not everything was stored");
}

int UpdateResult(UpdateJobs& updates) {
  const std::optional<UpdateJobs::Failure> failure = updates.TakeFailure();
  if (!failure) return 0;
  CliFail(failure->text);
  return failure->device ? kExitDeviceFailed : 1;
}

namespace {

// The values a command carries (a write) or asks for (a read), as a user names them.
const char* CommandValues(uint8_t command) {
  switch (static_cast<CommandId>(command)) {
    case CommandId::kReportRate:
    case CommandId::kReadReportRate: return "report rate";
    case CommandId::kDpiStages:
    case CommandId::kReadDpiStages: return "DPI stages";
    case CommandId::kDpiColours:
    case CommandId::kReadDpiColours: return "DPI stage colours";
    case CommandId::kSensor:
    case CommandId::kReadSensor: return "lift-off distance and sensor switches";
    case CommandId::kPower:
    case CommandId::kReadPower: return "sleep delay, wake and light options, response time";
    case CommandId::kReadAll: return "device information";
    case CommandId::kReadFirmwareVersion: return "firmware version";
    case CommandId::kLighting:
    case CommandId::kReadLighting: return "lighting";
    case CommandId::kButtons: return "button table";
    default: return nullptr;
  }
}

bool IsReadCommand(uint8_t command) {
  switch (static_cast<CommandId>(command)) {
    case CommandId::kReadAll:
    case CommandId::kReadReportRate:
    case CommandId::kReadDpiStages:
    case CommandId::kReadDpiColours:
    case CommandId::kReadSensor:
    case CommandId::kReadPower:
    case CommandId::kReadFirmwareVersion:
    case CommandId::kReadLighting: return true;
    default: return false;
  }
}

}  // namespace

int DeviceResult(DeviceJobs& jobs) {
  const std::vector<DeviceJobs::CommandFailure> failures = jobs.TakeFailures();
  if (failures.empty()) return 0;
  // Every failed step is named, in the order the job ran them, with the values it carries.
  std::string steps;
  std::string unread;
  bool wrote = false;
  for (const DeviceJobs::CommandFailure& failure : failures) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", failure.command);
    const char* values = CommandValues(failure.command);
    const std::string command =
        "command " + std::string(hex) + (values != nullptr ? std::string(" (") + values + ")" : "");
    std::string step = "the mouse did not answer " + command;
    if (failure.outcome == CommandOutcome::kRefused) step = "the mouse refused " + command;
    if (failure.outcome == CommandOutcome::kWriteFailed) step = "could not send " + command;
    if (failure.skipped) step = command + " was not sent (the mouse had gone)";
    steps += (steps.empty() ? "" : "; ") + step;
    // A read that failed leaves exactly those values as the store had them.
    if (IsReadCommand(failure.command)) {
      unread += (unread.empty() ? "" : ", ") + std::string(values != nullptr ? values : "its values");
    } else {
      wrote = true;
    }
  }
  if (!unread.empty()) steps += "; not read: " + unread;
  if (wrote) steps += "; the stored settings keep the values given";
  CliFail(steps);
  return kExitDeviceFailed;
}

int RunJob(DeviceJobs& jobs, WorkerTask task) {
  jobs.Run(task);
  return DeviceResult(jobs);
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
