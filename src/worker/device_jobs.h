// The bodies of the worker's numbered jobs: device list rebuilds, read-back, the
// performance, button, macro and lighting uploads, restore defaults and the idle
// notification poll. They run on whichever thread calls them — the worker thread in
// the window, the calling thread in the CLI and the tests — and reach the window only
// through the view.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "device/command_transaction.h"
#include "base/worker_task.h"
#include "protocol/command_report.h"
#include "protocol/notifications.h"
#include "store/store_records.h"

namespace corvane {

class ReadWake;

class DeviceManager;
class ModelContext;
class WorkerView;
class PageView;
class BatteryView;
class SettingsDatabase;
class DeviceState;


// Version texts as the device reports them: a release number ("%X", 0x105 -> "105"),
// or the two bytes of the mouse's version reply ("%X%02X", 1 and 5 -> "105").
std::string ReleaseVersionText(int release_number);
std::string FirmwareVersionText(uint8_t high, uint8_t low);

// The job that puts the store's value for `command` (a write, or the read that fills the
// same values) into the mouse; nullopt for commands that carry no setting.
std::optional<WorkerTask> RestoringTask(uint8_t command);

class DeviceJobs {
 public:
  using TextSource = std::function<std::string(int text_id)>;
  using ExternalJob = std::function<void()>;

  DeviceJobs(DeviceManager& manager, ModelContext& model, WorkerView& view, TextSource text);

  // Jobs that live elsewhere (update checks and downloads, pointer settings).
  void SetExternalJob(WorkerTask task, ExternalJob job);

  // Runs the job of `task`. Returns false, doing nothing, for a number without a job.
  bool Run(WorkerTask task);

  // One idle poll: reads one notification and acts on it. With `wake` the read ends as
  // soon as it is raised (a task was queued). Returns the report's type byte, 0 when
  // nothing arrived.
  uint8_t PollNotification(ReadWake* wake = nullptr);
  // Acts on one notification report (65 bytes, byte 0 = type).
  void HandleNotification(const uint8_t* report);

  // Reads the mouse's settings into the active profile. `after_link` is the variant
  // run after a link notification (no battery reset, no version read).
  bool ReadBackSettings(bool after_link = false);
  // The common reaction to a failed write.
  void HandleWriteFailure();
  // Applies the active entry's stored device information (sensor, rate class,
  // battery, reachable) without any traffic. Returns false when there is none.
  bool ApplyStoredDeviceInfo();
  // Takes the DPI stage count and index that notifications are compared with from the
  // active profile (after a read-back, a profile change or a restore).
  void CacheDpiStages();

  // Test knob: the pauses of the removal and lighting read-back jobs and of the read-back delay.
  void SetPauseScale(double scale) { pause_scale_ = scale; }

  // A command the mouse refused or did not answer, or one left unsent because the mouse
  // had gone (unplugged, or switched off behind its receiver) earlier in the same job.
  struct CommandFailure {
    uint8_t command = 0;
    CommandOutcome outcome = CommandOutcome::kNoReply;
    bool skipped = false;
  };
  // Every failed command since the last call, in order; empty when all went through.
  // Front ends that report failures (the command line) ask after the jobs they run.
  std::vector<CommandFailure> TakeFailures();
  // True while the mouse lacks settings the store holds: a write it did not take, or a
  // read-back value it did not give. They are sent again after the next job that goes
  // through and when the link comes back.
  bool OutOfStep() const { return !owed_.empty(); }
  // What the mouse still lacks, as task numbers ("5,6"; empty when in step), so a change
  // made just before the program closes reaches the mouse at the next start.
  std::string OwedText() const;
  // Adds the tasks of such a text; numbers that restore no setting are ignored.
  void OweAgain(std::string_view text);
  // Sends again what the mouse did not take, for a mouse that refused while it stayed
  // linked: nothing else would give it another chance until the user's next change.
  void RetryOwed();
  // True when a plugged-in mouse or receiver has not said which model it is.
  bool HasUnnamedDevices() const;
  // Asks such a device again; once it answers, it is taken in as a device just plugged in
  // (list, read-back). Returns whether it answered.
  bool NameRefusingDevices();

 private:
  // The job of `task` without the failure bookkeeping of Run.
  bool RunJob(WorkerTask task);
  void ReadBackJob(int delay_ms);
  void ReloadProfileAndRefresh();
  void RefreshDevicePages(bool with_macro);
  void UpdateVersionLine(bool plain_mouse_line = false);
  void Pause(int ms) const;

  // Keeps the job's failure state around one job; jobs run inside jobs share it.
  class JobScope;
  // One command transaction; false without traffic once the mouse has gone in the current
  // job (`skipped` then tells so). A failure is recorded and owed to the mouse.
  bool Transact(uint8_t* bytes, size_t length, bool& skipped);
  // After a failed command: whether the mouse can still take commands (a receiver is asked
  // with command 0x10 whether the mouse is reachable).
  bool MouseStillAnswers(CommandOutcome outcome);
  // Notes the job that puts the store's value for `command` into the mouse as owed.
  void Owe(uint8_t command);
  // Whether the store is newer than the mouse for `task`'s values: that task, or the whole
  // profile, is owed.
  bool Owes(WorkerTask task) const;
  // Runs the owed jobs once the mouse takes commands again.
  void SendOwed();
  // The window's reaction to a mouse that went off behind its receiver.
  void ShowMouseOff();
  // The connection line says so while a linked mouse lacks what the store holds, and goes
  // back to the link's own text once it has it.
  void ShowWhetherInStep();
  bool Send(CommandReport report, bool report_failure);
  bool Read(CommandId command, uint8_t* reply);
  void StoreWrites(int profile, const std::vector<std::pair<std::string, std::string>>& writes);

  void ButtonJob();
  // Sends the macro of every button in `buttons` that the active profile gives a macro.
  void SendMacros(const std::set<int>& buttons, const std::vector<KeyAssignRecord>& rows);
  bool SendMacro(int button, int macro_id);
  void LightingJob();
  void LightingReadback(bool with_reset);
  void PerformanceJob(WorkerTask task);
  void FactoryDpiJob();
  void RestoreDefaultsJob();
  void UploadProfileJob();
  void RunExternal(WorkerTask task);

  SettingsDatabase& Store();
  DeviceState& State();

  DeviceManager& manager_;
  ModelContext& model_;
  WorkerView& list_;  // the device list role, wrapped by the worker
  PageView& pages_;
  BatteryView& battery_;
  TextSource text_;
  std::map<WorkerTask, ExternalJob> external_;
  double pause_scale_ = 1.0;
  int job_depth_ = 0;
  bool job_failed_ = false;  // a command of the current job failed
  bool mouse_gone_ = false;  // ... and the mouse cannot take the rest
  std::vector<CommandFailure> failures_;
  std::set<WorkerTask> owed_;
  // Whether the connection line was last told that the mouse lacks what the store holds.
  bool shown_behind_ = false;
};

}  // namespace corvane
