// UpdateJobs: the update checks and installs as worker jobs, with UpdateView adapted onto
// the front end's DeviceView. Built into corvane_worker, not corvane_update: it needs the
// worker's DeviceJobs and ModelContext, and the worker links corvane_update, so the update
// core stays free of the worker and there is no cycle.
#include "update/update_jobs.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "app/text_ids.h"
#include "base/trace.h"
#include "device/device_entry.h"
#include "device/device_manager.h"
#include "protocol/device_jobs.h"
#include "protocol/device_view.h"
#include "protocol/model_context.h"
#include "protocol/performance_commands.h"
#include "update/linux_installer_launcher.h"
#include "update/update_install.h"
#include "update/update_view.h"

namespace corvane {
namespace {

// Reply bytes of command 0x20 holding the mouse firmware version (high, low).
constexpr size_t kFirmwareVersionHigh = 4;
constexpr size_t kFirmwareVersionLow = 5;
constexpr long long kUpdateMessageLParam = 1;
constexpr long long kProgressMessageWParam = 0;

}  // namespace

// What the update jobs show, passed on to the window's view: the update messages go
// through PostMessage, the firmware pop-up through SetUpgradeProgress.
class UpdateJobs::ViewAdapter : public UpdateView {
 public:
  ViewAdapter(DeviceView& view, const TextSource& text) : view_(view), text_(text) {}

  std::string LanguageText(int id) override { return text_ ? text_(id) : std::string(); }
  void SetSoftwareVersionLabel(const std::string& text) override { view_.SetSoftwareVersionLabel(text); }
  void SetFirmwareVersionLabel(const std::string& text) override { view_.SetFirmwareVersionLabel(text); }
  void EnableSoftwareUpdateButton(bool on) override { view_.EnableSoftwareUpdateButton(on); }
  void EnableFirmwareUpdateButton(bool on) override { view_.EnableFirmwareUpdateButton(on); }
  void PostUpdateAvailable(int kind) override {
    view_.PostMessage(WindowMessage::kUpdateAvailable, kind, kUpdateMessageLParam);
  }
  void PostDownloadProgress(int percent) override {
    view_.PostMessage(WindowMessage::kDownloadProgress, kProgressMessageWParam, percent);
  }
  void ShowFirmwareProgress(int percent, const std::string& text) override {
    if (!hold_firmware_progress_) view_.SetUpgradeProgress(text, percent);
  }
  // While held, the firmware pop-up keeps the progress it shows.
  void HoldFirmwareProgress(bool hold) { hold_firmware_progress_ = hold; }

