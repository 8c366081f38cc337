// Links between applications and profiles, kept in the profiles' `app` column.
#include "focus/app_links.h"

#include <algorithm>
#include <optional>

#include "app/key_value_store.h"
#include "base/text.h"
#include "store/settings_database.h"

namespace corvane {
namespace {

constexpr char kSeparator = ';';
constexpr std::string_view kDefaultValuePrefix = "follow_default_";

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

std::string DefaultValueName(std::string_view device_attr) {
  return std::string(kDefaultValuePrefix) + std::string(device_attr);
}

std::optional<ProfileRecord> FindProfile(const SettingsDatabase& store, int profile) {
  for (ProfileRecord& record : store.GetProfiles()) {
    if (record.profile == profile) return record;
  }
  return std::nullopt;
}

}  // namespace

std::string NormalizeAppName(std::string_view name) {
  while (!name.empty() && IsSpace(name.front())) name.remove_prefix(1);
  while (!name.empty() && IsSpace(name.back())) name.remove_suffix(1);
  for (char c : name) {
    if (c == kSeparator || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return {};
  }
  return AsciiLower(name);
}

std::vector<std::string> SplitApps(std::string_view column) {
  std::vector<std::string> names;
  while (!column.empty()) {
    const size_t end = std::min(column.find(kSeparator), column.size());
    std::string name = NormalizeAppName(column.substr(0, end));
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) {
      names.push_back(std::move(name));
    }
    column.remove_prefix(std::min(end + 1, column.size()));
  }
  return names;
}

std::string JoinApps(const std::vector<std::string>& names) {
  std::string column;
  for (const std::string& name : names) {
    if (!column.empty()) column += kSeparator;
    column += name;
  }
  return column;
}

AppLinks ReadAppLinks(const SettingsDatabase& store) {
  AppLinks links;
  for (const ProfileRecord& record : store.GetProfiles()) {
    for (const std::string& name : SplitApps(record.app)) links.emplace(name, record.profile);
  }
  return links;
}

LinkResult LinkApp(SettingsDatabase& store, int profile, std::string_view given, int& moved_from) {
  moved_from = 0;
  const std::string name = NormalizeAppName(given);
  if (name.empty()) return LinkResult::kBadName;
  SettingsDatabase::Transaction transaction(store);
  if (!transaction.IsActive()) return LinkResult::kStoreFailed;
  std::optional<ProfileRecord> target = FindProfile(store, profile);
  if (!target) return LinkResult::kNoProfile;
  std::vector<std::string> names = SplitApps(target->app);
  if (std::find(names.begin(), names.end(), name) != names.end()) return LinkResult::kAlreadyLinked;
  // One profile per application: the link moves from whichever profile had it.
  for (const ProfileRecord& other : store.GetProfiles()) {
    if (other.profile == profile) continue;
    std::vector<std::string> others = SplitApps(other.app);
    auto it = std::find(others.begin(), others.end(), name);
    if (it == others.end()) continue;
    others.erase(it);
    if (!store.SetProfileApps(other.profile, JoinApps(others))) return LinkResult::kStoreFailed;
    moved_from = other.profile;
  }
  names.push_back(name);
  if (!store.SetProfileApps(profile, JoinApps(names)) || !transaction.Commit()) {
    moved_from = 0;
    return LinkResult::kStoreFailed;
  }
  return LinkResult::kLinked;
}

UnlinkResult UnlinkApp(SettingsDatabase& store, int profile, std::string_view given) {
  const std::string name = NormalizeAppName(given);
  std::optional<ProfileRecord> target = FindProfile(store, profile);
  if (!target) return UnlinkResult::kNoProfile;
  std::vector<std::string> names = SplitApps(target->app);
  auto it = std::find(names.begin(), names.end(), name);
  if (name.empty() || it == names.end()) return UnlinkResult::kNotLinked;
  names.erase(it);
  return store.SetProfileApps(profile, JoinApps(names)) ? UnlinkResult::kUnlinked
                                                        : UnlinkResult::kStoreFailed;
}

int ReadDefaultProfile(KeyValueStore& values, std::string_view device_attr) {
  const std::optional<std::string> text = values.ReadText(DefaultValueName(device_attr));
  int profile = 0;
  return text && ParseExactDecimal(*text, profile) && profile > 0 ? profile : 0;
}

bool WriteDefaultProfile(KeyValueStore& values, std::string_view device_attr, int profile) {
  return values.WriteNumber(DefaultValueName(device_attr), profile);
}

}  // namespace corvane
