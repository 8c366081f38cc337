// Profiles that follow the focused application: the delay from a focus change to the
// first byte of the profile upload written to the simulated mouse (less the 300 ms
// debounce, which is intended), and how often the follow threads wake while nothing
// changes — with X11 (needs $DISPLAY; run under Xvfb with a window manager), with the
// process fallback, and with no link at all (no thread should even exist).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "focus/follow_service.h"
#include "focus/process_focus_source.h"
#include "focus/x11_focus_source.h"
#include "sim_jobs.h"
#include "write_stamp.h"

namespace corvane {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kIdleSample = std::chrono::seconds(3);


// The jobs over the simulated wired mouse in a scratch home, run on the caller's thread
// as corvane-cli runs them, with the time of the first write after a clear noted.
struct SimJobs {
  SimJobs()
      : stack("corvane-follow-bench", SimMode::kWired, [this](std::shared_ptr<SimBackend> sim) {
          SimFaults faults;
          faults.interrupt_interval = true;  // the 1 ms interrupt interval of a real mouse
          sim->SetFaults(SimLink::kWired, faults);
          backend = std::make_shared<WriteStampBackend>(
              sim, [](const uint8_t*, size_t) { return true; }, true);
          return backend;
        }),
        store(stack.store),
        jobs(stack.jobs) {
    jobs->Run(WorkerTask::kStartup);
  }

  std::shared_ptr<WriteStampBackend> backend;
  SimJobsStack stack;
  SettingsDatabase& store;
  std::unique_ptr<DeviceJobs>& jobs;
};

void BM_FocusToFirstByte(benchmark::State& bench) {
  SimJobs sim;
  ScriptedFocusSource* scripted = nullptr;
  std::atomic<int> uploads{0};
  FollowService service(
      {[&] { return sim.store.GetActiveProfile(); },
       [&](int profile) {
         sim.store.SetActiveProfile(profile);
         sim.jobs->Run(WorkerTask::kUploadProfile);
         ++uploads;
         return FollowService::SwitchOutcome::kDone;
       }},
      [&] {
        std::vector<std::unique_ptr<FocusSource>> sources;
        auto source = std::make_unique<ScriptedFocusSource>();
        scripted = source.get();
        sources.push_back(std::move(source));
        return sources;
      });
  service.Update({{"game", 2}}, 1);
  std::vector<double> samples;
  for (auto _ : bench) {
    const int before = uploads;
    sim.backend->stamp = 0;
    const auto focused = Clock::now();
    scripted->Focus(samples.size() % 2 == 0 ? "game" : "desktop");
    while (uploads == before) std::this_thread::sleep_for(std::chrono::microseconds(200));
    const double ms = std::chrono::duration<double, std::milli>(
                          Clock::duration(sim.backend->stamp.load()) - focused.time_since_epoch())
                          .count();
    samples.push_back(ms - SwitchRules::kDebounce.count());
    bench.SetIterationTime(ms / 1000.0);
  }
  std::sort(samples.begin(), samples.end());
  bench.counters["after_debounce_median_ms"] = samples[samples.size() / 2];
  bench.counters["after_debounce_worst_ms"] = samples.back();
  bench.counters["goal_ms"] = 50;
}
BENCHMARK(BM_FocusToFirstByte)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

int ThreadCount() {
  int count = 0;
  for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    ++count;
  }
  return count;
}

// Wake-ups per second of the follow threads while the focus does not change.
void MeasureIdle(benchmark::State& bench, FollowService::SourceFactory factory) {
  FollowService service({[] { return 1; },
                         [](int) { return FollowService::SwitchOutcome::kDone; }},
                        std::move(factory));
  const int threads_before = ThreadCount();
  service.Update({}, 1);
  bench.counters["threads_without_links"] = ThreadCount() - threads_before;
  service.Update({{"some-game", 2}}, 1);
  if (!service.Running()) {
    bench.SkipWithError("the focus source cannot start here (no X server?)");
    return;
  }
  bench.counters["threads_with_links"] = ThreadCount() - threads_before;
  double rate = 0;
  for (auto _ : bench) {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // start-up reports settle
    const long before = service.Wakeups();
    const auto start = Clock::now();
    std::this_thread::sleep_for(kIdleSample);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    rate = static_cast<double>(service.Wakeups() - before) / seconds;
    bench.SetIterationTime(seconds);
  }
  bench.counters["wakeups_per_s"] = rate;
}

void BM_IdleWakeupsX11(benchmark::State& bench) {
  MeasureIdle(bench, [] {
    std::vector<std::unique_ptr<FocusSource>> sources;
    sources.push_back(std::make_unique<X11FocusSource>());
    return sources;
  });
}
BENCHMARK(BM_IdleWakeupsX11)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

void BM_IdleWakeupsProcessFallback(benchmark::State& bench) {
  MeasureIdle(bench, [] {
    std::vector<std::unique_ptr<FocusSource>> sources;
    sources.push_back(std::make_unique<ProcessFocusSource>());
    return sources;
  });
}
BENCHMARK(BM_IdleWakeupsProcessFallback)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace corvane
BENCHMARK_MAIN();
