// FirmwareTransfer: report building, the write-or-acknowledge rule and the phases.
// A transfer that stops part-way still gets its end report, and is reported failed.
#include "protocol/firmware_transfer.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace corvane {
namespace {

constexpr uint8_t kUpgradeCommand = 0x02;
constexpr size_t kPayloadOffset = 4;
constexpr uint8_t kStartLength = 0x02;
constexpr uint8_t kStartCode = 0x01;
constexpr uint8_t kEndLength = 0x06;
constexpr uint8_t kEndCode = 0x02;
constexpr uint8_t kFill = 0xFF;

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

UpgradeReport BlankReport(uint8_t payload_length) {
  UpgradeReport report;
  report.fill(kFill);
  report[0] = kUpgradeReportId;
  report[1] = kUpgradeCommand;
  report[2] = payload_length;
  report[3] = 0x00;
  return report;
}

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

uint16_t UpgradeCrc16(const uint8_t* data, size_t length) {
  uint16_t crc = 0xFFFF;
  for (size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  return crc;
}

UpgradeReport BuildUpgradeStartReport() {
  UpgradeReport report = BlankReport(kStartLength);
  report[kPayloadOffset] = kStartCode;
  report[kPayloadOffset + 1] = kFill;
  return report;
}

UpgradeReport BuildUpgradeEndReport() {
  UpgradeReport report = BlankReport(kEndLength);
  report[kPayloadOffset] = kEndCode;
  report[kPayloadOffset + 1] = kFill;
  return report;
}

UpgradeReport BuildUpgradeDataReport(uint16_t first_block, const uint8_t* data, size_t length) {
  length = std::min(length, kUpgradeBytesPerReport);
  const size_t blocks = (length + kUpgradeBlockData - 1) / kUpgradeBlockData;
  UpgradeReport report = BlankReport(static_cast<uint8_t>(blocks * kUpgradeBlockSize));
  for (size_t b = 0; b < blocks; ++b) {
    uint8_t* block = report.data() + kPayloadOffset + b * kUpgradeBlockSize;
    const auto index = static_cast<uint16_t>(first_block + b);
    block[0] = static_cast<uint8_t>(index & 0xFF);
    block[1] = static_cast<uint8_t>(index >> 8);
    const size_t offset = b * kUpgradeBlockData;
    const size_t take = std::min(kUpgradeBlockData, length - offset);
    std::fill(block + 2, block + 2 + kUpgradeBlockData, kFill);
    std::copy(data + offset, data + offset + take, block + 2);
    const uint16_t crc = UpgradeCrc16(block, kUpgradeBlockSize - 2);
    block[18] = static_cast<uint8_t>(crc & 0xFF);
    block[19] = static_cast<uint8_t>(crc >> 8);
  }
  return report;
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
