// Update package jobs: names, temporary folder, download, unpacking and the hand-over
// to the installer or to the firmware transfer. Every failure ends the job quietly.

#include "update/update_install.h"

#include <fstream>
#include <optional>

#include "base/trace.h"
#include "update/http_transfer.h"
#include "update/installer_launcher.h"
#include "update/update_view.h"
#include "update/zip_extract.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

// Creates the temporary folder and removes an earlier package. Returns the package path,
// or nothing when the folder cannot be made.
std::optional<fs::path> PreparePackagePath(const fs::path& data_folder,
                                           const std::string& package_name) {
  const fs::path temp = UpdateTempFolder(data_folder);
  std::error_code ec;
  fs::create_directories(temp, ec);
  if (!fs::is_directory(temp)) return std::nullopt;
  const fs::path package = temp / package_name;
  fs::remove(package, ec);
  return package;
}

// Downloads `address` into a fresh package file and unpacks it into the temporary folder.
// Returns false when the download did not complete. `on_unpack` runs before unpacking.
bool FetchAndUnpack(HttpTransfer& transfer, UpdateView& view, const std::string& address,
                    const fs::path& package, const std::function<void()>& on_unpack) {
  const int rc = transfer.download(address, package, &view);
  if (rc != 1) {
    Trace("update download ended with %d", rc);
    return false;
  }
  std::error_code ec;
  if (!fs::exists(package, ec)) return false;
  if (on_unpack) on_unpack();
  if (extract(package, package.parent_path())) fs::remove(package, ec);
  return true;
}

// Reads a firmware image of 1 to kMaxFirmwareImageBytes bytes; nothing otherwise.
std::optional<std::vector<std::uint8_t>> ReadImage(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec || size == 0 || size > kMaxFirmwareImageBytes) return std::nullopt;
  std::vector<std::uint8_t> image(static_cast<size_t>(size));
  std::ifstream in(path, std::ios::binary);
  in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(size));
  if (!in || static_cast<std::uintmax_t>(in.gcount()) != size) return std::nullopt;
  return image;
}

}  // namespace

fs::path UpdateTempFolder(const fs::path& data_folder) { return data_folder / "temp"; }

std::string SoftwarePackageName(const std::string& version) {
  return "Mouse-Setup-" + version + ".zip";
}

std::string SoftwareInstallerName(const std::string& version) {
  return "Mouse-Setup-" + version + ".exe";
}

std::string SoftwareDebianPackageName(const std::string& version) {
  return "Mouse-Setup-" + version + ".deb";
}

std::string SoftwarePackageAddress(const std::string& upgrade_url, const std::string& version) {
  return upgrade_url + "//" + SoftwarePackageName(version);
}

std::string FirmwarePackageName(const std::string& version) {
  return "firmware-" + version + ".zip";
}

std::string FirmwareImageName(const std::string& version) { return "firmware-" + version + ".bin"; }

std::string FirmwarePackageAddress(const std::string& firmware_url, const std::string& version) {
  return firmware_url + "//mouse//" + FirmwarePackageName(version);
}

bool IsFileNameSafeVersion(std::string_view version) {
  return !version.empty() &&
         version.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

bool InstallSoftwareUpdate(HttpTransfer& transfer, UpdateView& view, InstallerLauncher& launcher,
                           const fs::path& data_folder, const std::string& upgrade_url,
                           const std::string& new_version) {
  if (!IsFileNameSafeVersion(new_version)) return false;
  const std::optional<fs::path> package =
      PreparePackagePath(data_folder, SoftwarePackageName(new_version));
  if (!package) return false;
  if (!FetchAndUnpack(transfer, view, SoftwarePackageAddress(upgrade_url, new_version), *package,
                      nullptr)) {
    return false;
  }
  // The Debian package goes to the desktop's package installer (the launcher hands files
  // it cannot run to xdg-open); an installer program named as elsewhere is still started.
  std::error_code ec;
  fs::path installer = package->parent_path() / SoftwareDebianPackageName(new_version);
  if (!fs::is_regular_file(installer, ec)) {
    installer = package->parent_path() / SoftwareInstallerName(new_version);
  }
  if (!fs::is_regular_file(installer, ec)) return false;
  // Only leave when the installer really started; otherwise the user would be left with nothing.
  if (!launcher.Open(installer)) return false;
  launcher.EndProcess();
  return true;
}

bool InstallFirmwareUpdate(HttpTransfer& transfer, UpdateView& view,
                           const FirmwareTransfer& send_firmware, const fs::path& data_folder,
                           const std::string& firmware_url, const std::string& new_version) {
  view.ShowFirmwareProgress(5, view.LanguageText(kTextDownloadingFirmware));
  if (!IsFileNameSafeVersion(new_version)) return false;
  const std::optional<fs::path> package =
      PreparePackagePath(data_folder, FirmwarePackageName(new_version));
  if (!package) return false;
  const auto on_unpack = [&view] {
    view.ShowFirmwareProgress(7, view.LanguageText(kTextPreparingFirmware));
  };
  if (!FetchAndUnpack(transfer, view, FirmwarePackageAddress(firmware_url, new_version), *package,
                      on_unpack)) {
    return false;
  }
  const fs::path image_path = package->parent_path() / FirmwareImageName(new_version);
  std::optional<std::vector<std::uint8_t>> image = ReadImage(image_path);
  if (!image) return false;
  view.ShowFirmwareProgress(10, view.LanguageText(kTextPreparingFirmware));
  if (!send_firmware || !send_firmware(*image)) Trace("firmware transfer did not start");
  std::error_code ec;
  fs::remove(image_path, ec);
  view.ShowFirmwareProgress(100, view.LanguageText(kTextFirmwareUpdated));
  return true;
}

}  // namespace corvane
