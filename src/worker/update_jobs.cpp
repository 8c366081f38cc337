// UpdateJobs: the update checks and installs as worker jobs, with UpdateView adapted onto
// the front end's DeviceView. Built into corvane_worker, not corvane_update: it needs the
// worker's DeviceJobs and ModelContext, and the worker links corvane_update, so the update
// core stays free of the worker and there is no cycle.
#include "worker/update_jobs.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "app/text_ids.h"
#include "base/trace.h"
#include "device/device_entry.h"
#include "device/device_manager.h"
#include "protocol/performance_commands.h"
#include "update/linux_installer_launcher.h"
#include "update/update_install.h"
#include "update/update_view.h"
#include "worker/device_jobs.h"
#include "worker/device_view.h"
#include "worker/model_context.h"

namespace corvane {
namespace {

constexpr long long kUpdateMessageSecond = 1;
constexpr long long kProgressMessageFirst = 0;

}  // namespace

// What the update jobs show, passed on to the window's view: the update messages go
// through Post, the firmware pop-up through SetUpgradeProgress.
class UpdateJobs::ViewAdapter : public UpdateView {
 public:
  ViewAdapter(UpdatePromptView& view, const TextSource& text) : view_(view), text_(text) {}

  std::string LanguageText(int id) override { return text_ ? text_(id) : std::string(); }
  void SetSoftwareVersionLabel(const std::string& text) override {
    view_.SetSoftwareVersionLabel(text);
  }
  void SetFirmwareVersionLabel(const std::string& text) override {
    view_.SetFirmwareVersionLabel(text);
  }
  void EnableSoftwareUpdateButton(bool on) override { view_.EnableSoftwareUpdateButton(on); }
  void EnableFirmwareUpdateButton(bool on) override { view_.EnableFirmwareUpdateButton(on); }
  void PostUpdateAvailable(int kind) override {
    view_.Post(WindowMessage::kUpdateAvailable, kind, kUpdateMessageSecond);
  }
  void PostDownloadProgress(int percent) override {
    view_.Post(WindowMessage::kDownloadProgress, kProgressMessageFirst, percent);
  }
  void ShowFirmwareProgress(int percent, const std::string& text) override {
    if (!hold_firmware_progress_) view_.SetUpgradeProgress(text, percent);
  }
  // While held, the firmware pop-up keeps the progress it shows.
  void HoldFirmwareProgress(bool hold) { hold_firmware_progress_ = hold; }

 private:
  UpdatePromptView& view_;
  const TextSource& text_;
  bool hold_firmware_progress_ = false;
};

UpdateJobs::UpdateJobs(UpdatePromptView& view, ModelContext& model, DeviceManager& manager,
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

std::optional<UpdateJobs::Failure> UpdateJobs::TakeFailure() {
  std::lock_guard lock(mutex_);
  std::optional<Failure> failure = std::move(failure_);
  failure_.reset();
  return failure;
}

void UpdateJobs::RecordFailure(std::string text, bool device) {
  Trace("update job: %s", text.c_str());
  std::lock_guard lock(mutex_);
  if (!failure_) failure_ = Failure{std::move(text), device};
}

int UpdateJobs::CheckSoftware() {
  VersionCheckState check = Software();
  // Without an address there is nothing to ask; a relative URL would only fail later.
  if (cancelled_.load() || software_info_.upgrade.empty()) return check.state;
  std::string failure;
  CheckSoftwareVersion(transfer_, *adapter_, software_info_.version, software_info_.upgrade, check,
                       &failure);
  if (!failure.empty()) RecordFailure("software version check failed: " + failure);
  std::lock_guard lock(mutex_);
  software_ = check;
  return software_.state;
}

int UpdateJobs::CheckFirmware() {
  VersionCheckState check;
  {
    // The last check's version is forgotten first: it may belong to another model.
    std::lock_guard lock(mutex_);
    firmware_.new_version.clear();
    check = firmware_;
  }
  const std::string url = model_.FirmwareUrl();
  if (cancelled_.load() || url.empty()) return check.state;
  std::string failure;
  CheckFirmwareVersion(transfer_, *adapter_, KnownMouseFirmwareVersion(), url, check, &failure);
  if (!failure.empty()) RecordFailure("firmware version check failed: " + failure);
  std::lock_guard lock(mutex_);
  firmware_ = check;
  return firmware_.state;
}

bool UpdateJobs::InstallSoftware() {
  const std::string version = Software().new_version;
  if (cancelled_.load()) return false;
  if (software_info_.upgrade.empty() || version.empty()) {
    RecordFailure("software install: no newer version is known (run the software check first)");
    return false;
  }
  std::string failure;
  if (InstallSoftwareUpdate(transfer_, *adapter_, *launcher_, data_folder_, software_info_.upgrade,
                            version, &failure)) {
    return true;
  }
  RecordFailure("software install failed: " + failure);
  return false;
}

bool UpdateJobs::InstallFirmware() {
  const std::string version = Firmware().new_version;
  const std::string url = model_.FirmwareUrl();
  bool sent = false;
  std::string device_failure;
  if (cancelled_.load()) {
    // Shutting down: nothing to report.
  } else if (url.empty() || version.empty()) {
    RecordFailure("firmware install: no newer firmware is known (run the firmware check first)");
  } else {
    const FirmwareTransfer hand_over = [this, &sent,
                                        &device_failure](const std::vector<std::uint8_t>& image) {
      device_failure = send_firmware_ ? send_firmware_(image, [this](int percent) {
        adapter_->ShowFirmwareProgress(percent, adapter_->LanguageText(kTextUpdatingFirmware));
      })
                                      : "no firmware transfer is available";
      sent = device_failure.empty();
      // A refused or broken transfer must not end on "update complete": the pop-up keeps
      // its last progress until it is closed, as after any other failure of this job.
      adapter_->HoldFirmwareProgress(!sent);
      return sent;
    };
    std::string failure;
    InstallFirmwareUpdate(transfer_, *adapter_, hand_over, data_folder_, url, version, &failure);
    adapter_->HoldFirmwareProgress(false);
    if (!device_failure.empty()) {
      RecordFailure("firmware install failed: " + device_failure, true);
    } else if (!sent) {
      RecordFailure("firmware install failed: " + failure);
    }
  }
  Pause(kFirmwareCloseProgressPauseMs);
  view_.CloseUpgradeProgress();
  Pause(kFirmwareCloseProgressPauseMs);
  return sent;
}

std::string UpdateJobs::KnownMouseFirmwareVersion() const {
  std::string version = model_.State().MouseVersion();
  // The wired release number is known from the enumeration; it costs no traffic.
  int release = 0;
  if (version.empty() && manager_.ActiveConnectionMode() == ConnectionMode::kWired &&
      manager_.ReleaseNumberOf(ConnectionMode::kWired, release)) {
    version = ReleaseVersionText(release);
  }
  return version;
}

std::string UpdateJobs::MouseFirmwareVersion() {
  DeviceState& state = model_.State();
  std::string version = KnownMouseFirmwareVersion();
  if (!version.empty()) {
    state.SetMouseVersion(version);
    return version;
  }
  // Command 0x20 through the receiver, as the read-back asks it.
  if (manager_.ActiveConnectionMode() == ConnectionMode::kReceiver) {
    CommandReport request = MakeReadRequest(CommandId::kReadFirmwareVersion);
    if (manager_.SendCommand(request.bytes.data(), static_cast<size_t>(request.length))) {
      version = FirmwareVersionText(request.bytes[kFirmwareVersionHighByte],
                                    request.bytes[kFirmwareVersionLowByte]);
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
