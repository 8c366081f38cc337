// Daemon, control client and rate measurement of corvane-uhid. The daemon is single
// threaded on the socket side: one connection, one command, one reply.
#include "kernel/uhid_control.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "device/device_manager.h"
#include "kernel/uhid_device.h"
#include "device/command_transaction.h"
#include "worker/device_session.h"
#include "worker/recording_device_view.h"
#include "sim/sim_setup.h"
#include "sim/sim_state_file.h"

namespace corvane::uhid {
namespace {

constexpr size_t kMaxCommandBytes = 4096;
constexpr uint8_t kReadReportRate = 0x12;

struct SocketCloser {
  int fd;
  ~SocketCloser() {
    if (fd >= 0) ::close(fd);
  }
};

bool SocketAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size());
  return true;
}

bool ParseLinks(const std::string& word, std::vector<SimLink>& links) {
  if (word == "wired" || word == "both") links.push_back(SimLink::kWired);
  if (word == "receiver" || word == "both") links.push_back(SimLink::kReceiver);
  return !links.empty();
}

const char* PhaseName(SimUpgradePhase phase) {
  switch (phase) {
    case SimUpgradePhase::kIdle:
      return "idle";
    case SimUpgradePhase::kReceiving:
      return "receiving";
    case SimUpgradePhase::kComplete:
      return "complete";
    case SimUpgradePhase::kFailed:
      return "failed";
  }
  return "?";
}

class Daemon {
 public:
  explicit Daemon(std::unique_ptr<SimBackend> sim) : sim_(std::move(sim)) {}

  // Runs one command; the reply's first line starts with "ok" or "error".
  std::string Execute(const std::vector<std::string>& words, bool& quit) {
    const std::string verb = words.empty() ? "" : words[0];
    std::vector<SimLink> links;
    if ((verb == "create" || verb == "destroy") && words.size() == 2 &&
        ParseLinks(words[1], links)) {
      for (SimLink link : links) {
        const std::string result = verb == "create" ? Create(link) : Destroy(link);
        if (result.rfind("error", 0) == 0) return result;
      }
      return "ok " + verb + " " + words[1];
    }
    if (verb == "dpi" && words.size() == 1) {
      sim_->PressDpiButton();
      const SimState state = sim_->State();
      return "ok dpi_index=" + std::to_string(state.settings.dpi_index) +
             " dpi_count=" + std::to_string(state.settings.dpi_count);
    }
    if (verb == "mouse" && words.size() == 2 && (words[1] == "on" || words[1] == "off")) {
      sim_->SetMouseOn(words[1] == "on");
      return "ok mouse " + words[1];
    }
    if (verb == "battery" && words.size() == 3) {
      sim_->SetBattery(static_cast<uint8_t>(std::stoi(words[1])),
                       static_cast<uint8_t>(std::stoi(words[2])));
      return "ok battery";
    }
    if (verb == "state" && words.size() == 1) return "ok\n" + SimStateFile::Format(sim_->State());
    if (verb == "stats" && words.size() == 1) return Stats();
    if (verb == "upgrade" && words.size() == 3 && (words[1] == "wired" || words[1] == "receiver")) {
      return Upgrade(words[1] == "wired" ? SimLink::kWired : SimLink::kReceiver, words[2]);
    }
    if (verb == "quit") {
      quit = true;
      for (auto& list : devices_) list.clear();
      return "ok quit";
    }
    return "error unknown command";
  }

 private:
  std::string Create(SimLink link) {
    auto& list = devices_[static_cast<int>(link)];
    if (!list.empty()) return "ok";
    sim_->Replug(link);
    for (int c = 0; c < kSimCollectionCount; ++c) {
      std::string error;
      auto device = UhidDevice::Create(*sim_, link, static_cast<SimCollection>(c), error);
      if (!device) {
        list.clear();
        return "error " + error;
      }
      list.push_back(std::move(device));
    }
    return "ok";
  }

  std::string Destroy(SimLink link) {
    devices_[static_cast<int>(link)].clear();
    sim_->Unplug(link);
    return "ok";
  }

  std::string Stats() const {
    std::string reply = "ok";
    for (int l = 0; l < kSimLinkCount; ++l) {
      UhidStats sum;
      for (const auto& device : devices_[l]) {
        const UhidStats s = device->Stats();
        sum.outputs += s.outputs;
        sum.short_outputs += s.short_outputs;
        sum.inputs += s.inputs;
      }
      reply += std::string("\n") + (l == 0 ? "wired" : "receiver") +
               " devices=" + std::to_string(devices_[l].size()) +
               " outputs=" + std::to_string(sum.outputs) +
               " short=" + std::to_string(sum.short_outputs) +
               " inputs=" + std::to_string(sum.inputs);
    }
    return reply;
  }

