// Redaction of capture lines; see capture_redaction.h.
#include "device/capture_redaction.h"

#include <map>
#include <sstream>

namespace corvane {
namespace {

constexpr size_t kKeptOutBytes = 5;
constexpr size_t kKeptInBytes = 4;
constexpr char kMacroCommand[] = "08";
constexpr char kButtonCommand[] = "09";

struct CaptureLine {
  std::string tag;
  std::string path;
  std::string length;
  std::string hex;
};

bool Split(const std::string& line, CaptureLine& out) {
  std::istringstream in(line);
  std::string rest;
  if (!(in >> out.tag >> out.path >> out.length >> out.hex) || (in >> rest)) return false;
  return (out.tag == "OUT" || out.tag == "IN") && out.hex.size() % 2 == 0;
}

std::string Withheld(const CaptureLine& line, size_t kept_bytes) {
  const std::string kept = line.hex.substr(0, std::min(line.hex.size(), kept_bytes * 2));
  // Tags are padded to three characters, as CaptureBackend writes them.
  return (line.tag == "IN" ? "IN " : line.tag) + " " + line.path + " " + line.length + " " + kept +
         (line.hex.size() > kept.size() ? kWithheldPayload : "");
}

}  // namespace

std::vector<std::string> RedactCaptureLines(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  std::map<std::string, bool> secret_replies;  // per path: replies to a withheld command
  for (const std::string& text : lines) {
    CaptureLine line;
    if (!Split(text, line)) continue;
    if (line.tag == "OUT") {
      // Byte 0 is the report id; the command follows it.
      const std::string command = line.hex.size() >= 4 ? line.hex.substr(2, 2) : "";
      const bool secret = line.hex.compare(0, 2, "00") == 0 &&
                          (command == kMacroCommand || command == kButtonCommand);
      secret_replies[line.path] = secret;
      out.push_back(secret ? Withheld(line, kKeptOutBytes) : text);
    } else {
      // Before any OUT line of its path, which command an IN line answers is unknown.
      const auto it = secret_replies.find(line.path);
      const bool secret = it == secret_replies.end() || it->second;
      out.push_back(secret ? Withheld(line, kKeptInBytes) : text);
    }
  }
  return out;
}

}  // namespace corvane
