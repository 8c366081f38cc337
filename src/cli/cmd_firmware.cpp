// corvane-cli firmware flash FILE: sends an image to the selected model over its
// upgrade collection, with progress on stderr.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "device/device_manager.h"
#include "device/upgrade_transfer.h"

namespace corvane::cli {
namespace {

// Reads the whole image; false when unreadable or larger than a transfer can number. Reads
// at most one byte past the limit, so a device or a pipe (whose size reads as 0) cannot make
// it read without end.
bool ReadImage(const std::string& path, std::vector<uint8_t>& image, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  image.resize(kMaxUpgradeImageBytes + 1);
  in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
  if (in.bad()) {
    error = "cannot read " + path;
    return false;
  }
  image.resize(static_cast<size_t>(in.gcount()));
  if (image.size() > kMaxUpgradeImageBytes) {
    error = path + " is not a firmware image of at most " + std::to_string(kMaxUpgradeImageBytes) +
            " bytes";
    return false;
  }
  return true;
}

int RunFirmware(const CliOptions& options, const std::vector<std::string>& args) {
  if (args.size() != 2 || args[0] != "flash") return CliFail("usage: firmware flash FILE");
  std::vector<uint8_t> image;
  std::string error;
  if (!ReadImage(args[1], image, error)) return CliFail(error);
  CliSession session;
  if (!session.Open(options, error)) return CliFail(error);
  FirmwareTransfer transfer(DeviceManager::Instance());
  int shown = -1;
  // The transfer reports every block; each percentage is printed once.
  const FirmwareResult result = transfer.Run(image, [&shown](int percent) {
    if (percent <= shown) return;
    std::fprintf(stderr, "firmware: %d%%\n", percent);
    shown = percent;
  });
  // The mouse refused or broke off the transfer: a device failure, as for the other jobs.
  if (result == FirmwareResult::kEmptyImage || result == FirmwareResult::kImageTooLarge) {
    return CliFail(FirmwareResultText(result));
  }
  if (result != FirmwareResult::kOk) {
    CliFail(FirmwareFailureText(result));
    return kExitDeviceFailed;
  }
  if (shown != 100) std::fprintf(stderr, "firmware: 100%%\n");
  std::printf("%s (%zu bytes)\n", FirmwareResultText(result), image.size());
  return 0;
}

const CliRegistrar kFirmwareCommand("firmware", "firmware flash FILE", RunFirmware);

}  // namespace
}  // namespace corvane::cli
