// The whole device stack of one test: the shipped catalogue, a private store, the
// simulated mouse behind a capture file, a device manager of the test's own, and the
// worker's jobs talking to a recording view.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/memory_key_value_store.h"
#include "catalogue/device_catalogue.h"
#include "device/capture_backend.h"
#include "device/device_manager.h"
#include "settings/device_state.h"
#include "sim/sim_backend.h"
#include "sim/sim_setup.h"
#include "store/settings_database.h"
#include "support/temp_home.h"
#include "worker/device_jobs.h"
#include "worker/model_context.h"
#include "worker/recording_device_view.h"
#include "worker/worker_view.h"

namespace corvane::test {

class WorkerSimTest : public ::testing::Test {
 protected:
  // Plugs in the simulator in `mode` with `state` and runs the start-up job.
  void StartSim(SimMode mode, const SimState* state = nullptr) {
    ASSERT_TRUE(catalogue_.Load(ShippedDataDir()));
    SimIdentity identity;
    std::string error;
    ASSERT_TRUE(SimIdentityFromCatalogue(catalogue_, "", identity, error)) << error;
    sim_ = std::make_shared<SimBackend>(identity, mode);
    if (state != nullptr) sim_->SetState(*state);
    capture_path_ = (home_.Root() / "capture.txt").string();
    manager_.SetBackend(std::make_shared<CaptureBackend>(sim_, capture_path_));
    manager_.SetRetryDelay(std::chrono::milliseconds(0));
    jobs_.SetPauseScale(0);
    values_.WriteDeviceType(identity.device_type);
  }

  // Capture lines that start with `tag` ("OUT" or "IN "), in order.
  std::vector<std::string> CaptureLines(const std::string& tag = "OUT") const {
    std::vector<std::string> lines;
    std::string text = ReadFileBytes(capture_path_);
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      if (line.rfind(tag, 0) == 0) lines.push_back(line);
      start = end + 1;
    }
    return lines;
  }
  // The hex field of a capture line.
  static std::string Hex(const std::string& line) { return line.substr(line.rfind(' ') + 1); }

  std::string Get(const char* key) {
    return store_.GetConfigValue(store_.GetActiveProfile(), key).value_or("?");
  }
  void Set(const std::string& key, const std::string& value) {
    store_.SetConfigValue(store_.GetActiveProfile(), key, value);
  }

  TempHome home_;
  DeviceCatalogue catalogue_;
  SettingsDatabase store_;
  DeviceState state_;
  MemoryKeyValueStore values_;
  ModelContext model_{ShippedDataDir(), home_.DataHome() / "Corvane Files", catalogue_, store_,
                      state_, [] { return std::string("Profile"); }};
  RecordingDeviceView recorder_;
  WorkerView view_{recorder_, model_, values_};
  DeviceManager manager_;
  DeviceJobs jobs_{manager_, model_, view_, [](int id) { return "T" + std::to_string(id); }};
  std::shared_ptr<SimBackend> sim_;
  std::string capture_path_;
};

}  // namespace corvane::test
