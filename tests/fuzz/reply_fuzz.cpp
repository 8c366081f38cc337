// libFuzzer target: arbitrary bytes as everything a mouse sends back. The input is cut into
// 33-byte reports that answer, in turn, the read-back commands of the start-up job, the
// lighting read-back, and then arrive unasked as notifications; the device information that
// enumeration asks for carries the input's first bytes as sensor, rate and battery values.
// Transaction, read-back decoders and notification handling all see hostile reports.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/memory_key_value_store.h"
#include "catalogue/device_catalogue.h"
#include "device/device_manager.h"
#include "device/fake_hid_backend.h"
#include "fuzz_scratch.h"
#include "protocol/command_ids.h"
#include "protocol/command_report.h"
#include "worker/device_jobs.h"
#include "worker/model_context.h"
#include "worker/recording_device_view.h"
#include "worker/worker_view.h"
#include "settings/device_state.h"
#include "store/settings_database.h"

namespace corvane {
namespace {

constexpr size_t kReportBytes = 33;
constexpr int kNotificationReads = 4;

// The unread rest of the current input.
struct Script {
  const uint8_t* data = nullptr;
  size_t size = 0;

  std::vector<uint8_t> Next() {
    const size_t n = std::min(size, kReportBytes);
    std::vector<uint8_t> report(data, data + n);
    data += n;
    size -= n;
    return report;
  }
};

Script script;

struct Stack {
  Stack() {
    fuzz::ScratchFolder();
    catalogue.Load(CORVANE_DATA_DIR);
    const CatalogEntry& mode = catalogue.Interfaces().front();
    device_type = mode.device_type;
    dev_id = mode.dev_id;
    backend = std::make_shared<test::FakeHidBackend>();
    test::FakeInterface& iface =
        backend->Add("fuzz/if2", static_cast<uint16_t>(mode.vendor_id),
                     static_cast<uint16_t>(mode.product_id), kConfigUsagePageB, kConfigUsageB);
    config = &iface;
    iface.respond = [this](const std::vector<uint8_t>& request) {
      std::vector<std::vector<uint8_t>> replies;
      if (request.size() > 1 && request[kReportCommandByte] == Byte(CommandId::kDeviceInfo)) {
        std::vector<uint8_t> info = test::DeviceInfoReply(dev_id);
        for (size_t i = 0; i < 4; ++i) info[10 + i] = info_bytes[i];
        replies.push_back(info);
      } else if (script.size > 0) {
        replies.push_back(script.Next());
      }
      return replies;
    };
    manager.SetBackend(backend);
    manager.SetRetryDelay(std::chrono::milliseconds(0));
    jobs.SetPauseScale(0);
    values.WriteDeviceType(device_type);
  }

  DeviceCatalogue catalogue;
  SettingsDatabase store;
  DeviceState state;
  MemoryKeyValueStore values;
  ModelContext model{CORVANE_DATA_DIR, fuzz::ScratchFolder() / "data", catalogue, store, state, [] {
                       return std::string("Profile");
                     }};
  RecordingDeviceView recorder;
  WorkerView view{recorder, model, values};
  DeviceManager manager;
  DeviceJobs jobs{manager, model, view, [](int id) { return std::to_string(id); }};
  std::shared_ptr<test::FakeHidBackend> backend;
  test::FakeInterface* config = nullptr;
  int device_type = 0;
  std::string dev_id;
  uint8_t info_bytes[4] = {1, 0x40, 80, 1};
};

}  // namespace
}  // namespace corvane

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace corvane;
  static Stack* stack = new Stack;  // never destroyed: the worker's objects outlive the run
  for (size_t i = 0; i < 4; ++i) stack->info_bytes[i] = i < size ? data[i] : 0;
  script = Script{data, size};
  stack->config->replies.clear();
  stack->config->writes.clear();
  stack->state.ForgetReads();
  stack->recorder.ClearCalls();
  stack->jobs.Run(WorkerTask::kStartup);
  stack->jobs.Run(WorkerTask::kLightingReadback);
  for (int i = 0; i < kNotificationReads && script.size > 0; ++i) {
    std::vector<uint8_t> report = script.Next();
    report.resize(kNotificationSize, 0);
    stack->config->replies.push_back(report);
    stack->jobs.PollNotification();
  }
  return 0;
}
