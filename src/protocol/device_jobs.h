// The bodies of the worker's numbered jobs: device list rebuilds, read-back, the
// performance, button, macro and lighting uploads, restore defaults and the idle
// notification poll. They run on whichever thread calls them — the worker thread in
// the window, the calling thread in the CLI and the tests — and reach the window only
// through the view.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "base/worker_task.h"
#include "settings/command_report.h"

namespace corvane {

class DeviceManager;
class ModelContext;
class WorkerView;
class SettingsDatabase;
class DeviceState;

inline constexpr int kNotificationBytes = 65;
inline constexpr size_t kCommandBufferSizeForReads = 65;
inline constexpr uint8_t kNotifyLink = 0xC0;
inline constexpr uint8_t kNotifyDpiStage = 0xC2;

// Version texts as the device reports them: a release number ("%X", 0x105 -> "105"),
// or the two bytes of the mouse's version reply ("%X%02X", 1 and 5 -> "105").
std::string ReleaseVersionText(int release_number);
std::string FirmwareVersionText(uint8_t high, uint8_t low);

class DeviceJobs {
 public:
  using TextSource = std::function<std::string(int text_id)>;
  using ExternalJob = std::function<void()>;

  DeviceJobs(DeviceManager& manager, ModelContext& model, WorkerView& view, TextSource text);

  // Jobs that live elsewhere (update checks and downloads, pointer settings).
  void SetExternalJob(WorkerTask task, ExternalJob job);

  // Runs the job of `task`. Returns false, doing nothing, for a number without a job.
  bool Run(WorkerTask task);

  // One idle poll: reads one notification and acts on it. The read ends early once
  // `interrupted` returns true (a task was queued).
  void PollNotification(const std::function<bool()>& interrupted = {});
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

  // Test knob: the pauses of the removal and lighting read-back jobs and of the read-back delay.
  void SetPauseScale(double scale) { pause_scale_ = scale; }

 private:
  void ReadBackJob(int delay_ms);
  void ReloadProfileAndRefresh();
  void RefreshDevicePages(bool with_macro);
  void UpdateVersionLine(bool plain_mouse_line = false);
  void Pause(int ms) const;

  bool Send(CommandReport report, bool report_failure);
  bool Read(uint8_t command, uint8_t* reply);
  void StoreWrites(int profile, const std::vector<std::pair<std::string, std::string>>& writes);

  void ButtonJob();
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
  WorkerView& view_;
  TextSource text_;
  std::map<WorkerTask, ExternalJob> external_;
  double pause_scale_ = 1.0;
};

}  // namespace corvane
