// The download-and-install jobs of the worker: the software install (package → installer)
// and the firmware install (firmware package → image handed to the device-side transfer).
// Package names and addresses are built verbatim from the server's version texts.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class HttpTransfer;
class InstallerLauncher;
class UpdateView;

// Hands a firmware image to the active device over its upgrade interface (open, start,
// data, end). Returns true when the whole image and the end report went through.
using FirmwareTransfer = std::function<bool(const std::vector<std::uint8_t>& image)>;

// Largest firmware image read into memory; far beyond any mouse's flash.
inline constexpr std::uintmax_t kMaxFirmwareImageBytes = 16ull * 1024 * 1024;

// Returns the folder downloads go to: `data_folder`/temp.
std::filesystem::path UpdateTempFolder(const std::filesystem::path& data_folder);

// Returns "Mouse-Setup-<version>.zip" / "Mouse-Setup-<version>.exe".
std::string SoftwarePackageName(const std::string& version);
std::string SoftwareInstallerName(const std::string& version);
// Returns "Mouse-Setup-<version>.deb": the Linux package the software package may carry.
std::string SoftwareDebianPackageName(const std::string& version);
// Returns "<upgrade_url>//Mouse-Setup-<version>.zip".
std::string SoftwarePackageAddress(const std::string& upgrade_url, const std::string& version);

// Returns "firmware-<version>.zip" / "firmware-<version>.bin".
std::string FirmwarePackageName(const std::string& version);
std::string FirmwareImageName(const std::string& version);
// Returns "<firmware_url>//mouse//firmware-<version>.zip".
std::string FirmwarePackageAddress(const std::string& firmware_url, const std::string& version);

// Returns true when `version` can be part of a file name: not empty, no path separator, no NUL.
bool IsFileNameSafeVersion(std::string_view version);

// Software install: downloads the software package into the temporary folder (progress to `view`),
// unpacks it and, when it holds the installer, starts it and ends the process through
// `launcher`. Returns true when the installer was started; false with the reason in
// `failure` (when given). Whatever the unpack wrote is removed unless the installer took it.
bool InstallSoftwareUpdate(HttpTransfer& transfer, UpdateView& view, InstallerLauncher& launcher,
                           const std::filesystem::path& data_folder, const std::string& upgrade_url,
                           const std::string& new_version, std::string* failure = nullptr);

// Firmware install: downloads and unpacks the firmware package, reads its non-empty image
// (never through a symbolic link), removes everything the unpack wrote, hands the image to
// `send_firmware` and shows progress 100 with text 593 on the firmware pop-up. Returns true
// when the device took the image; false with the reason in `failure` (when given).
bool InstallFirmwareUpdate(HttpTransfer& transfer, UpdateView& view,
                           const FirmwareTransfer& send_firmware,
                           const std::filesystem::path& data_folder,
                           const std::string& firmware_url, const std::string& new_version,
                           std::string* failure = nullptr);

}  // namespace corvane
