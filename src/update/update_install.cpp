// Update package jobs: names, temporary folder, download, unpacking and the hand-over
// to the installer or to the firmware transfer. Every failure ends the job quietly.

#include "update/update_install.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "base/private_files.h"
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
  if (!CreatePrivateFolders(temp)) return std::nullopt;
  const fs::path package = temp / package_name;
  fs::remove(package, ec);
  return package;
}

// Sets `failure` (when given) and returns false.
bool Fail(std::string* failure, const std::string& text) {
  Trace("update: %s", text.c_str());
  if (failure != nullptr) *failure = text;
  return false;
}

// Downloads `address` into a fresh package file and unpacks it into the temporary folder;
// the package file is removed either way. Returns false with `failure` when the download
// or the unpacking failed. `on_unpack` runs before unpacking.
bool FetchAndUnpack(HttpTransfer& transfer, UpdateView& view, const std::string& address,
                    const fs::path& package, const std::function<void()>& on_unpack,
                    ExtractReport& unpacked, std::string* failure) {
  const int rc = transfer.download(address, package, &view);
  if (rc != 1) return Fail(failure, "download of " + address + " failed: " + transfer.LastError());
  std::error_code ec;
  if (!fs::exists(package, ec)) return Fail(failure, "download of " + address + " left no package");
  if (on_unpack) on_unpack();
  unpacked = ExtractArchive(package, package.parent_path());
  fs::remove(package, ec);
  if (!unpacked.opened) return Fail(failure, "the package is not a readable zip archive");
  if (!unpacked.refused.empty()) return Fail(failure, "the package was refused: " + unpacked.refused);
  return true;
}

// The failure text for a file the package should have held: damaged in the archive (its
// checksum failed, or it was cut short) or missing altogether.
std::string MissingFileText(const ExtractReport& unpacked, const std::string& name) {
  for (const std::string& failed : unpacked.failed) {
    if (fs::path(failed).filename() == name) {
      return "the package's " + name + " is damaged (checksum, size or unpack limit)";
    }
  }
  return "the package holds no " + name;
}

// Reads a firmware image of 1 to kMaxFirmwareImageBytes bytes from a regular file that
// `path` names itself (a symbolic link planted there is refused); nothing otherwise.
std::optional<std::vector<std::uint8_t>> ReadImage(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat seen {};
  std::optional<std::vector<std::uint8_t>> result;
  if (::fstat(fd, &seen) == 0 && S_ISREG(seen.st_mode) && seen.st_size > 0 &&
      static_cast<std::uintmax_t>(seen.st_size) <= kMaxFirmwareImageBytes) {
    std::vector<std::uint8_t> image(static_cast<size_t>(seen.st_size));
    size_t done = 0;
    while (done < image.size()) {
      const ssize_t got = ::read(fd, image.data() + done, image.size() - done);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      done += static_cast<size_t>(got);
    }
    if (done == image.size()) result = std::move(image);
  }
  ::close(fd);
  return result;
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
                           const std::string& new_version, std::string* failure) {
  if (!IsFileNameSafeVersion(new_version)) {
    return Fail(failure, "the version text \"" + new_version + "\" cannot name a file");
  }
  const std::optional<fs::path> package =
      PreparePackagePath(data_folder, SoftwarePackageName(new_version));
  if (!package) return Fail(failure, "cannot create " + UpdateTempFolder(data_folder).string());
  ExtractReport unpacked;
  if (!FetchAndUnpack(transfer, view, SoftwarePackageAddress(upgrade_url, new_version), *package,
                      nullptr, unpacked, failure)) {
    RemoveExtracted(unpacked);
    return false;
  }
  // The Debian package goes to the desktop's package installer (the launcher hands files
  // it cannot run to xdg-open); an installer program named as elsewhere is still started.
  std::error_code ec;
  std::string name = SoftwareDebianPackageName(new_version);
  fs::path installer = package->parent_path() / name;
  if (!fs::is_regular_file(fs::symlink_status(installer, ec))) {
    name = SoftwareInstallerName(new_version);
    installer = package->parent_path() / name;
  }
  if (!fs::is_regular_file(fs::symlink_status(installer, ec))) {
    const std::string text = MissingFileText(unpacked, SoftwareDebianPackageName(new_version));
    RemoveExtracted(unpacked);
    return Fail(failure, text);
  }
  // Only leave when the installer really started; otherwise the user would be left with nothing.
  if (!launcher.Open(installer)) {
    RemoveExtracted(unpacked);
    return Fail(failure, "the installer " + installer.string() + " could not be started");
  }
  launcher.EndProcess();
  return true;
}

bool InstallFirmwareUpdate(HttpTransfer& transfer, UpdateView& view,
                           const FirmwareTransfer& send_firmware, const fs::path& data_folder,
                           const std::string& firmware_url, const std::string& new_version,
                           std::string* failure) {
  view.ShowFirmwareProgress(5, view.LanguageText(kTextDownloadingFirmware));
  if (!IsFileNameSafeVersion(new_version)) {
    return Fail(failure, "the version text \"" + new_version + "\" cannot name a file");
  }
  const std::optional<fs::path> package =
      PreparePackagePath(data_folder, FirmwarePackageName(new_version));
  if (!package) return Fail(failure, "cannot create " + UpdateTempFolder(data_folder).string());
  const auto on_unpack = [&view] {
    view.ShowFirmwareProgress(7, view.LanguageText(kTextPreparingFirmware));
  };
  ExtractReport unpacked;
  if (!FetchAndUnpack(transfer, view, FirmwarePackageAddress(firmware_url, new_version), *package,
                      on_unpack, unpacked, failure)) {
    RemoveExtracted(unpacked);
    return false;
  }
  const std::string image_name = FirmwareImageName(new_version);
  std::optional<std::vector<std::uint8_t>> image = ReadImage(package->parent_path() / image_name);
  // Nothing the unpack wrote is needed once the image is in memory (or missing).
  RemoveExtracted(unpacked);
  if (!image) return Fail(failure, MissingFileText(unpacked, image_name) + " (or it is empty)");
  view.ShowFirmwareProgress(10, view.LanguageText(kTextPreparingFirmware));
  if (!send_firmware || !send_firmware(*image)) {
    return Fail(failure, "the firmware was not transferred");
  }
  view.ShowFirmwareProgress(100, view.LanguageText(kTextFirmwareUpdated));
  return true;
}

}  // namespace corvane
