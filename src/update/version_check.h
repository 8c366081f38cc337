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
  std::string new_version;        // the server's text, trimmed; empty when none was accepted
  int state = kUpdateNotChecked;  // kUpdateAvailable, kUpdateUpToDate or kUpdateNotChecked
  // The last check got no version (no network, no server, no answer of a version's shape);
  // `state` still holds what an earlier check found.
  bool failed = false;
};

// Software check: asks `upgrade_url` + "version" and compares with `own_version`. Returns the
// resulting state; when no version was obtained, `software.state` is unchanged, `failed` is
// set, the label says that the check failed (text 584) and the check may be run again;
// `failure` (when given) says why ("" when the server answered with a version).
int CheckSoftwareVersion(HttpTransfer& transfer, UpdateView& view, const std::string& own_version,
                         const std::string& upgrade_url, VersionCheckState& software,
                         std::string* failure = nullptr);

// Firmware check: asks `firmware_url` + "/mouse/version" and compares with the mouse's firmware
// version text. Returns the resulting state, unchanged when no version was obtained (then as
// above: `failed` set and the label says so); `failure` as above.
int CheckFirmwareVersion(HttpTransfer& transfer, UpdateView& view,
                         const std::string& mouse_firmware, const std::string& firmware_url,
                         VersionCheckState& firmware, std::string* failure = nullptr);

// Returns `text` without the white space around it: the server's version text is trimmed
// once, where it is read, for every use (a line break would end up in the file names).
std::string TrimVersionText(std::string_view text);

// Returns the shown form of a firmware version: its first character, "." and its last two
// characters ("105" → "1.05"); empty for an empty text.
std::string FirmwareDisplayVersion(std::string_view version);

// The version labels after a check, from the localized texts 582 ("new version"), 580
// ("up to date") and 584 ("check failed"): `failed_word` after a failed check, "<582>: v<new>"
// (software) or "<582>: V<1.05 form>" (firmware) when an update is available, "<580>" when up
// to date, and empty before any check: never "up to date" without an answer saying so.
std::string SoftwareCheckLabel(const VersionCheckState& software, std::string_view new_word,
                               std::string_view up_to_date, std::string_view failed_word);
std::string FirmwareCheckLabel(const VersionCheckState& firmware, std::string_view new_word,
                               std::string_view up_to_date, std::string_view failed_word);

}  // namespace corvane
