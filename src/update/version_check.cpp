// Version checks: fetch, length filter, compare, then labels, buttons and the update-available
// message.

#include "update/version_check.h"

#include "base/text.h"
#include "update/http_transfer.h"
#include "update/update_view.h"
#include "update/version_compare.h"

namespace corvane {
namespace {

// Returns the fetched text when it has 1 to `max_chars` characters, otherwise empty.
std::string FetchVersion(HttpTransfer& transfer, const std::string& url, size_t max_chars) {
  FetchResult result = transfer.fetch(url);
  if (result.code != 1) return {};
  const size_t chars = Utf8ToUtf16(result.text).size();
  if (chars < 1 || chars > max_chars) return {};
  return result.text;
}

}  // namespace

std::string FirmwareDisplayVersion(std::string_view version) {
  const std::u16string wide = Utf8ToUtf16(version);
  if (wide.empty()) return {};
  const std::u16string tail = wide.size() >= 2 ? wide.substr(wide.size() - 2) : wide;
  return Utf16ToUtf8(wide.substr(0, 1)) + "." + Utf16ToUtf8(tail);
}

int CheckSoftwareVersion(HttpTransfer& transfer, UpdateView& view, const std::string& own_version,
                         const std::string& upgrade_url, VersionCheckState& software) {
  software.new_version = FetchVersion(transfer, upgrade_url + "version", kMaxSoftwareVersionChars);
  if (software.new_version.empty() || own_version.empty()) return software.state;
  if (compare(own_version, software.new_version) >= 1) {
    software.state = kUpdateAvailable;
    view.EnableSoftwareUpdateButton(true);
    view.SetSoftwareVersionLabel(view.LanguageText(kTextNewVersion) + ": v" + software.new_version);
    view.PostUpdateAvailable(kSoftwareUpdateKind);
  } else {
    software.state = kUpdateUpToDate;
    view.SetSoftwareVersionLabel(view.LanguageText(kTextUpToDate));
    view.EnableSoftwareUpdateButton(false);
  }
  return software.state;
}

int CheckFirmwareVersion(HttpTransfer& transfer, UpdateView& view,
                         const std::string& mouse_firmware, const std::string& firmware_url,
                         VersionCheckState& firmware) {
  firmware.new_version =
      FetchVersion(transfer, firmware_url + "/mouse/version", kMaxFirmwareVersionChars);
  if (firmware.new_version.empty() || mouse_firmware.empty()) return firmware.state;
  if (compare(mouse_firmware, firmware.new_version) >= 1) {
    firmware.state = kUpdateAvailable;
    view.SetFirmwareVersionLabel(view.LanguageText(kTextNewVersion) + ": V" +
                                 FirmwareDisplayVersion(firmware.new_version));
    view.EnableFirmwareUpdateButton(true);
    view.PostUpdateAvailable(kFirmwareUpdateKind);
  } else {
    firmware.state = kUpdateUpToDate;
    view.SetFirmwareVersionLabel(view.LanguageText(kTextUpToDate));
    view.EnableFirmwareUpdateButton(false);
  }
  return firmware.state;
}

}  // namespace corvane
