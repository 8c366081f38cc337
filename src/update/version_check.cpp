// Version checks: fetch, length filter, compare, then labels, buttons and the update-available
// message.

#include "update/version_check.h"

#include <string>

#include "base/text.h"
#include "update/http_transfer.h"
#include "update/update_view.h"
#include "update/version_compare.h"

namespace corvane {
namespace {

// Returns the fetched text, trimmed of surrounding white space (a server's "1.0.1\n"),
// when it then has 1 to `max_chars` characters and is a version; otherwise empty, with
// the reason in `failure`. Every later use (compare, labels, file names) takes it as is.
std::string FetchVersion(HttpTransfer& transfer, const std::string& url, size_t max_chars,
                         std::string& failure) {
  FetchResult result = transfer.fetch(url);
  if (result.code != 1) {
    failure = url + ": " + transfer.LastError();
    return {};
  }
  const std::string text = TrimVersionText(result.text);
  const size_t chars = Utf8ToUtf16(text).size();
  if (chars < 1 || chars > max_chars || !IsVersionText(text)) {
    failure = url + " did not answer with a version of at most " + std::to_string(max_chars) +
              " characters";
    return {};
  }
  return text;
}

}  // namespace

std::string TrimVersionText(std::string_view text) {
  constexpr std::string_view kSpace = " \t\r\n\v\f";
  const size_t first = text.find_first_not_of(kSpace);
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(kSpace);
  return std::string(text.substr(first, last - first + 1));
}

std::string FirmwareDisplayVersion(std::string_view version) {
  const std::u16string wide = Utf8ToUtf16(version);
  if (wide.empty()) return {};
  const std::u16string tail = wide.size() >= 2 ? wide.substr(wide.size() - 2) : wide;
  return Utf16ToUtf8(wide.substr(0, 1)) + "." + Utf16ToUtf8(tail);
}

std::string SoftwareCheckLabel(const VersionCheckState& software, std::string_view new_word,
                               std::string_view up_to_date, std::string_view failed_word) {
  if (software.failed) return std::string(failed_word);
  if (software.state == kUpdateUpToDate) return std::string(up_to_date);
  if (software.state != kUpdateAvailable) return {};
  return std::string(new_word) + ": v" + software.new_version;
}

std::string FirmwareCheckLabel(const VersionCheckState& firmware, std::string_view new_word,
                               std::string_view up_to_date, std::string_view failed_word) {
  if (firmware.failed) return std::string(failed_word);
  if (firmware.state == kUpdateUpToDate) return std::string(up_to_date);
  if (firmware.state != kUpdateAvailable) return {};
  return std::string(new_word) + ": V" + FirmwareDisplayVersion(firmware.new_version);
}

int CheckSoftwareVersion(HttpTransfer& transfer, UpdateView& view, const std::string& own_version,
                         const std::string& upgrade_url, VersionCheckState& software,
                         std::string* failure) {
  std::string reason;
  software.new_version =
      FetchVersion(transfer, upgrade_url + "version", kMaxSoftwareVersionChars, reason);
  if (failure != nullptr) *failure = reason;
  software.failed = software.new_version.empty();
  if (software.failed) {
    // Said as such, and the check can be run again: silence would leave an earlier
    // "up to date" standing for an answer that never came.
    view.SetSoftwareVersionLabel(view.LanguageText(kTextUpdateCheckFailed));
    view.EnableSoftwareUpdateButton(true);
    return software.state;
  }
  if (own_version.empty()) return software.state;
  if (compare(own_version, software.new_version) >= 1) {
    software.state = kUpdateAvailable;
    view.EnableSoftwareUpdateButton(true);
    view.SetSoftwareVersionLabel(
        SoftwareCheckLabel(software, view.LanguageText(kTextNewVersion), {}, {}));
    view.PostUpdateAvailable(kSoftwareUpdateKind);
  } else {
    software.state = kUpdateUpToDate;
    view.SetSoftwareVersionLabel(
        SoftwareCheckLabel(software, {}, view.LanguageText(kTextUpToDate), {}));
    view.EnableSoftwareUpdateButton(false);
  }
  return software.state;
}

int CheckFirmwareVersion(HttpTransfer& transfer, UpdateView& view,
                         const std::string& mouse_firmware, const std::string& firmware_url,
                         VersionCheckState& firmware, std::string* failure) {
  std::string reason;
  firmware.new_version =
      FetchVersion(transfer, firmware_url + "/mouse/version", kMaxFirmwareVersionChars, reason);
  if (failure != nullptr) *failure = reason;
  firmware.failed = firmware.new_version.empty();
  if (firmware.failed) {
    view.SetFirmwareVersionLabel(view.LanguageText(kTextUpdateCheckFailed));
    return firmware.state;
  }
  if (mouse_firmware.empty()) return firmware.state;
  if (compare(mouse_firmware, firmware.new_version) >= 1) {
    firmware.state = kUpdateAvailable;
    view.SetFirmwareVersionLabel(
        FirmwareCheckLabel(firmware, view.LanguageText(kTextNewVersion), {}, {}));
    view.EnableFirmwareUpdateButton(true);
    view.PostUpdateAvailable(kFirmwareUpdateKind);
  } else {
    firmware.state = kUpdateUpToDate;
    view.SetFirmwareVersionLabel(
        FirmwareCheckLabel(firmware, {}, view.LanguageText(kTextUpToDate), {}));
    view.EnableFirmwareUpdateButton(false);
  }
  return firmware.state;
}

}  // namespace corvane
