// What every device-facing corvane-cli command does first: read the program folder,
// build the back end (simulator or hidapi, optionally captured), feed the catalogue to
// the DeviceManager, enumerate, and select the saved model as the device list would.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/app_config.h"
#include "catalogue/device_catalogue.h"
#include "cli/cli_command.h"
#include "cli/json_writer.h"
#include "device/device_entry.h"
#include "device/hid_backend.h"
#include "settings/task_poster.h"
#include "worker/device_session.h"
#include "worker/recording_device_view.h"

namespace corvane {
class SettingsDatabase;
class UpdateJobs;
}  // namespace corvane

namespace corvane::cli {

class CliSession {
 public:
  CliSession();
  // Closes every interface and hands the back end back (the simulator saves its state
  // file then).
  ~CliSession();
  CliSession(const CliSession&) = delete;
  CliSession& operator=(const CliSession&) = delete;

  // Reads config.xml and the catalogue and builds the back end. With `enumerate`, also
  // enumerates, selects the saved model and makes sure its profiles exist. False with a
  // one-line `error` on failure.
  bool Open(const CliOptions& options, std::string& error, bool enumerate = true);
  // Enumerates and selects: the stored DeviceType when found, else the first entry of
  // type 1 or more, which is then stored. Returns whether entries exist.
  bool Enumerate();

  const std::filesystem::path& ProgramFolder() const { return session_->ProgramFolder(); }
  const ApplicationConfig& Config() const { return session_->Config(); }
  const DeviceCatalogue& Catalogue() const { return session_->Catalogue(); }
  // The per-user key/value store named after the caption.
  KeyValueStore& Store() { return session_->Values(); }
  // The recorder standing in for the window; jobs may be run against it.
  RecordingDeviceView& View() { return recorder_; }
  // The simulator when --simulate was given; null on real hardware.
  SimBackend* Simulator() const { return session_->Simulator(); }
  // The shared device session: selected model, settings database, worker jobs.
  DeviceSession& Session() { return *session_; }
  // The active profile of the selected model (0 when its store could not be opened).
  int ActiveProfile();

 private:
  RecordingDeviceView recorder_;
  std::unique_ptr<DeviceSession> session_;
};

// A session for commands that work on the selected model's settings: Open fails with a
// message when no model is selected and saved.
class CliDeviceSession : public CliSession {
 public:
  bool Open(const CliOptions& options, std::string& error);
};

// Collects the jobs page logic posts, so each runs once, in order, after the change.
class CollectedTasks : public TaskPoster {
 public:
  void Post(WorkerTask task) override;
  // Runs every collected job in order on the calling thread, then reports as RunJob does
  // (naming each command the mouse refused or did not answer).
  int RunAll(DeviceJobs& jobs) const;

 private:
  std::vector<WorkerTask> tasks_;
};

// Prints why the store refused the last operation ("database busy", "disk full",
// "read-only", naming the file) when it did, else `otherwise`. Returns 1.
int StoreFail(SettingsDatabase& store, const std::string& otherwise);
// Returns StoreFail's exit code when an operation since the last look was refused by the
// store; 0 when everything was stored.
int StoreResult(SettingsDatabase& store);

// The same check after update jobs: 0 when they did their work, else their reason on
// stderr and 1 (kExitDeviceFailed when the mouse refused the firmware).
int UpdateResult(UpdateJobs& updates);

// Runs one worker job on the calling thread. Returns 0 when every command of it was
// accepted; otherwise prints each command the mouse refused or did not answer and returns
// kExitDeviceFailed (the store keeps the values either way).
int RunJob(DeviceJobs& jobs, WorkerTask task);
// The same check for jobs already run: 0, or the message and kExitDeviceFailed.
int DeviceResult(DeviceJobs& jobs);

// Appends the "entries" member ([{"index","vid","pid","device_type","mode","online",
// "dev_id","release"}]) for `entries` to an open JSON object.
void WriteEntriesMember(JsonWriter& json, const std::vector<DeviceEntryInfo>& entries);
// Prints the entries as text lines ("interfaces found:" ...).
void PrintEntries(const std::vector<DeviceEntryInfo>& entries);

}  // namespace corvane::cli
