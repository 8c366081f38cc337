// The software and firmware version checks of the worker: ask the
// update server for its version text, compare, update labels and buttons, offer the update.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

class HttpTransfer;
class UpdateView;

// Longest answer (in UTF-16 units, as the labels count) taken as a version.
inline constexpr std::size_t kMaxSoftwareVersionChars = 10;
inline constexpr std::size_t kMaxFirmwareVersionChars = 9;

// Update states kept for the window and reported by the CLI.
inline constexpr int kUpdateNotChecked = 0;
inline constexpr int kUpdateAvailable = 1;
inline constexpr int kUpdateUpToDate = 2;

// Result of one kind of check; owned by whoever runs the checks (the main window).
struct VersionCheckState {
  std::string new_version;        // the server's text, verbatim; empty when none was accepted
  int state = kUpdateNotChecked;  // kUpdateAvailable, kUpdateUpToDate or kUpdateNotChecked
};

// Software check: asks `upgrade_url` + "version" and compares with `own_version`. Returns the
// resulting state; when no version was obtained, `software.state` and the view are unchanged.
int CheckSoftwareVersion(HttpTransfer& transfer, UpdateView& view, const std::string& own_version,
                         const std::string& upgrade_url, VersionCheckState& software);

// Firmware check: asks `firmware_url` + "/mouse/version" and compares with the mouse's firmware
// version text. Returns the resulting state, unchanged when no version was obtained.
int CheckFirmwareVersion(HttpTransfer& transfer, UpdateView& view,
                         const std::string& mouse_firmware, const std::string& firmware_url,
                         VersionCheckState& firmware);

// Returns the shown form of a firmware version: its first character, "." and its last two
// characters ("105" → "1.05"); empty for an empty text.
std::string FirmwareDisplayVersion(std::string_view version);

}  // namespace corvane
