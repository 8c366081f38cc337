// FirmwareTransfer: the write-or-acknowledge rule and the phases. A transfer that stops
// part-way still gets its end report, and is reported failed.
#include "device/upgrade_transfer.h"

#include <chrono>
#include <thread>

namespace corvane {
namespace {

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

const char* FirmwareResultText(FirmwareResult result) {
  switch (result) {
    case FirmwareResult::kOk: return "firmware transferred";
    case FirmwareResult::kEmptyImage: return "the firmware image is empty";
    case FirmwareResult::kImageTooLarge: return "the firmware image is too large";
    case FirmwareResult::kNoActiveDevice: return "no device is connected";
    case FirmwareResult::kNoUpgradeDevice: return "the device has no upgrade interface";
    case FirmwareResult::kStartFailed: return "the device did not take the start report";
    case FirmwareResult::kTransferAborted: return "the transfer stopped part-way";
    case FirmwareResult::kEndFailed: return "the device did not take the end report";
  }
  return "unknown firmware result";
}

std::string FirmwareFailureText(FirmwareResult result) {
  switch (result) {
    case FirmwareResult::kOk:
      return "";
    case FirmwareResult::kTransferAborted:
    case FirmwareResult::kEndFailed:
      return std::string(FirmwareResultText(result)) +
             "; the mouse did not take the new image and keeps its old firmware intact";
    default:
      return std::string(FirmwareResultText(result)) +
             "; nothing was written, the mouse keeps its old firmware";
  }
}

FirmwareTransfer::FirmwareTransfer(DeviceManager& manager) : manager_(manager) {}
FirmwareTransfer::~FirmwareTransfer() = default;

bool FirmwareTransfer::OpenUpgradeDevice(int vid, int pid) {
  upgrade_.reset();
  std::shared_ptr<HidBackend> backend = manager_.Backend();
  if (!backend) return false;
  for (const HidInterfaceInfo& info : backend->Enumerate()) {
    if (info.vendor_id != vid || info.product_id != pid) continue;
    if (info.usage_page != kUpgradeUsagePage || info.usage != kUpgradeUsage) continue;
    if (info.path.size() > kMaxDevicePathBytes) continue;
    upgrade_ = backend->Open(info.path);
    return upgrade_ != nullptr;
  }
  return false;
}

bool FirmwareTransfer::SendUpgradeReport(const UpgradeReport& report) {
  if (!upgrade_) return false;
  if (upgrade_->Write(report.data(), report.size()) > 0) return true;
  Pause(kUpgradeRetryPauseMs);
  upgrade_->Write(report.data(), report.size());
  Pause(kUpgradeAckPauseMs);
  uint8_t ack[kUpgradeReportSize] = {};
  return upgrade_->ReadTimeout(ack, sizeof ack, kUpgradeAckReadMs) > 0;
}

bool FirmwareTransfer::Transfer(const std::vector<uint8_t>& image, const Progress& progress) {
  const size_t full_reports = image.size() / kUpgradeBytesPerReport;
  size_t offset = 0;
  uint16_t block = 0;
  for (size_t k = 1; k <= full_reports; ++k) {
    if (!SendUpgradeReport(BuildUpgradeDataReport(block, image.data() + offset, kUpgradeBytesPerReport))) {
      return false;
    }
    if (k <= 2) Pause(kUpgradeFirstReportsPauseMs);
    offset += kUpgradeBytesPerReport;
    block = static_cast<uint16_t>(block + kUpgradeBlocksPerReport);
    if (progress) {
      progress(static_cast<int>(kUpgradeProgressSpan * k / full_reports) + kUpgradeProgressStart);
    }
  }
  if (offset < image.size()) {
    return SendUpgradeReport(BuildUpgradeDataReport(block, image.data() + offset, image.size() - offset));
  }
  return true;
}

FirmwareResult FirmwareTransfer::Run(const std::vector<uint8_t>& image, const Progress& progress) {
  if (image.empty()) return FirmwareResult::kEmptyImage;
  if (image.size() > kMaxUpgradeImageBytes) return FirmwareResult::kImageTooLarge;
  int vid = 0, pid = 0;
  if (!manager_.ActiveVidPid(vid, pid)) return FirmwareResult::kNoActiveDevice;
  if (!OpenUpgradeDevice(vid, pid)) return FirmwareResult::kNoUpgradeDevice;
  if (!SendUpgradeReport(BuildUpgradeStartReport())) {
    Close();
    return FirmwareResult::kStartFailed;
  }
  const bool transferred = Transfer(image, progress);
  const bool ended = SendUpgradeReport(BuildUpgradeEndReport());
  Close();
  if (!transferred) return FirmwareResult::kTransferAborted;
  return ended ? FirmwareResult::kOk : FirmwareResult::kEndFailed;
}

void FirmwareTransfer::Close() { upgrade_.reset(); }

}  // namespace corvane
