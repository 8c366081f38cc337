// The whole program without its window, for the randomised consistency test: the page
// logic of every page posting into a queue, the worker's jobs draining it against the
// simulated mouse, and a check that the mouse holds what the store says for the active
// profile. Reads are capped at a few milliseconds so that lost replies cost little.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/memory_key_value_store.h"
#include "catalogue/device_catalogue.h"
#include "device/device_manager.h"
#include "settings/button_assignment.h"
#include "settings/device_state.h"
#include "settings/dpi_stages.h"
#include "settings/lighting_model.h"
#include "settings/macro_clock.h"
#include "settings/macro_editor.h"
#include "settings/performance_options.h"
#include "sim/sim_backend.h"
#include "sim/sim_setup.h"
#include "store/settings_database.h"
#include "support/temp_home.h"
#include "worker/device_jobs.h"
#include "worker/model_context.h"
#include "worker/recording_device_view.h"
#include "worker/worker_view.h"

namespace corvane::test {

// One user operation (or mouse event), with the random numbers it draws its details from,
// so that a list of steps replays the same way on a fresh rig.
struct Step {
  int op = 0;
  unsigned a = 0, b = 0, c = 0;
};

// The window's task queue: tasks wait until the rig lets the worker run.
class QueuedTasks : public TaskPoster {
 public:
  void Post(WorkerTask task) override { tasks.push_back(task); }
  std::vector<WorkerTask> tasks;
};

class ConsistencyRig {
 public:
  explicit ConsistencyRig(SimMode mode);

  // The number of operations Step::op chooses from.
  static int OperationCount();
  // A readable name of the step, for failure reports.
  static std::string Describe(const Step& step);

  // Performs one step; with `drain`, the worker then runs every queued task.
  void Perform(const Step& step, bool drain);
  // Empty when the window agrees with the mouse and the store, and the mouse holds what the
  // store says for the active profile (unless the tool knows it does not: the mouse is off
  // or owes a change); else what differs.
  std::string Disagreement();
  // Switches the mouse on if it is off and runs one job with no faults.
  void Settle();
  // True when the queue is empty and no change is owed to a reachable mouse.
  bool Settled() const;

 private:
  class FixedClock : public MacroClock {
   public:
    uint32_t NowMs() override { return ++now_; }

   private:
    uint32_t now_ = 1000;
  };

  void Drain();
  // What the window was told that the mouse or the store contradicts; empty when nothing.
  std::string WindowDisagreement();
  void LoadPages();
  void Assign(const Step& step);
  void EditMacro(const Step& step);
  void ChangeDpi(const Step& step);
  void ChangeOption(const Step& step);
  void ChangeLighting(const Step& step);
  void ExchangeFiles(const Step& step);
  void MouseEvent(const Step& step);
  // Ends the session and starts a new one on the same store and mouse.
  void Restart();
  int PickMacro(unsigned r) const;
  // The commands that would put the active profile into the mouse.
  std::vector<CommandReport> ProfileCommands();

  TempHome home_;
  DeviceCatalogue catalogue_;
  SettingsDatabase store_;
  DeviceState state_;
  MemoryKeyValueStore values_;
  std::unique_ptr<ModelContext> model_;
  RecordingDeviceView recorder_;
  std::unique_ptr<WorkerView> view_;
  DeviceManager manager_;
  std::unique_ptr<DeviceJobs> jobs_;
  std::shared_ptr<SimBackend> sim_;
  SimIdentity identity_;
  SimMode mode_;
  // Set when a restart lost a change the mouse had not taken.
  std::string restart_loss_;
  QueuedTasks queue_;
  FixedClock clock_;
  std::unique_ptr<ButtonAssignment> buttons_;
  std::unique_ptr<MacroEditor> macros_;
  std::unique_ptr<DpiStages> dpi_;
  std::unique_ptr<PerformanceOptions> options_;
  std::unique_ptr<LightingModel> lighting_;
  int files_ = 0;
};

}  // namespace corvane::test
