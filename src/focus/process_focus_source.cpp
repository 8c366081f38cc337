// Running processes as the focus: /proc/<pid>/exe (or comm when exe is not readable).
#include "focus/process_focus_source.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <system_error>

#include "focus/app_links.h"

namespace corvane {
namespace {

constexpr std::string_view kDeletedSuffix = " (deleted)";
constexpr int kStartTimeField = 22;  // of /proc/<pid>/stat, counted from 1

bool IsPid(const std::string& name) {
  return !name.empty() && name.find_first_not_of("0123456789") == std::string::npos;
}

std::string ExecutableName(const std::filesystem::path& process) {
  std::error_code error;
  std::string target = std::filesystem::read_symlink(process / "exe", error).string();
  if (!error && !target.empty()) {
    if (target.size() > kDeletedSuffix.size() &&
        target.compare(target.size() - kDeletedSuffix.size(), kDeletedSuffix.size(),
                       kDeletedSuffix) == 0) {
      target.resize(target.size() - kDeletedSuffix.size());
    }
    return NormalizeAppName(std::filesystem::path(target).filename().string());
  }
  // Another user's process: its exe link is closed to us, its short name is not.
  std::ifstream comm(process / "comm");
  std::string name;
  std::getline(comm, name);
  return NormalizeAppName(name);
}

// Start time in clock ticks since boot; 0 when unreadable.
unsigned long long StartTime(const std::filesystem::path& process) {
  std::ifstream stat(process / "stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // The command name (field 2) may hold spaces and parentheses; fields count from its end.
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream rest(text.substr(close + 1));
  std::string field;
  for (int index = 3; index <= kStartTimeField && rest >> field; ++index) {
    if (index == kStartTimeField) return std::strtoull(field.c_str(), nullptr, 10);
  }
  return 0;
}

}  // namespace

std::string NewestRunningApp(const std::filesystem::path& proc_root,
                             const std::set<std::string>& names) {
  std::string newest;
  unsigned long long newest_start = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(proc_root, error)) {
    if (!IsPid(entry.path().filename().string())) continue;
    const std::string name = ExecutableName(entry.path());
    if (name.empty() || names.count(name) == 0) continue;
    const unsigned long long start = StartTime(entry.path());
    if (newest.empty() || start > newest_start) {
      newest = name;
      newest_start = start;
    }
  }
  return newest;
}

ProcessFocusSource::ProcessFocusSource(std::filesystem::path proc_root)
    : proc_root_(std::move(proc_root)) {}

ProcessFocusSource::~ProcessFocusSource() { Stop(); }

bool ProcessFocusSource::Start(FocusSink& sink) {
  Stop();
  std::error_code error;
  if (!std::filesystem::is_directory(proc_root_, error)) return false;
  stop_ = false;
  thread_ = std::thread([this, &sink] { Run(sink); });
  return true;
}

void ProcessFocusSource::Stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void ProcessFocusSource::SetLinkedNames(const std::vector<std::string>& names) {
  std::lock_guard lock(mutex_);
  names_ = std::set<std::string>(names.begin(), names.end());
}

void ProcessFocusSource::Run(FocusSink& sink) {
  std::optional<std::string> last;
  std::unique_lock lock(mutex_);
  while (!stop_) {
    const std::set<std::string> names = names_;
    lock.unlock();
    std::string app = NewestRunningApp(proc_root_, names);
    if (!last || app != *last) sink.OnFocus(app);
    last = std::move(app);
    lock.lock();
    wake_.wait_for(lock, kInterval, [this] { return stop_; });
    ++wakeups_;
  }
}

}  // namespace corvane
