// CliSession: back-end choice, catalogue feed and the saved-model selection, with the
// store as the window's DeviceType value so CLI and window agree on the selection.
#include "cli/cli_session.h"

#include <cstdio>

#include "app/app_folders.h"
#include "app/ini_key_value_store.h"
#include "device/capture_backend.h"
#include "device/device_manager.h"
#include "device/hidapi_backend.h"
#include "protocol/device_refresh.h"
#include "sim/sim_setup.h"

namespace corvane::cli {
namespace {

// The recorder, except that the saved model lives in the per-user store.
class StoredSelectionView : public RecordingDeviceView {
 public:
  explicit StoredSelectionView(KeyValueStore& store)
      : RecordingDeviceView(store.ReadDeviceType()), store_(store) {}
  void SetSavedDeviceType(int device_type) override {
    RecordingDeviceView::SetSavedDeviceType(device_type);
    store_.WriteDeviceType(device_type);
  }

 private:
  KeyValueStore& store_;
};

}  // namespace

CliSession::CliSession() = default;

CliSession::~CliSession() {
  // Entries close before the back end goes; the simulator then saves its state.
  DeviceManager::Instance().SetBackend(nullptr);
}

bool CliSession::Open(const CliOptions& options, std::string& error, bool enumerate) {
  program_folder_ = ResolveProgramFolder(options.program_dir);
  config_ = ReadApplicationConfig(program_folder_);
  if (!config_.loaded || !catalogue_.Load(program_folder_)) {
    error = "cannot read " + (program_folder_ / kConfigFileName).string();
    return false;
  }
  std::shared_ptr<HidBackend> backend;
  if (!options.simulate.empty()) {
    std::unique_ptr<SimBackend> sim = CreateSimBackend(program_folder_, options.simulate,
                                                       options.sim_model, options.sim_state, error);
    if (!sim) return false;
    sim_ = std::move(sim);
    backend = sim_;
  } else {
    backend = std::make_shared<HidapiBackend>();
  }
  if (!options.capture.empty()) {
    auto capture = std::make_shared<CaptureBackend>(backend, options.capture);
    if (!capture->Ok()) {
      error = "cannot open capture file " + options.capture;
      return false;
    }
    backend = capture;
  }
  store_ = std::make_unique<IniKeyValueStore>(IniKeyValueStore::ForCaption(config_.caption));
  view_ = std::make_unique<StoredSelectionView>(*store_);

  DeviceManager& manager = DeviceManager::Instance();
  manager.SetBackend(std::move(backend));
  manager.ClearKnownDevices();
  for (const KnownDeviceIds& known : catalogue_.KnownDevices()) {
    manager.AddKnownDevice(known.vendor_id, known.product_id, known.device_type, known.mode,
                           known.dev_id);
  }
  if (enumerate) Enumerate();
  return true;
}

bool CliSession::Enumerate() { return ReenumerateDevices(DeviceManager::Instance(), *view_); }

void WriteEntriesMember(JsonWriter& json, const std::vector<DeviceEntryInfo>& entries) {
  json.Key("entries").BeginArray();
  for (const DeviceEntryInfo& entry : entries) {
    json.BeginObject()
        .IntMember("index", entry.index)
        .IntMember("vid", entry.vendor_id)
        .IntMember("pid", entry.product_id)
        .IntMember("device_type", entry.device_type)
        .IntMember("mode", entry.mode)
        .IntMember("online", entry.online_state)
        .StringMember("dev_id", entry.dev_id)
        .IntMember("release", entry.release_number)
        .EndObject();
  }
  json.EndArray();
}

void PrintEntries(const std::vector<DeviceEntryInfo>& entries) {
  std::printf("interfaces found:\n");
  if (entries.empty()) std::printf("  (none)\n");
  for (const DeviceEntryInfo& entry : entries) {
    std::printf("  %d  %04x:%04x  type %d  %s  %s  dev_id \"%s\"  release %X\n", entry.index,
                entry.vendor_id, entry.product_id, entry.device_type,
                entry.mode == kEntryModeWired ? "wired" : "wireless",
                entry.online_state == kOnline ? "online" : "offline", entry.dev_id.c_str(),
                static_cast<unsigned>(entry.release_number));
  }
}

}  // namespace corvane::cli
