// corvane-cli report: a support bundle to paste into a message to us: versions, the
// catalogue with the user's models, every interface probe lists with its report descriptor,
// the udev rule in force and, with --capture, the capture's last lines with macro and key
// payloads withheld. It sends nothing to any device.
#include <sys/utsname.h>

#include <cstdio>
#include <deque>
#include <fstream>
#include <string>
#include <vector>

#include "cli/access_hint.h"
#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "cli/probe_interfaces.h"
#include "device/capture_redaction.h"
#include "device/device_manager.h"
#include "device/hidapi_backend.h"

namespace corvane::cli {
namespace {

constexpr size_t kCaptureTailLines = 50;
constexpr size_t kHexBytesPerLine = 32;
// Where udev looks for a rule file, the first one found being in force.
const char* const kUdevRuleFolders[] = {"/etc/udev/rules.d", "/run/udev/rules.d",
                                        "/usr/local/lib/udev/rules.d", "/usr/lib/udev/rules.d",
                                        "/lib/udev/rules.d"};

void PrintVersions(const CliSession& session) {
  utsname system{};
  const bool named = uname(&system) == 0;
  std::printf("== versions\n%s %s\nhidapi %s\nkernel %s\n", session.Config().caption.c_str(),
              session.Catalogue().Software().version.c_str(),
              HidapiBackend::LibraryVersion().c_str(), named ? system.release : "unknown");
}

void PrintCatalogue(const DeviceCatalogue& catalogue) {
  std::printf("\n== catalogue (user models from %s)\n", UserModelsFolder().string().c_str());
  for (size_t i = 0; i < catalogue.Models().size(); ++i) {
    const CatalogEntry& model = catalogue.Models()[i];
    std::printf("%d %s (%s, %s)\n", model.device_type, model.name.c_str(),
                model.device_attr.c_str(), model.user_folder.empty() ? "shipped" : "user");
    for (const CatalogEntry& mode : catalogue.ModesOf(i)) {
      std::printf(
          "  mode %d %s dev_id \"%s\"\n", ModeNumber(mode.mode),
          IdsText(static_cast<uint16_t>(mode.vendor_id), static_cast<uint16_t>(mode.product_id))
              .c_str(),
          mode.dev_id.c_str());
    }
  }
  for (const std::string& warning : catalogue.Warnings())
    std::printf("warning: %s\n", warning.c_str());
}

void PrintInterfaces(const std::vector<ProbedInterface>& found) {
  std::printf("\n== interfaces\n");
  if (found.empty()) std::printf("(none)\n");
  for (const ProbedInterface& p : found) {
    std::printf("%s %s interface %d collection %04x:%04x release %04X %s %s\n", p.info.path.c_str(),
                IdsText(p.info.vendor_id, p.info.product_id).c_str(), p.info.interface_number,
                p.info.usage_page, p.info.usage, p.info.release_number, p.model.c_str(),
                p.can_open ? "can open" : "cannot open");
    const std::vector<uint8_t> descriptor = HidapiBackend::ReportDescriptor(p.info.path);
    if (descriptor.empty()) std::printf("  report descriptor: not available\n");
    for (size_t at = 0; at < descriptor.size(); at += kHexBytesPerLine) {
      std::printf("  ");
      for (size_t i = at; i < descriptor.size() && i < at + kHexBytesPerLine; ++i) {
        std::printf("%02X", descriptor[i]);
      }
      std::printf("\n");
    }
  }
}

void PrintUdevRule() {
  std::printf("\n== udev rule\n");
  for (const char* folder : kUdevRuleFolders) {
    const std::string file = std::string(folder) + "/" + kUdevRuleFile;
    std::ifstream in(file);
    if (!in) continue;
    std::printf("%s:\n", file.c_str());
    for (std::string line; std::getline(in, line);) std::printf("  %s\n", line.c_str());
    return;
  }
  std::printf("no %s installed\n", kUdevRuleFile);
}

void PrintCaptureTail(const std::string& capture) {
  std::printf("\n== capture %s (last %zu lines)\n", capture.c_str(), kCaptureTailLines);
  std::ifstream in(capture);
  std::deque<std::string> tail;
  for (std::string line; std::getline(in, line);) {
    tail.push_back(line);
    if (tail.size() > kCaptureTailLines) tail.pop_front();
  }
  const std::vector<std::string> lines(tail.begin(), tail.end());
  for (const std::string& line : RedactCaptureLines(lines)) std::printf("%s\n", line.c_str());
}

int RunReport(const CliOptions& options, const std::vector<std::string>& args) {
  if (!args.empty()) return CliFail("report takes no arguments");
  // The capture is read, not written: the report's own enumeration would end up in it.
  CliOptions quiet = options;
  quiet.capture.clear();
  CliSession session;
  std::string error;
  if (!session.Open(quiet, error, false)) return CliFail(error);
  std::shared_ptr<HidBackend> backend = DeviceManager::Instance().Backend();
  if (!backend) return CliFail("no HID back end");
  PrintVersions(session);
  PrintCatalogue(session.Catalogue());
  PrintInterfaces(ProbeInterfaces(*backend, session.Catalogue()));
  PrintUdevRule();
  if (!options.capture.empty()) PrintCaptureTail(options.capture);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

const CliRegistrar kReportCommand("report", "report", RunReport);

}  // namespace
}  // namespace corvane::cli
