// Time from posting a task to its command's write, while the worker sits in its idle
// notification poll against the simulated mouse, and how often the idle worker thread
// wakes (its voluntary context switches) with and without a device. The baseline is a
// plain 100 ms notification read, which would delay a task by up to 100 ms.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "sim_jobs.h"
#include "worker/device_worker.h"
#include "write_stamp.h"

namespace corvane {
namespace {

using Clock = std::chrono::steady_clock;


// The worker over the simulated mouse, as the window runs it, in a scratch home.
struct SimWorkerStack {
  // With `plugged` false the simulated mouse is unplugged before the worker starts.
  SimWorkerStack(SimMode mode, std::shared_ptr<HidBackend> (*wrap)(std::shared_ptr<SimBackend>),
                 bool plugged = true)
      : jobs("corvane-worker-bench", mode, wrap, plugged), state(jobs.state) {
    worker = std::make_unique<DeviceWorker>(*jobs.jobs, state);
    worker->Post(WorkerTask::kStartup);
    worker->Start();
    worker->WaitIdle(std::chrono::seconds(10));
  }
  ~SimWorkerStack() { worker->Stop(); }

  SimJobsStack jobs;
  DeviceState& state;
  std::unique_ptr<DeviceWorker> worker;
};

WriteStampBackend* stamping_backend = nullptr;

std::shared_ptr<HidBackend> WrapStamping(std::shared_ptr<SimBackend> sim) {
  SimFaults faults;
  faults.interrupt_interval = true;
  sim->SetFaults(SimLink::kWired, faults);
  auto stamping = std::make_shared<WriteStampBackend>(
      sim, [](const uint8_t* data, size_t length) { return length > 1 && data[1] == 0x03; },
      false);
  stamping_backend = stamping.get();
  return stamping;
}

void BM_PostToWriteLatency(benchmark::State& bench) {
  SimWorkerStack stack(SimMode::kWired, WrapStamping);
  WriteStampBackend* stamping = stamping_backend;
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
// Voluntary context switches of one thread of this process so far; -1 when unknown.
long long VoluntarySwitches(long thread_id) {
  std::ifstream status("/proc/self/task/" + std::to_string(thread_id) + "/status");
  std::string line;
  const std::string key = "voluntary_ctxt_switches:";
  while (std::getline(status, line)) {
    if (line.rfind(key, 0) == 0) return std::stoll(line.substr(key.size()));
  }
  return -1;
}

constexpr auto kIdleSample = std::chrono::seconds(3);
constexpr auto kSettle = std::chrono::milliseconds(200);

// Wake-ups per second of the idle worker thread over kIdleSample.
double IdleWakeupsPerSecond(const DeviceWorker& worker) {
  std::this_thread::sleep_for(kSettle);  // the worker goes to sleep after its last job
  long long before = VoluntarySwitches(worker.ThreadId());
  auto wall_before = Clock::now();
  std::this_thread::sleep_for(kIdleSample);
  double wall = std::chrono::duration<double>(Clock::now() - wall_before).count();
  return static_cast<double>(VoluntarySwitches(worker.ThreadId()) - before) / wall;
}

// CPU time the process spends while the worker idles with a device plugged in, as a
// share of one core, and how often the worker thread wakes meanwhile.
void BM_IdleCpuWithDevice(benchmark::State& bench) {
  SimWorkerStack stack(SimMode::kBoth, nullptr);
  auto cpu_seconds = [] {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  };
  double percent = 0;
  double wakeups = 0;
  for (auto _ : bench) {
    double cpu_before = cpu_seconds();
    auto wall_before = Clock::now();
    wakeups = IdleWakeupsPerSecond(*stack.worker);
    double wall = std::chrono::duration<double>(Clock::now() - wall_before).count();
    percent = 100.0 * (cpu_seconds() - cpu_before) / wall;
    bench.SetIterationTime(wall);
  }
  bench.counters["cpu_percent_of_core"] = percent;
  bench.counters["wakeups_per_s"] = wakeups;
  bench.counters["idle_poll"] = stack.state.IdlePoll() ? 1 : 0;
}
BENCHMARK(BM_IdleCpuWithDevice)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

// The same with no device at all: the worker should not wake.
void BM_IdleWithoutDevice(benchmark::State& bench) {
  SimWorkerStack stack(SimMode::kWired, nullptr, false);
  double wakeups = 0;
  for (auto _ : bench) {
    auto wall_before = Clock::now();
    wakeups = IdleWakeupsPerSecond(*stack.worker);
    bench.SetIterationTime(std::chrono::duration<double>(Clock::now() - wall_before).count());
  }
  bench.counters["wakeups_per_s_no_device"] = wakeups;
  bench.counters["idle_poll"] = stack.state.IdlePoll() ? 1 : 0;
}
BENCHMARK(BM_IdleWithoutDevice)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK(BM_PostToWriteLatency)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane

BENCHMARK_MAIN();
