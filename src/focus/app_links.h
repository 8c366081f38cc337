// Which applications make which profile active: the names kept in the profiles' `app`
// column (';'-separated), read as one map, and the link and unlink operations that keep
// an application on one profile at most. Also the default profile, the one chosen by hand.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class KeyValueStore;
class SettingsDatabase;

// Application name -> profile id.
using AppLinks = std::map<std::string, int>;

// An application's name as links keep it: trimmed and lower-case. Empty when nothing
// usable is left or the name holds ';' or a control character (it could not be kept).
std::string NormalizeAppName(std::string_view name);
// The names of an `app` column, normalized, without empty or repeated ones.
std::vector<std::string> SplitApps(std::string_view column);
// The `app` column for `names`.
std::string JoinApps(const std::vector<std::string>& names);

// Every link of the store. A name found under two profiles (a file edited by hand) stays
// with the lower id. Empty when there is none or the store cannot be read.
AppLinks ReadAppLinks(const SettingsDatabase& store);

enum class LinkResult {
  kLinked,         // stored (and taken from `moved_from` when that is not 0)
  kAlreadyLinked,  // the profile had it already; nothing written
  kNoProfile,      // no such profile
  kBadName,        // nothing usable in the name
  kStoreFailed,    // the store refused; nothing changed
};
// Links `name` to `profile`, taking it from the profile that had it, in one transaction.
// `moved_from` receives that profile's id, or 0.
LinkResult LinkApp(SettingsDatabase& store, int profile, std::string_view name, int& moved_from);

enum class UnlinkResult { kUnlinked, kNotLinked, kNoProfile, kStoreFailed };
UnlinkResult UnlinkApp(SettingsDatabase& store, int profile, std::string_view name);

// The profile chosen by hand last for the model `device_attr`; 0 when none was stored.
int ReadDefaultProfile(KeyValueStore& values, std::string_view device_attr);
// Stores it. False when the value could not be written.
bool WriteDefaultProfile(KeyValueStore& values, std::string_view device_attr, int profile);

}  // namespace corvane