  std::string Upgrade(SimLink link, const std::string& file) const {
    const SimUpgradeStatus status = sim_->UpgradeStatus(link);
    const std::vector<uint8_t> image = sim_->UpgradeImage(link);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    if (!out) return "error cannot write " + file;
    return std::string("ok phase=") + PhaseName(status.phase) +
           " blocks=" + std::to_string(status.blocks_received) +
           " rejected=" + std::to_string(status.rejected_blocks) +
           " bytes=" + std::to_string(image.size()) +
           (status.error.empty() ? "" : " error=" + status.error);
  }

  std::unique_ptr<SimBackend> sim_;
  std::vector<std::unique_ptr<UhidDevice>> devices_[kSimLinkCount];
};

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::string ReadLine(int fd) {
  std::string line;
  char c = 0;
  while (line.size() < kMaxCommandBytes && ::read(fd, &c, 1) == 1 && c != '\n') line.push_back(c);
  return line;
}

void WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

}  // namespace

int Serve(const ServeOptions& options) {
  std::string error;
  std::unique_ptr<SimBackend> sim =
      CreateSimBackend(options.program_dir, "both", options.sim_model, options.sim_state, error);
  if (!sim) {
    std::fprintf(stderr, "corvane-uhid: %s\n", error.c_str());
    return 1;
  }
  sockaddr_un address;
  if (!SocketAddress(options.socket_path, address)) {
    std::fprintf(stderr, "corvane-uhid: socket path too long\n");
    return 1;
  }
  SocketCloser listener{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)};
  ::unlink(options.socket_path.c_str());
  if (listener.fd < 0 ||
      ::bind(listener.fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener.fd, 4) != 0) {
    std::fprintf(stderr, "corvane-uhid: cannot listen on %s: %s\n", options.socket_path.c_str(),
                 std::strerror(errno));
    return 1;
  }
  Daemon daemon(std::move(sim));
  std::printf("corvane-uhid: ready\n");
  std::fflush(stdout);
  for (bool quit = false; !quit;) {
    SocketCloser client{::accept4(listener.fd, nullptr, nullptr, SOCK_CLOEXEC)};
    if (client.fd < 0) continue;
    const std::string reply = daemon.Execute(Words(ReadLine(client.fd)), quit);
    WriteAll(client.fd, reply + "\n");
  }
  ::unlink(options.socket_path.c_str());
  return 0;
}

int SendControl(const std::string& socket_path, const std::string& line) {
  sockaddr_un address;
  if (!SocketAddress(socket_path, address)) return 1;
  SocketCloser fd{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)};
  if (fd.fd < 0 || ::connect(fd.fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    std::fprintf(stderr, "corvane-uhid: cannot reach %s: %s\n", socket_path.c_str(),
                 std::strerror(errno));
    return 1;
  }
  WriteAll(fd.fd, line + "\n");
  std::string reply;
  char buffer[1024];
  for (ssize_t n; (n = ::read(fd.fd, buffer, sizeof buffer)) > 0;)
    reply.append(buffer, static_cast<size_t>(n));
  std::fputs(reply.c_str(), stdout);
  return reply.rfind("ok", 0) == 0 ? 0 : 1;
}

int MeasureRate(const ServeOptions& options, const std::string& backend, int seconds) {
  if ((backend != "sim" && backend != "hidraw") || seconds <= 0) return 2;
  RecordingDeviceView view;
  DeviceSession session;
  SessionOptions session_options;
  session_options.program_dir = options.program_dir;
  if (backend == "sim") session_options.simulate = "both";
  std::string error;
  if (!session.Open(session_options, view, error)) {
    std::fprintf(stderr, "corvane-uhid: %s\n", error.c_str());
    return 1;
  }
  session.PrepareSelectedModel();
  DeviceManager& manager = DeviceManager::Instance();
  long commands = 0, failures = 0;
  const auto start = std::chrono::steady_clock::now();
  const auto end = start + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end) {
    uint8_t buffer[kReportBufferSize] = {};
    buffer[1] = kReadReportRate;
    if (manager.SendCommand(buffer, kShortReportLength)) {
      ++commands;
    } else {
      ++failures;
    }
  }
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("rate %s commands=%ld seconds=%.2f per_s=%.0f failures=%ld\n", backend.c_str(),
              commands, elapsed, commands / elapsed, failures);
  return commands > 0 ? 0 : 1;
}

}  // namespace corvane::uhid
