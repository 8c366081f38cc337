// /dev/uhid event handling for one simulated collection. Two threads per device keep
// both directions independent, as a USB device's IN and OUT endpoints are.
#include "kernel/uhid_device.h"

#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "kernel/uhid_descriptors.h"

namespace corvane::uhid {
namespace {

constexpr char kUhidNode[] = "/dev/uhid";
constexpr uint16_t kBusUsb = 0x03;
// How often the threads look at the stop flag.
constexpr int kWakeMs = 100;
constexpr size_t kMaxInputBytes = 64;

// uhid queues at most 32 events and drops the rest, while a write to a real USB device
// blocks until it is sent. Forwarding at real-time priority keeps back-to-back writes
// (the firmware transfer) from outrunning it; without the privilege it is best effort.
constexpr int kForwardPriority = 10;

void RaisePriority() {
  sched_param param{};
  param.sched_priority = kForwardPriority;
  pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
}

const char* LinkName(SimLink link) { return link == SimLink::kWired ? "wired" : "receiver"; }

void CopyText(uint8_t* field, size_t size, const std::string& text) {
  std::memset(field, 0, size);
  std::memcpy(field, text.data(), std::min(text.size(), size - 1));
}

}  // namespace

std::unique_ptr<UhidDevice> UhidDevice::Create(SimBackend& sim, SimLink link,
                                               SimCollection collection, std::string& error) {
  const std::string sim_path = SimBackend::InterfacePath(link, collection);
  HidInterfaceInfo info;
  for (const HidInterfaceInfo& candidate : sim.Enumerate()) {
    if (candidate.path == sim_path) info = candidate;
  }
  std::unique_ptr<HidHandle> handle = sim.Open(sim_path);
  if (!handle || info.path.empty()) {
    error = std::string(LinkName(link)) + " is not plugged into the simulator";
    return nullptr;
  }
  const int fd = ::open(kUhidNode, O_RDWR | O_CLOEXEC);
  if (fd < 0) {
    error = std::string("cannot open ") + kUhidNode + ": " + std::strerror(errno);
    return nullptr;
  }
  const int number = static_cast<int>(collection);
  const std::string name = std::string(LinkName(link)) + "/input" + std::to_string(number);
  auto event = std::make_unique<uhid_event>();
  std::memset(event.get(), 0, sizeof(uhid_event));
  event->type = UHID_CREATE2;
  uhid_create2_req& req = event->u.create2;
  std::string product = sim.Identity().product_name;
  if (link == SimLink::kReceiver) product += " Receiver";
  CopyText(req.name, sizeof req.name, product);
  // The interface number travels in the physical path, as usbhid writes it ("/input2").
  CopyText(req.phys, sizeof req.phys, "corvane-uhid/" + name);
  const std::vector<uint8_t> descriptor = ReportDescriptor(link, collection);
  std::memcpy(req.rd_data, descriptor.data(), descriptor.size());
  req.rd_size = static_cast<uint16_t>(descriptor.size());
  req.bus = kBusUsb;
  req.vendor = info.vendor_id;
  req.product = info.product_id;
  req.version = info.release_number;
  std::unique_ptr<UhidDevice> device(
      new UhidDevice(fd, std::move(handle), name, WholeOutputReportBytes(link, collection)));
  if (!device->WriteEvent(event.get(), sizeof(uhid_event))) {
    error = "UHID_CREATE2 for " + name + " failed: " + std::strerror(errno);
    return nullptr;
  }
  device->kernel_thread_ = std::thread([raw = device.get()] { raw->KernelLoop(); });
  device->model_thread_ = std::thread([raw = device.get()] { raw->ModelLoop(); });
  return device;
}

UhidDevice::UhidDevice(int fd, std::unique_ptr<HidHandle> handle, std::string name,
                       size_t whole_output)
    : fd_(fd), handle_(std::move(handle)), name_(std::move(name)), whole_output_(whole_output) {}

UhidDevice::~UhidDevice() {
  stop_ = true;
  if (model_thread_.joinable()) model_thread_.join();
  if (kernel_thread_.joinable()) kernel_thread_.join();
  uhid_event event{};
  event.type = UHID_DESTROY;
  WriteEvent(&event, sizeof event);
  ::close(fd_);
}

UhidStats UhidDevice::Stats() const {
  return {outputs_.load(), short_outputs_.load(), inputs_.load()};
}

bool UhidDevice::WriteEvent(const void* event, size_t size) {
  return ::write(fd_, event, size) == static_cast<ssize_t>(size);
}

void UhidDevice::KernelLoop() {
  RaisePriority();
  auto event = std::make_unique<uhid_event>();
  while (!stop_) {
    pollfd fds{fd_, POLLIN, 0};
    if (::poll(&fds, 1, kWakeMs) <= 0) continue;
    std::memset(event.get(), 0, sizeof(uhid_event));
    if (::read(fd_, event.get(), sizeof(uhid_event)) <= 0) continue;
    if (event->type == UHID_OUTPUT) {
      const uhid_output_req& out = event->u.output;
      if (whole_output_ == 0 || out.rtype != UHID_OUTPUT_REPORT) continue;  // e.g. keyboard LEDs
      if (out.size != whole_output_) {
        // A USB endpoint would take a short packet as a short report; the firmware
        // expects whole reports, so this is counted and not acted on.
        ++short_outputs_;
        std::fprintf(stderr, "corvane-uhid: %s: output report of %u bytes, expected %zu; dropped\n",
                     name_.c_str(), out.size, whole_output_);
        continue;
      }
      ++outputs_;
      handle_->Write(out.data, out.size);
    } else if (event->type == UHID_GET_REPORT) {
      uhid_event reply{};
      reply.type = UHID_GET_REPORT_REPLY;
      reply.u.get_report_reply.id = event->u.get_report.id;
      reply.u.get_report_reply.err = EIO;  // the devices have no feature reports
      WriteEvent(&reply, sizeof reply);
    } else if (event->type == UHID_SET_REPORT) {
      uhid_event reply{};
      reply.type = UHID_SET_REPORT_REPLY;
      reply.u.set_report_reply.id = event->u.set_report.id;
      reply.u.set_report_reply.err = EIO;
      WriteEvent(&reply, sizeof reply);
    }
  }
}

void UhidDevice::ModelLoop() {
  RaisePriority();
  uint8_t data[kMaxInputBytes];
  while (!stop_) {
    const int n = handle_->ReadTimeout(data, sizeof data, kWakeMs);
    if (n < 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(kWakeMs));  // pulled out of the model
      continue;
    }
    if (n == 0) continue;
    uhid_event event{};
    event.type = UHID_INPUT2;
    event.u.input2.size = static_cast<uint16_t>(n);
    std::memcpy(event.u.input2.data, data, static_cast<size_t>(n));
    if (WriteEvent(&event, sizeof event)) ++inputs_;
  }
}

}  // namespace corvane::uhid
