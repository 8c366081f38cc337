#include "worker/device_session.h"

#include "app/app_folders.h"
#include "app/ini_key_value_store.h"
#include "app/language_selection.h"
#include "app/text_ids.h"
#include "base/text.h"
#include "base/trace.h"
#include "device/capture_backend.h"
#include "device/device_manager.h"
#include "device/hidapi_backend.h"
#include "device/upgrade_transfer.h"
#include "sim/sim_backend.h"
#include "sim/sim_setup.h"
#include "store/settings_database.h"
#include "worker/device_refresh.h"
#include "worker/update_jobs.h"

namespace corvane {
namespace {

// The update service's hand-over: the image goes to the upgrade collection of the active
// device. Returns "" when the whole transfer went through, else what happened.
std::string SendFirmwareImage(const std::vector<uint8_t>& image,
                              const UpdateJobs::UpgradeProgress& progress) {
  FirmwareTransfer transfer(DeviceManager::Instance());
  const FirmwareResult result = transfer.Run(image, progress);
  Trace("firmware update: %s", FirmwareResultText(result));
  return FirmwareFailureText(result);
}

}  // namespace

DeviceSession::DeviceSession() = default;

DeviceSession::~DeviceSession() {
  std::string error;
  if (!Close(error)) Trace("%s", error.c_str());
}

bool DeviceSession::Close(std::string& error) {
  StopWorker();
  worker_.reset();
  KeepOwedTasks();
  DeviceManager::Instance().SetStopSignal(nullptr);
  DeviceManager::Instance().SetBackend(nullptr);
  if (sim_ && !sim_->DetachStateFile(error)) {
    error = "simulator state not saved: " + error;
    return false;
  }
  return true;
}

bool DeviceSession::StopWorker() {
  // A mouse out of reach would otherwise hold the stop for a whole reply wait.
  stopping_.Raise();
  if (updates_) updates_->Cancel();  // a download in progress must not hold up the stop
  return worker_ ? worker_->Stop() : true;
}

void DeviceSession::KeepOwedTasks() {
  if (!values_ || !jobs_ || !model_ || model_->DeviceType() == 0) return;
  const std::string owed = jobs_->OwedText();
  const std::string prefix = IntToDecimal(model_->DeviceType()) + ":";
  if (owed.empty()) {
    // In step: clear this model's debts only; another model's wait for its next session.
    const std::optional<std::string> kept = values_->ReadText(kValueOwedTasks);
    if (kept && kept->rfind(prefix, 0) == 0) values_->WriteText(kValueOwedTasks, "");
    return;
  }
  values_->WriteText(kValueOwedTasks, prefix + owed);
}

void DeviceSession::TakeOwedTasks() {
  const std::optional<std::string> kept = values_->ReadText(kValueOwedTasks);
  if (!kept || kept->empty()) return;
  const size_t colon = kept->find(':');
  int device_type = 0;
  // Before the start-up job the model is the one saved, which that job selects.
  const int model = model_->DeviceType() != 0 ? model_->DeviceType() : values_->ReadDeviceType();
  // Another model's debts stay for that model's next session.
  if (colon == std::string::npos || !ParseExactDecimal(kept->substr(0, colon), device_type) ||
      device_type != model) {
    return;
  }
  jobs_->OweAgain(std::string_view(*kept).substr(colon + 1));
  values_->WriteText(kValueOwedTasks, "");
}

SettingsDatabase& DeviceSession::Store() { return SettingsDatabase::Instance(); }

std::filesystem::path DeviceSession::DataFolder() const {
  return corvane::DataFolder(config_.caption);
}

std::shared_ptr<HidBackend> DeviceSession::BuildBackend(const SessionOptions& options,
                                                        std::string& error) {
  std::shared_ptr<HidBackend> backend;
  if (!options.simulate.empty()) {
    std::unique_ptr<SimBackend> sim = CreateSimBackend(program_folder_, options.simulate,
                                                       options.sim_model, options.sim_state, error);
    if (!sim) return nullptr;
    for (const std::string& fault : options.sim_faults) {
      if (!ApplySimFault(*sim, fault, error)) return nullptr;
    }
    sim_ = std::move(sim);
    backend = sim_;
  } else {
    backend = std::make_shared<HidapiBackend>();
  }
  if (!options.capture.empty()) {
    auto capture = std::make_shared<CaptureBackend>(backend, options.capture);
    if (!capture->Ok()) {
      error = "cannot open capture file " + options.capture;
      return nullptr;
    }
    backend = capture;
  }
  return backend;
}

bool DeviceSession::Open(const SessionOptions& options, DeviceView& view, std::string& error) {
  program_folder_ = ResolveProgramFolder(options.program_dir);
  config_ = ReadApplicationConfig(program_folder_);
  // A failed read leaves the catalogue empty.
  if ((!config_.loaded || !catalogue_.LoadWithUserModels(program_folder_)) &&
      options.require_config) {
    error = "cannot read " + (program_folder_ / kConfigFileName).string();
    return false;
  }
  std::shared_ptr<HidBackend> backend = BuildBackend(options, error);
  if (!backend) return false;

  values_ = std::make_unique<IniKeyValueStore>(IniKeyValueStore::ForCaption(config_.caption));
  texts_ = std::make_unique<LanguageText>(program_folder_);
  texts_->SetLanguageId(SelectStartupLanguage(*values_, config_.languages, SystemLanguageId()));
  CreateFolderPath(DatabaseFolder(config_.caption));

  LanguageText* texts = texts_.get();
  model_ = std::make_unique<ModelContext>(program_folder_, DataFolder(), catalogue_, Store(),
                                          state_, [texts] { return texts->Text(kTextProfile); });
  view_ = std::make_unique<WorkerView>(view, *model_, *values_);
  jobs_ = std::make_unique<DeviceJobs>(DeviceManager::Instance(), *model_, *view_,
                                       [texts](int id) { return texts->Text(id); });
  worker_ = std::make_unique<DeviceWorker>(*jobs_, state_);
  updates_ = std::make_unique<UpdateJobs>(
      view, *model_, DeviceManager::Instance(), catalogue_.Software(), DataFolder(),
      [texts](int id) { return texts->Text(id); }, SendFirmwareImage);
  updates_->Register(*jobs_);
  pointer_backend_ = MakePointerSettings();
  pointer_ = std::make_unique<PointerJob>(*pointer_backend_);
  jobs_->SetExternalJob(WorkerTask::kPointerSettings, [this] { pointer_->Run(); });

  DeviceManager& manager = DeviceManager::Instance();
  manager.SetStopSignal(&stopping_);
  manager.SetBackend(std::move(backend));
  SetKnownDevices(manager, model_->KnownDevices());
  return true;
}

bool DeviceSession::PrepareSelectedModel() {
  bool found = ReenumerateDevices(DeviceManager::Instance(), *view_);
  // Without a device the saved model's settings can still be edited offline.
  if (model_->DeviceType() == 0 && values_->ReadDeviceType() != 0) {
    model_->LoadDefinition(values_->ReadDeviceType());
  }
  TakeOwedTasks();
  model_->EnsureProfiles();
  jobs_->ApplyStoredDeviceInfo();
  jobs_->CacheDpiStages();
  return found;
}

}  // namespace corvane
