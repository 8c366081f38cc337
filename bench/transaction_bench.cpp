// Commands per second through SendCommand against the simulator, with and without
// its 1 ms interrupt interval, next to the bound of one write plus one read interval
// per command (counters: commands_per_s, bound_per_s, ratio = commands / bound).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>

#include "device/command_transaction.h"
#include "device/device_manager.h"
#include "sim/sim_backend.h"

namespace corvane {
namespace {

// One USB full-speed interrupt interval for the write and one for the reply.
constexpr double kIntervalSeconds = 0.001;
constexpr double kBoundCommandsPerSecond = 1.0 / (2 * kIntervalSeconds);
// The simulator paces only its input reports, so its own limit is one interval.
constexpr double kSimBoundCommandsPerSecond = 1.0 / kIntervalSeconds;

SimIdentity BenchIdentity() {
  SimIdentity id;
  id.device_type = 11;
  id.product_name = "Bench Mouse";
  id.wired = {0x1209, 0x0001, "KP11"};
  id.receiver = {0x1209, 0x0002, "KP11"};
  return id;
}

void SendCommands(benchmark::State& state) {
  auto sim = std::make_shared<SimBackend>(BenchIdentity(), SimMode::kWired);
  SimFaults faults;
  faults.interrupt_interval = state.range(0) != 0;
  sim->SetFaults(SimLink::kWired, faults);
  DeviceManager manager;
  manager.SetBackend(sim);
  manager.AddKnownDevice(0x1209, 0x0001, 11, ConnectionMode::kWired, "KP11");
  manager.EnumerateDevice();
  manager.SetOpened(true);
  manager.SelectDeviceType(11);
  if (manager.ActiveDevice() == nullptr) {
    state.SkipWithError("simulated mouse not found");
    return;
  }
  uint8_t buffer[kReportBufferSize];
  int failures = 0;
  for (auto _ : state) {
    std::memset(buffer, 0, sizeof buffer);
    buffer[1] = 0x12;  // read the report rate
    if (!manager.SendCommand(buffer, kShortReportLength)) ++failures;
    benchmark::DoNotOptimize(buffer);
  }
  state.counters["commands_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                        benchmark::Counter::kIsRate);
  state.counters["bound_per_s"] = kBoundCommandsPerSecond;
  state.counters["sim_bound_per_s"] = kSimBoundCommandsPerSecond;
  state.counters["ratio"] = benchmark::Counter(static_cast<double>(state.iterations()) / kBoundCommandsPerSecond,
                                               benchmark::Counter::kIsRate);
  state.counters["failures"] = failures;
  manager.SetBackend(nullptr);
}

BENCHMARK(SendCommands)->Arg(0)->Arg(1)->ArgName("interrupt_interval")->UseRealTime()
    ->Unit(benchmark::kMicrosecond)->MinTime(1.0);

}  // namespace
}  // namespace corvane

BENCHMARK_MAIN();
