// CaptureBackend: logs writes as passed in and reads as returned (time-outs and
// errors carry no bytes and are not logged).
#include "device/capture_backend.h"

#include <cstdio>
#include <mutex>

namespace corvane {

struct CaptureBackend::Sink {
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, FileCloser> file;
  std::mutex mutex;

  // Appends one line and flushes it. Safe from several threads.
  void Log(const char* tag, const std::string& path, const uint8_t* data, size_t length) {
    if (!file) return;
    const std::string line = CaptureBackend::FormatLine(tag, path, data, length) + "\n";
    std::lock_guard lock(mutex);
    std::fwrite(line.data(), 1, line.size(), file.get());
    std::fflush(file.get());
  }
};

namespace {

class CaptureHandle : public HidHandle {
 public:
  CaptureHandle(std::unique_ptr<HidHandle> inner, std::shared_ptr<CaptureBackend::Sink> log)
      : inner_(std::move(inner)), log_(std::move(log)) {}

  int Write(const uint8_t* data, size_t length) override {
    if (data != nullptr) log_->Log("OUT", inner_->Path(), data, length);
    return inner_->Write(data, length);
  }

  int ReadTimeout(uint8_t* data, size_t length, int timeout_ms) override {
    const int read = inner_->ReadTimeout(data, length, timeout_ms);
    if (read > 0) log_->Log("IN ", inner_->Path(), data, static_cast<size_t>(read));
    return read;
  }

  int ReadOrWake(uint8_t* data, size_t length, int timeout_ms, ReadWake& wake) override {
    const int read = inner_->ReadOrWake(data, length, timeout_ms, wake);
    if (read > 0) log_->Log("IN ", inner_->Path(), data, static_cast<size_t>(read));
    return read;
  }

  std::u16string ProductString() override { return inner_->ProductString(); }
  const std::string& Path() const override { return inner_->Path(); }

 private:
  std::unique_ptr<HidHandle> inner_;
  std::shared_ptr<CaptureBackend::Sink> log_;
};

}  // namespace

CaptureBackend::CaptureBackend(std::shared_ptr<HidBackend> inner, const std::string& file_path)
    : inner_(std::move(inner)), sink_(std::make_shared<Sink>()) {
  sink_->file.reset(std::fopen(file_path.c_str(), "ab"));
}

bool CaptureBackend::Ok() const { return sink_->file != nullptr; }

CaptureBackend::~CaptureBackend() = default;

std::vector<HidInterfaceInfo> CaptureBackend::Enumerate() { return inner_->Enumerate(); }

std::unique_ptr<HidHandle> CaptureBackend::Open(const std::string& path) {
  std::unique_ptr<HidHandle> handle = inner_->Open(path);
  if (!handle) return nullptr;
  return std::make_unique<CaptureHandle>(std::move(handle), sink_);
}

std::string CaptureBackend::FormatLine(const char* tag, const std::string& path,
                                       const uint8_t* data, size_t length) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string line = tag;
  line += ' ';
  line += path;
  line += ' ';
  line += std::to_string(length);
  line += ' ';
  line.reserve(line.size() + 2 * length);
  for (size_t i = 0; i < length; ++i) {
    line += kHex[data[i] >> 4];
    line += kHex[data[i] & 0x0F];
  }
  return line;
}

}  // namespace corvane
