// A KeyValueStore kept in memory, for tests of everything that reads or writes the
// per-user key: it can pretend the key is missing, unreadable or impossible to create.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "app/key_value_store.h"

namespace corvane {

class MemoryKeyValueStore : public KeyValueStore {
 public:
  // Starts with no key; `can_create` false makes CreateKey fail.
  explicit MemoryKeyValueStore(bool can_create = true) : can_create_(can_create) {}

  // Makes the key present (false: missing) and drops every value when removing it.
  void SetKeyPresent(bool present);
  // Makes an existing key unreadable: Probe reports it and reads find nothing.
  void SetUnreadable(bool unreadable) { unreadable_ = unreadable; }
  // Number of successful writes so far.
  int WriteCount() const { return writes_; }

  KeyState Probe() const override;
  bool CreateKey() override;
  std::optional<std::string> ReadText(std::string_view name) const override;
  bool WriteText(std::string_view name, std::string_view text) override;

 private:
  bool can_create_;
  bool present_ = false;
  bool unreadable_ = false;
  int writes_ = 0;
  std::map<std::string, std::string> values_;  // keyed by ASCII-lower-case name
};

}  // namespace corvane
