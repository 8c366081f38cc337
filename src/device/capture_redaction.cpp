// Redaction of capture lines; see capture_redaction.h.
#include "device/capture_redaction.h"

#include <map>
#include <sstream>

#include "protocol/command_report.h"

namespace corvane {
namespace {

// A request keeps its header up to the payload, a reply its bytes before the data.
constexpr size_t kKeptOutBytes = kReportPayloadByte;
constexpr size_t kKeptInBytes = kReplyDataByte;
constexpr size_t kHexDigits = 2;

// Two upper-case hexadecimal digits, as capture lines write a byte.
std::string HexByte(uint8_t byte) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

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
  const std::string kept = line.hex.substr(0, std::min(line.hex.size(), kept_bytes * kHexDigits));
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
      const size_t command_at = kReportCommandByte * kHexDigits;
      const std::string command = line.hex.size() >= command_at + kHexDigits
                                      ? line.hex.substr(command_at, kHexDigits)
                                      : "";
      const bool secret = line.hex.compare(kReportIdByte * kHexDigits, kHexDigits,
                                           HexByte(kCommandReportId)) == 0 &&
                          (command == HexByte(Byte(CommandId::kMacro)) ||
                           command == HexByte(Byte(CommandId::kButtons)));
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
