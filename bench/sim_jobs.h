// The device jobs over the simulated mouse in a scratch home, wired as the window wires
// them (a recording view, the model context, the device manager), for the benchmarks.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/memory_key_value_store.h"
#include "catalogue/device_catalogue.h"
#include "device/device_manager.h"
#include "sim/sim_backend.h"
#include "sim/sim_setup.h"
#include "store/settings_database.h"
#include "worker/device_jobs.h"
#include "worker/model_context.h"
#include "worker/recording_device_view.h"
#include "worker/worker_view.h"

namespace corvane {

struct SimJobsStack {
  // `wrap` may put a backend of the benchmark's own around the simulator.
  using Wrap = std::function<std::shared_ptr<HidBackend>(std::shared_ptr<SimBackend>)>;

  SimJobsStack(const std::string& folder, SimMode mode, const Wrap& wrap = nullptr,
               bool plugged = true)
      : home(std::filesystem::temp_directory_path() / folder) {
    std::filesystem::remove_all(home);
    catalogue.Load(CORVANE_DATA_DIR);
    SimIdentity identity;
    std::string error;
    SimIdentityFromCatalogue(catalogue, "", identity, error);
    sim = std::make_shared<SimBackend>(identity, mode);
    if (!plugged) sim->Unplug(SimLink::kWired);
    values.WriteDeviceType(identity.device_type);
    model = std::make_unique<ModelContext>(CORVANE_DATA_DIR, home, catalogue, store, state,
                                           [] { return std::string("Profile"); });
    view = std::make_unique<WorkerView>(recorder, *model, values);
    manager.SetBackend(wrap ? wrap(sim) : sim);
    jobs = std::make_unique<DeviceJobs>(manager, *model, *view, [](int) { return std::string(); });
  }
  ~SimJobsStack() { std::filesystem::remove_all(home); }

  std::filesystem::path home;
  DeviceCatalogue catalogue;
  std::shared_ptr<SimBackend> sim;
  SettingsDatabase store;
  DeviceState state;
  MemoryKeyValueStore values;
  std::unique_ptr<ModelContext> model;
  RecordingDeviceView recorder;
  std::unique_ptr<WorkerView> view;
  DeviceManager manager;
  std::unique_ptr<DeviceJobs> jobs;
};

}  // namespace corvane
