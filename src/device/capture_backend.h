// A HidBackend decorator that logs every transfer of the back end it wraps, one
// line per transfer, flushed at once so a crash or unplug loses nothing:
//   OUT <path> <length> <HEX>   and   IN  <path> <length> <HEX>
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace corvane {

class CaptureBackend : public HidBackend {
 public:
  // Appends to `file_path`; Ok() tells whether it could be opened.
  CaptureBackend(std::shared_ptr<HidBackend> inner, const std::string& file_path);
  ~CaptureBackend() override;
  CaptureBackend(const CaptureBackend&) = delete;
  CaptureBackend& operator=(const CaptureBackend&) = delete;

  // Whether the capture file is open for appending.
  bool Ok() const;

  // The wrapped back end's interfaces, unchanged.
  std::vector<HidInterfaceInfo> Enumerate() override;
  // The wrapped back end's handle wrapped in a logging handle; null when it fails.
  std::unique_ptr<HidHandle> Open(const std::string& path) override;

  // One capture line without its newline: tag "OUT" or "IN ", path, length, hex.
  static std::string FormatLine(const char* tag, const std::string& path, const uint8_t* data,
                                size_t length);

  // The capture file shared with every handle, so a handle may outlive the backend.
  struct Sink;

 private:
  std::shared_ptr<HidBackend> inner_;
  std::shared_ptr<Sink> sink_;
};

}  // namespace corvane
