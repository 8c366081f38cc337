// The worker's update jobs bound to one session: the software and firmware
// version checks, the software install (package and installer) and the firmware install
// (package handed to the mouse). Owns the HTTP transfer and the check results and shows everything
// through the front end's DeviceView; the update logic itself lives in version_check and
// update_install.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalog_entry.h"
#include "update/http_transfer.h"
#include "update/installer_launcher.h"
#include "update/version_check.h"

namespace corvane {

class DeviceJobs;
class DeviceManager;
class UpdatePromptView;
class ModelContext;

// Pause before and after closing the firmware progress pop-up at the end of the firmware install.
inline constexpr int kFirmwareCloseProgressPauseMs = 100;

class UpdateJobs {
 public:
  using TextSource = std::function<std::string(int text_id)>;
  // Receives the percentage the device-side transfer reached (10..100).
  using UpgradeProgress = std::function<void(int percent)>;
  // Moves an image to the active device's upgrade collection, reporting progress.
  // Returns "" when the whole image and the end report were sent, else what went wrong.
  using FirmwareSender = std::function<std::string(const std::vector<std::uint8_t>& image,
                                                   const UpgradeProgress& progress)>;

  // Why the last update job failed: the reason in words, and whether the mouse was at fault
  // (a device failure, exit status 3 on the command line) rather than the download.
  struct Failure {
    std::string text;
    bool device = false;
  };

  // `view` gets labels, buttons, the update messages and the firmware progress; `model`
  // gives the firmware address and the mouse version; `manager` is asked for the mouse
  // version when no read-back has set it. `launcher` null: LinuxInstallerLauncher.
  UpdateJobs(UpdatePromptView& view, ModelContext& model, DeviceManager& manager,
             SoftwareInfo software, std::filesystem::path data_folder, TextSource text,
             FirmwareSender send_firmware, std::unique_ptr<InstallerLauncher> launcher = nullptr);
  ~UpdateJobs();
  UpdateJobs(const UpdateJobs&) = delete;
  UpdateJobs& operator=(const UpdateJobs&) = delete;

  // Registers the version checks and installs with `jobs`; this object must outlive `jobs`' use.
  void Register(DeviceJobs& jobs);

  // WorkerTask::kSoftwareCheck. Returns the software state afterwards (unchanged when no version
  // was had).
  int CheckSoftware();
  // WorkerTask::kFirmwareCheck. Forgets the last new firmware version, then compares the server's with the
  // mouse version already known (read back, or the wired release number); sends nothing to
  // the mouse. Returns the firmware state afterwards (unchanged when no version was had).
  int CheckFirmware();
  // WorkerTask::kSoftwareInstall. Returns true when the installer was started (the launcher then
  // ends the process).
  bool InstallSoftware();
  // WorkerTask::kFirmwareInstall, including the closing of the progress pop-up. Returns true when
  // the image reached the device; only then does the pop-up show the update as complete.
  bool InstallFirmware();

  // Stops a running download or version fetch; later jobs run as usual (a cancel button).
  void StopTransfer() { transfer_.Cancel(); }
  // Stops a running download and makes later jobs return at once (session shutdown).
  void Cancel();

  // The failure of the update jobs run since the last call (the first one), or nothing
  // when they all did their work. Front ends that report failures (the command line) ask.
  std::optional<Failure> TakeFailure();

  // Copies of the last check results; safe from any thread.
  VersionCheckState Software() const;
  VersionCheckState Firmware() const;
  // The tool's own version, from config.xml.
  const std::string& OwnVersion() const { return software_info_.version; }
  // The mouse firmware version text: the one known without traffic, else asked of the
  // mouse through the receiver (command 0x20), and remembered. Empty when there is no
  // device or it does not answer. For front ends that show or check the version without
  // a read-back (the command line).
  std::string MouseFirmwareVersion();

  // Test knob: scales the pauses of the firmware install (0 = none).
  void SetPauseScale(double scale) { pause_scale_ = scale; }

 private:
  class ViewAdapter;

  void Pause(int ms) const;
  // The version read back, else the wired release number; empty otherwise.
  std::string KnownMouseFirmwareVersion() const;

  UpdatePromptView& view_;
  ModelContext& model_;
  DeviceManager& manager_;
  const SoftwareInfo software_info_;
  const std::filesystem::path data_folder_;
  TextSource text_;
  FirmwareSender send_firmware_;
  std::unique_ptr<InstallerLauncher> launcher_;
  std::unique_ptr<ViewAdapter> adapter_;
  HttpTransfer transfer_;
  std::atomic<bool> cancelled_{false};
  double pause_scale_ = 1.0;

  // Remembers the first failure until TakeFailure.
  void RecordFailure(std::string text, bool device = false);

  mutable std::mutex mutex_;  // guards the two check results and the failure
  VersionCheckState software_;
  VersionCheckState firmware_;
  std::optional<Failure> failure_;
};

}  // namespace corvane
