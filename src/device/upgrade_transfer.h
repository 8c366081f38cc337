// Moves a firmware image to the mouse or receiver over its upgrade collection: opens the
// collection, writes the start, data and end reports (protocol/firmware_transfer.h) and
// reports how it went. Where the image comes from (download, file) is not this file's business.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/device_manager.h"
#include "device/hid_backend.h"
#include "protocol/firmware_transfer.h"

namespace corvane {

inline constexpr int kUpgradeRetryPauseMs = 3;
inline constexpr int kUpgradeAckPauseMs = 5;
inline constexpr int kUpgradeAckReadMs = 1000;
inline constexpr int kUpgradeFirstReportsPauseMs = 10;
inline constexpr int kUpgradeProgressStart = 10;
inline constexpr int kUpgradeProgressSpan = 90;

enum class FirmwareResult {
  kOk,
  kEmptyImage,
  kImageTooLarge,
  kNoActiveDevice,
  kNoUpgradeDevice,
  kStartFailed,
  kTransferAborted,
  kEndFailed,
};

// A short English description of a result, for logs and the CLI.
const char* FirmwareResultText(FirmwareResult result);
// What a user is told after a failed transfer: the result and that the mouse keeps its old
// firmware (the image is only applied after the end report); "" for kOk.
std::string FirmwareFailureText(FirmwareResult result);

class FirmwareTransfer {
 public:
  // Called after each full data report with the percentage reached (10..100).
  using Progress = std::function<void(int percent)>;

  explicit FirmwareTransfer(DeviceManager& manager);
  ~FirmwareTransfer();
  FirmwareTransfer(const FirmwareTransfer&) = delete;
  FirmwareTransfer& operator=(const FirmwareTransfer&) = delete;

  // Opens the first interface with these ids and the upgrade collection as the
  // upgrade interface. Returns false when there is none.
  bool OpenUpgradeDevice(int vid, int pid);
  // Writes one 64-byte report; on a failed write retries once and waits up to 1 s for
  // an acknowledgement. Returns whether the report counts as sent.
  bool SendUpgradeReport(const UpgradeReport& report);
  // The data phase alone. Returns false when a report could not be sent.
  bool Transfer(const std::vector<uint8_t>& image, const Progress& progress);
  // The whole update for the active device: open, start, data, end, close.
  FirmwareResult Run(const std::vector<uint8_t>& image, const Progress& progress);
  // Closes the upgrade interface.
  void Close();

 private:
  DeviceManager& manager_;
  std::unique_ptr<HidHandle> upgrade_;
};

}  // namespace corvane
