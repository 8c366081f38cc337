// Makes capture lines fit for a support bundle: the payloads of macro (0x08) and button
// assignment (0x09) commands, and of whatever the interface answered to them, are withheld,
// since they carry what a person typed or recorded. Everything else is kept as logged.
#pragma once

#include <string>
#include <vector>

namespace corvane {

// Shown in place of a withheld payload.
inline constexpr char kWithheldPayload[] = "<payload withheld>";

// The lines with macro and key payloads withheld: an OUT line of command 0x08 or 0x09
// keeps its first 5 bytes (report id, command, 0, sequence, length); IN lines of that path
// up to its next OUT line keep their first 4, and so do IN lines of a path before its first
// OUT line (a tail cut from a longer capture). Lines not in the capture format are dropped.
std::vector<std::string> RedactCaptureLines(const std::vector<std::string>& lines);

}  // namespace corvane
