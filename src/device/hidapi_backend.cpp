// hidapi calls for enumeration, open, write and product string; reads of hidraw nodes wait
// on a descriptor of our own (see FdReportReader). The
// report descriptor is read from sysfs to list each node's top-level collections and
// to learn how long an output report is: hidraw hands a write to the device as it is,
// so a short command would reach the mouse as a short report.
#include "device/hidapi_backend.h"

#include <fcntl.h>
#include <hidapi/hidapi.h>

#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

#include "base/text.h"
#include "base/trace.h"
#include "device/fd_report_reader.h"
#include "device/report_descriptor.h"
#include "protocol/command_report.h"

namespace corvane {
namespace {

// hidapi's product string buffer, in wide characters.
constexpr size_t kProductStringChars = 512;
// Report descriptors are at most 4096 bytes (HID_MAX_DESCRIPTOR_SIZE).
constexpr size_t kMaxDescriptorBytes = 4096;
constexpr char kDevPrefix[] = "/dev/";
// The largest report written in one piece: the long command report (report id plus 64 data bytes).
constexpr size_t kMaxReportBytes = kReportBufferSize;

struct HidDeviceCloser {
  void operator()(hid_device* device) const { hid_close(device); }
};
using HidDevicePtr = std::unique_ptr<hid_device, HidDeviceCloser>;

struct EnumerationFreer {
  void operator()(hid_device_info* list) const { hid_free_enumeration(list); }
};
using EnumerationPtr = std::unique_ptr<hid_device_info, EnumerationFreer>;

// The node's report descriptor from sysfs; empty when it cannot be read.
std::vector<uint8_t> ReadDescriptor(const std::string& path) {
  const std::string descriptor_path = HidapiBackend::ReportDescriptorPath(path);
  if (descriptor_path.empty()) return {};
  std::ifstream in(descriptor_path, std::ios::binary);
  if (!in) return {};
  std::vector<uint8_t> bytes;
  bytes.reserve(kMaxDescriptorBytes);
  std::istreambuf_iterator<char> it(in), end;
  for (; it != end && bytes.size() < kMaxDescriptorBytes; ++it) bytes.push_back(static_cast<uint8_t>(*it));
  return bytes;
}

// A second descriptor on the node for reading: hidraw hands every input report to each
// open file, and a descriptor of our own can be waited on together with a wake signal,
// which hidapi's timed read cannot. Nodes that are not hidraw ones read through hidapi.
std::unique_ptr<FdReportReader> OpenReader(const std::string& path) {
  if (path.rfind(std::string(kDevPrefix) + "hidraw", 0) != 0) return nullptr;
  auto reader =
      std::make_unique<FdReportReader>(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!reader->Valid()) {
    Trace("%s: reading through hidapi", path.c_str());
    return nullptr;
  }
  return reader;
}

class HidapiHandle : public HidHandle {
 public:
  HidapiHandle(HidDevicePtr device, std::string path, std::vector<uint8_t> descriptor)
      : device_(std::move(device)),
        path_(std::move(path)),
        descriptor_(std::move(descriptor)),
        reader_(OpenReader(path_)) {}

  int Write(const uint8_t* data, size_t length) override {
    if (data == nullptr || length == 0) return -1;
    // Report id byte plus the report's data bytes, when the descriptor knows the report.
    const size_t whole = 1 + OutputReportBytes(descriptor_.data(), descriptor_.size(), data[0]);
    int written = 0;
    if (whole > 1 && length < whole && whole <= kMaxReportBytes) {
      std::array<uint8_t, kMaxReportBytes> padded{};
      std::memcpy(padded.data(), data, length);
      written = hid_write(device_.get(), padded.data(), whole);
    } else {
      written = hid_write(device_.get(), data, length);
    }
    return written > 0 ? written : -1;
  }

