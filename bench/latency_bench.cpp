// Time from posting a task to its command's write, while the worker sits in its idle
// notification poll against the simulated mouse. The baseline is a plain 100 ms
// notification read, which would delay a task by up to 100 ms.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include <sys/resource.h>
#include <vector>

#include "app/memory_key_value_store.h"
#include "catalogue/device_catalogue.h"
#include "device/device_manager.h"
#include "protocol/device_jobs.h"
#include "protocol/device_worker.h"
#include "protocol/model_context.h"
#include "protocol/recording_device_view.h"
#include "protocol/worker_view.h"
#include "sim/sim_backend.h"
#include "sim/sim_setup.h"
#include "store/settings_database.h"

namespace corvane {
namespace {

using Clock = std::chrono::steady_clock;

// Notes when a DPI command (0x03) is written.
class StampingHandle : public HidHandle {
 public:
  StampingHandle(std::unique_ptr<HidHandle> inner, std::atomic<long long>* stamp)
      : inner_(std::move(inner)), stamp_(stamp) {}
  int Write(const uint8_t* data, size_t length) override {
    if (length > 1 && data[1] == 0x03) stamp_->store(Clock::now().time_since_epoch().count());
    return inner_->Write(data, length);
  }
  int ReadTimeout(uint8_t* data, size_t length, int timeout_ms) override {
    return inner_->ReadTimeout(data, length, timeout_ms);
  }
  std::u16string ProductString() override { return inner_->ProductString(); }
  const std::string& Path() const override { return inner_->Path(); }

 private:
  std::unique_ptr<HidHandle> inner_;
  std::atomic<long long>* stamp_;
};

class StampingBackend : public HidBackend {
 public:
  explicit StampingBackend(std::shared_ptr<HidBackend> inner) : inner_(std::move(inner)) {}
  std::vector<HidInterfaceInfo> Enumerate() override { return inner_->Enumerate(); }
  std::unique_ptr<HidHandle> Open(const std::string& path) override {
    auto handle = inner_->Open(path);
    if (!handle) return nullptr;
    return std::make_unique<StampingHandle>(std::move(handle), &stamp);
  }
  std::atomic<long long> stamp{0};

 private:
  std::shared_ptr<HidBackend> inner_;
};

// The worker over the simulated mouse, as the window runs it, in a scratch home.
struct SimWorkerStack {
  explicit SimWorkerStack(SimMode mode, std::shared_ptr<HidBackend> (*wrap)(std::shared_ptr<SimBackend>))
      : home(std::filesystem::temp_directory_path() / "corvane-worker-bench") {
    std::filesystem::remove_all(home);
    catalogue.Load(CORVANE_DATA_DIR);
    SimIdentity identity;
    std::string error;
    SimIdentityFromCatalogue(catalogue, "", identity, error);
    sim = std::make_shared<SimBackend>(identity, mode);
    values.WriteDeviceType(identity.device_type);
    model = std::make_unique<ModelContext>(CORVANE_DATA_DIR, home, catalogue, store, state,
                                           [] { return std::string("Profile"); });
    view = std::make_unique<WorkerView>(recorder, *model, values);
    manager.SetBackend(wrap ? wrap(sim) : sim);
    jobs = std::make_unique<DeviceJobs>(manager, *model, *view, [](int) { return std::string(); });
    worker = std::make_unique<DeviceWorker>(*jobs, state);
    worker->Post(WorkerTask::kStartup);
    worker->Start();
    worker->WaitIdle(std::chrono::seconds(10));
  }
  ~SimWorkerStack() {
    worker->Stop();
    std::filesystem::remove_all(home);
  }

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
  std::unique_ptr<DeviceWorker> worker;
};

StampingBackend* stamping_backend = nullptr;

std::shared_ptr<HidBackend> WrapStamping(std::shared_ptr<SimBackend> sim) {
  SimFaults faults;
  faults.interrupt_interval = true;
  sim->SetFaults(SimLink::kWired, faults);
  auto stamping = std::make_shared<StampingBackend>(sim);
  stamping_backend = stamping.get();
  return stamping;
}

void BM_PostToWriteLatency(benchmark::State& bench) {
  SimWorkerStack stack(SimMode::kWired, WrapStamping);
  StampingBackend* stamping = stamping_backend;
  DeviceWorker& worker = *stack.worker;
  std::vector<double> samples;
  for (auto _ : bench) {
    // Let the worker settle into a notification read at a random point of it.
    std::this_thread::sleep_for(std::chrono::milliseconds(37 + samples.size() % 50));
    stamping->stamp = 0;
    auto posted = Clock::now();
    worker.Post(WorkerTask::kDpiStageValues);
    while (stamping->stamp.load() == 0) std::this_thread::sleep_for(std::chrono::microseconds(50));
    double ms = std::chrono::duration<double, std::milli>(
                    Clock::duration(stamping->stamp.load()) - posted.time_since_epoch())
                    .count();
    samples.push_back(ms);
    bench.SetIterationTime(ms / 1000.0);
    worker.WaitIdle(std::chrono::seconds(5));
  }
  std::sort(samples.begin(), samples.end());
  if (!samples.empty()) {
    bench.counters["median_ms"] = samples[samples.size() / 2];
    bench.counters["worst_ms"] = samples.back();
    bench.counters["baseline_ms"] = 100.0;
  }
}
// CPU time the process spends while the worker idles with a device plugged in, as a
// share of one core.
void BM_IdleCpuWithDevice(benchmark::State& bench) {
  SimWorkerStack stack(SimMode::kBoth, nullptr);
  auto cpu_seconds = [] {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  };
  double percent = 0;
  for (auto _ : bench) {
    double cpu_before = cpu_seconds();
    auto wall_before = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(3));
    double wall = std::chrono::duration<double>(Clock::now() - wall_before).count();
    percent = 100.0 * (cpu_seconds() - cpu_before) / wall;
    bench.SetIterationTime(wall);
  }
  bench.counters["cpu_percent_of_core"] = percent;
  bench.counters["idle_poll"] = stack.state.IdlePoll() ? 1 : 0;
}
BENCHMARK(BM_IdleCpuWithDevice)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK(BM_PostToWriteLatency)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane

BENCHMARK_MAIN();
