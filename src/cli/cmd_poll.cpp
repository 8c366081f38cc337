// corvane-cli poll COUNT [MS]: the worker's idle poll from the command line. Reads and
// handles notifications until COUNT of them arrived or MS milliseconds passed (default
// 10000), printing after each what it changed: the stored DPI stage and count, the
// link flag and the entries' online states.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "device/device_manager.h"
#include "store/config_keys.h"
#include "store/settings_database.h"

namespace corvane::cli {
namespace {

constexpr int kDefaultPollMs = 10000;

void PrintNotification(const CliOptions& options, CliSession& session, uint8_t type) {
  const std::vector<DeviceEntryInfo> entries = DeviceManager::Instance().Entries();
  const SettingsDatabase& store = session.Session().Store();
  const int index = store.GetConfigInt(session.ActiveProfile(), kDpiIndexKey, 0);
  const int count = store.GetConfigInt(session.ActiveProfile(), kDpiCountKey, 0);
  const bool link = session.View().LinkFlag();
  if (options.json) {
    JsonWriter json;
    json.BeginObject()
        .IntMember("type", type)
        .IntMember(kDpiIndexKey, index)
        .IntMember(kDpiCountKey, count)
        .BoolMember("link", link);
    WriteEntriesMember(json, entries);
    json.EndObject();
    std::printf("%s\n", json.Text().c_str());
  } else {
    std::printf("notification %02X: dpi stage %d of %d, %s\n", type, index, count,
                link ? "linked" : "not linked");
    PrintEntries(entries);
  }
  std::fflush(stdout);
}

int RunPoll(const CliOptions& options, const std::vector<std::string>& args) {
  int wanted = 0;
  int limit_ms = kDefaultPollMs;
  if (args.empty() || args.size() > 2 || !ParseCliNumber(args[0], wanted) || wanted < 1 ||
      (args.size() == 2 && (!ParseCliNumber(args[1], limit_ms) || limit_ms < 1))) {
    return CliFail("usage: poll COUNT [MS]");
  }
  CliDeviceSession session;
  std::string error;
  if (!session.Open(options, error)) return CliFail(error);
  if (!session.Session().State().IdlePoll()) return CliFail("no device to poll");
  std::fprintf(stderr, "corvane-cli: polling for notifications\n");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
  int seen = 0;
  while (seen < wanted && std::chrono::steady_clock::now() < deadline) {
    const uint8_t type = session.Session().Jobs().PollNotification();
    if (type == 0) continue;
    ++seen;
    PrintNotification(options, session, type);
  }
  if (seen < wanted) {
    return CliFail(std::to_string(seen) + " of " + std::to_string(wanted) +
                   " notifications arrived");
  }
  return 0;
}

const CliRegistrar kPollCommand("poll", "poll COUNT [MS]", RunPoll);

}  // namespace
}  // namespace corvane::cli