  int ReadTimeout(uint8_t* data, size_t length, int timeout_ms) override {
    if (data == nullptr || length == 0) return -1;
    if (reader_) return reader_->Read(data, length, timeout_ms);
    const int read = hid_read_timeout(device_.get(), data, length, timeout_ms);
    return read < 0 ? -1 : read;
  }

  int ReadOrWake(uint8_t* data, size_t length, int timeout_ms, ReadWake& wake) override {
    if (!reader_) return HidHandle::ReadOrWake(data, length, timeout_ms, wake);
    if (data == nullptr || length == 0) return -1;
    return reader_->ReadOrWake(data, length, timeout_ms, wake);
  }

  std::u16string ProductString() override {
    wchar_t buffer[kProductStringChars] = {};
    if (hid_get_product_string(device_.get(), buffer, kProductStringChars) != 0) return {};
    std::u16string text;
    for (size_t i = 0; i < kProductStringChars && buffer[i] != 0; ++i) {
      const auto cp = static_cast<char32_t>(buffer[i]);
      if (cp <= 0x10FFFF) AppendUtf16(text, cp);
    }
    return text;
  }

  const std::string& Path() const override { return path_; }

 private:
  HidDevicePtr device_;
  std::string path_;
  std::vector<uint8_t> descriptor_;
  std::unique_ptr<FdReportReader> reader_;  // null: reads go through hidapi
};

// The node's collections from sysfs; empty when the descriptor cannot be read.
std::vector<HidCollectionUsage> CollectionsOf(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadDescriptor(path);
  return ParseTopLevelCollections(bytes.data(), bytes.size());
}

}  // namespace

HidapiBackend::HidapiBackend() : initialised_(hid_init() == 0) {
  if (!initialised_) Trace("hid_init failed");
}

HidapiBackend::~HidapiBackend() {
  if (initialised_) hid_exit();
}

std::string HidapiBackend::ReportDescriptorPath(const std::string& device_path) {
  const std::string prefix = kDevPrefix;
  if (device_path.compare(0, prefix.size(), prefix) != 0) return {};
  const std::string node = device_path.substr(prefix.size());
  if (node.rfind("hidraw", 0) != 0 || node.find('/') != std::string::npos) return {};
  return "/sys/class/hidraw/" + node + "/device/report_descriptor";
}

std::vector<uint8_t> HidapiBackend::ReportDescriptor(const std::string& device_path) {
  return ReadDescriptor(device_path);
}

std::string HidapiBackend::LibraryVersion() { return hid_version_str(); }

std::vector<HidInterfaceInfo> HidapiBackend::Enumerate() {
  std::vector<HidInterfaceInfo> result;
  if (!initialised_) return result;
  EnumerationPtr list(hid_enumerate(0, 0));
  // hidapi may list one node several times (once per collection); the descriptor
  // is the authority, so each path is expanded only once.
  std::set<std::string> seen;
  for (const hid_device_info* info = list.get(); info != nullptr; info = info->next) {
    if (info->path == nullptr || !seen.insert(info->path).second) continue;
    HidInterfaceInfo base;
    base.path = info->path;
    base.vendor_id = info->vendor_id;
    base.product_id = info->product_id;
    base.release_number = info->release_number;
    base.interface_number = info->interface_number;
    std::vector<HidCollectionUsage> collections = CollectionsOf(base.path);
    if (collections.empty()) collections.push_back({info->usage_page, info->usage});
    for (const HidCollectionUsage& collection : collections) {
      HidInterfaceInfo entry = base;
      entry.usage_page = collection.usage_page;
      entry.usage = collection.usage;
      result.push_back(std::move(entry));
    }
  }
  return result;
}

std::unique_ptr<HidHandle> HidapiBackend::Open(const std::string& path) {
  if (!initialised_) return nullptr;
  HidDevicePtr device(hid_open_path(path.c_str()));
  if (!device) return nullptr;
  return std::make_unique<HidapiHandle>(std::move(device), path, ReadDescriptor(path));
}

}  // namespace corvane