 private:
  DeviceView& view_;
  const TextSource& text_;
  bool hold_firmware_progress_ = false;
};

UpdateJobs::UpdateJobs(DeviceView& view, ModelContext& model, DeviceManager& manager,
                       SoftwareInfo software, std::filesystem::path data_folder, TextSource text,
                       FirmwareSender send_firmware, std::unique_ptr<InstallerLauncher> launcher)
    : view_(view),
      model_(model),
      manager_(manager),
      software_info_(std::move(software)),
      data_folder_(std::move(data_folder)),
      text_(std::move(text)),
      send_firmware_(std::move(send_firmware)),
      launcher_(launcher ? std::move(launcher) : std::make_unique<LinuxInstallerLauncher>()),
      adapter_(std::make_unique<ViewAdapter>(view_, text_)) {}

UpdateJobs::~UpdateJobs() = default;

void UpdateJobs::Register(DeviceJobs& jobs) {
  jobs.SetExternalJob(WorkerTask::kSoftwareCheck, [this] { CheckSoftware(); });
  jobs.SetExternalJob(WorkerTask::kFirmwareCheck, [this] { CheckFirmware(); });
  jobs.SetExternalJob(WorkerTask::kSoftwareInstall, [this] { InstallSoftware(); });
  jobs.SetExternalJob(WorkerTask::kFirmwareInstall, [this] { InstallFirmware(); });
}

void UpdateJobs::Cancel() {
  cancelled_.store(true);
  transfer_.Cancel();
}

VersionCheckState UpdateJobs::Software() const {
  std::lock_guard lock(mutex_);
  return software_;
}

VersionCheckState UpdateJobs::Firmware() const {
  std::lock_guard lock(mutex_);
  return firmware_;
}

void UpdateJobs::Pause(int ms) const {
  const auto scaled = std::chrono::microseconds(static_cast<long long>(ms * 1000 * pause_scale_));
  if (scaled.count() > 0) std::this_thread::sleep_for(scaled);
}

int UpdateJobs::CheckSoftware() {
  VersionCheckState check = Software();
  // Without an address there is nothing to ask; a relative URL would only fail later.
  if (cancelled_.load() || software_info_.upgrade.empty()) return check.state;
  CheckSoftwareVersion(transfer_, *adapter_, software_info_.version, software_info_.upgrade, check);
  std::lock_guard lock(mutex_);
  software_ = check;
  return software_.state;
}

int UpdateJobs::CheckFirmware() {
  VersionCheckState check = Firmware();
  const std::string url = model_.FirmwareUrl();
  if (cancelled_.load() || url.empty()) return check.state;
  CheckFirmwareVersion(transfer_, *adapter_, MouseFirmwareVersion(), url, check);
  std::lock_guard lock(mutex_);
  firmware_ = check;
  return firmware_.state;
}

bool UpdateJobs::InstallSoftware() {
  const std::string version = Software().new_version;
  if (cancelled_.load() || software_info_.upgrade.empty() || version.empty()) return false;
  return InstallSoftwareUpdate(transfer_, *adapter_, *launcher_, data_folder_,
                               software_info_.upgrade, version);
}

bool UpdateJobs::InstallFirmware() {
  const std::string version = Firmware().new_version;
  const std::string url = model_.FirmwareUrl();
  bool sent = false;
  if (!cancelled_.load() && !url.empty() && !version.empty()) {
    const FirmwareTransfer hand_over = [this, &sent](const std::vector<std::uint8_t>& image) {
      sent = send_firmware_ && send_firmware_(image, [this](int percent) {
        adapter_->ShowFirmwareProgress(percent, adapter_->LanguageText(kTextUpdatingFirmware));
      });
      // A refused or broken transfer must not end on "update complete": the pop-up keeps
      // its last progress until it is closed, as after any other failure of this job.
      adapter_->HoldFirmwareProgress(!sent);
      return sent;
    };
    InstallFirmwareUpdate(transfer_, *adapter_, hand_over, data_folder_, url, version);
    adapter_->HoldFirmwareProgress(false);
  }
  Pause(kFirmwareCloseProgressPauseMs);
  view_.CloseUpgradeProgress();
  Pause(kFirmwareCloseProgressPauseMs);
  return sent;
}

std::string UpdateJobs::MouseFirmwareVersion() {
  DeviceState& state = model_.State();
  std::string version = state.MouseVersion();
  if (!version.empty()) return version;
  // Same sources as the read-back: the wired release number, or command 0x20 through
  // the receiver. Lets a check run before (or without) a read-back.
  const ConnectionMode mode = manager_.ActiveConnectionMode();
  if (mode == ConnectionMode::kWired) {
    int release = 0;
    if (manager_.ReleaseNumberOf(ConnectionMode::kWired, release))
      version = ReleaseVersionText(release);
  } else if (mode == ConnectionMode::kReceiver) {
    CommandReport request = MakeReadRequest(kCmdReadFirmwareVersion);
    if (manager_.SendCommand(request.bytes.data(), static_cast<size_t>(request.length))) {
      version = FirmwareVersionText(request.bytes[kFirmwareVersionHigh], request.bytes[kFirmwareVersionLow]);
    }
  }
  if (version.empty()) {
    Trace("update: no mouse firmware version");
  } else {
    state.SetMouseVersion(version);
  }
  return version;
}

}  // namespace corvane
