// Everything a front end (the window or corvane-cli) needs to talk to mice: the
// program folder's configuration and catalogue, the per-user values, the language
// texts, the HID back end (real, simulated, optionally captured), the selected model
// with its settings database, and the worker with its jobs. Qt-free.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/app_config.h"
#include "app/key_value_store.h"
#include "app/language_text.h"
#include "catalogue/device_catalogue.h"
#include "settings/device_state.h"
#include "settings/pointer_options.h"
#include "worker/device_jobs.h"
#include "worker/device_view.h"
#include "worker/device_worker.h"
#include "worker/model_context.h"
#include "worker/worker_view.h"

namespace corvane {

class HidBackend;
class SimBackend;
class SettingsDatabase;
class UpdateJobs;

struct SessionOptions {
  std::filesystem::path program_dir;  // empty: the executable's folder, then ../share/corvane
  std::string simulate;               // "", "wired", "wireless" or "both"
  std::string sim_model;
  std::string sim_state;              // state file of the simulator
  std::vector<std::string> sim_faults;  // DEVICE:KNOB=VALUE fault knob settings
  std::string capture;                // traffic capture file
  // True: a missing, empty or ill-formed config.xml makes Open fail. False: the session
  // opens with no models and the default caption (the window then shows no device).
  bool require_config = true;
};

class DeviceSession {
 public:
  DeviceSession();
  // Stops the worker, closes every interface and hands the back end back (the
  // simulator saves its state file then).
  ~DeviceSession();
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  // Reads the program folder, picks the language, builds the back end and hands the
  // catalogue to the device manager. `view` must outlive the session. Returns false
  // with a one-line `error` when config.xml (if required), the simulator or the capture
  // file fails.
  bool Open(const SessionOptions& options, DeviceView& view, std::string& error);

  // Enumerates without reading the mouse back, selects the saved model (or the first
  // identified one, which is then saved), loads its definition and profiles, and applies
  // the active entry's stored device information. Returns whether entries exist.
  bool PrepareSelectedModel();

  // Owes the mouse again what it had not taken when the last session of the same model
  // closed (kept in the per-user values), so the start-up read-back does not put the mouse's
  // older values over the store's. Before the worker starts.
  void TakeOwedTasks();

  // Cancels a running transfer, ends a command's reply wait and stops the worker, waiting
  // at most its stop time. False when a job still runs after that (stuck in device I/O).
  // Commands sent after this fail at once: the session is shutting down.
  bool StopWorker();
  // Stops the worker, closes every interface and saves the simulator's state file. Returns
  // false with `error` when that save failed. The destructor does the same, silently.
  bool Close(std::string& error);

  const std::filesystem::path& ProgramFolder() const { return program_folder_; }
  std::filesystem::path DataFolder() const;
  const ApplicationConfig& Config() const { return config_; }
  const DeviceCatalogue& Catalogue() const { return catalogue_; }
  KeyValueStore& Values() { return *values_; }
  LanguageText& Texts() { return *texts_; }
  SettingsDatabase& Store();
  DeviceState& State() { return state_; }
  ModelContext& Model() { return *model_; }
  WorkerView& View() { return *view_; }
  DeviceJobs& Jobs() { return *jobs_; }
  DeviceWorker& Worker() { return *worker_; }
  // The update checks and installs registered as the version-check and install tasks.
  UpdateJobs& Updates() { return *updates_; }
  // The operating system's pointer settings and task 22's pending action.
  PointerJob& Pointer() { return *pointer_; }
  // The simulator when one was asked for; null on real hardware.
  SimBackend* Simulator() const { return sim_.get(); }

 private:
  std::shared_ptr<HidBackend> BuildBackend(const SessionOptions& options, std::string& error);
  // Keeps what the mouse has not taken for TakeOwedTasks of the next session.
  void KeepOwedTasks();

  std::filesystem::path program_folder_;
  ApplicationConfig config_;
  DeviceCatalogue catalogue_;
  std::unique_ptr<KeyValueStore> values_;
  std::unique_ptr<LanguageText> texts_;
  DeviceState state_;
  std::unique_ptr<ModelContext> model_;
  std::unique_ptr<WorkerView> view_;
  std::unique_ptr<DeviceJobs> jobs_;
  std::unique_ptr<DeviceWorker> worker_;
  // Raised by StopWorker: ends the reply wait of a command in progress.
  ReadWake stopping_;
  std::unique_ptr<UpdateJobs> updates_;
  std::unique_ptr<PointerSettings> pointer_backend_;
  std::unique_ptr<PointerJob> pointer_;
  std::shared_ptr<SimBackend> sim_;
};

}  // namespace corvane
