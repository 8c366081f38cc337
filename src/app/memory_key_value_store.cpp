// In-memory per-user key for tests; see memory_key_value_store.h.
#include "app/memory_key_value_store.h"

#include "base/text.h"

namespace corvane {

void MemoryKeyValueStore::SetKeyPresent(bool present) {
  present_ = present;
  if (!present) values_.clear();
}

KeyValueStore::KeyState MemoryKeyValueStore::Probe() const {
  if (!present_) return KeyState::kMissing;
  return unreadable_ ? KeyState::kUnreadable : KeyState::kPresent;
}

bool MemoryKeyValueStore::CreateKey() {
  if (!present_ && can_create_) present_ = true;
  return present_;
}

std::optional<std::string> MemoryKeyValueStore::ReadText(std::string_view name) const {
  if (!present_ || unreadable_) return std::nullopt;
  auto it = values_.find(AsciiLower(name));
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

bool MemoryKeyValueStore::WriteText(std::string_view name, std::string_view text) {
  if (name.empty() || unreadable_ || !CreateKey()) return false;
  values_[AsciiLower(name)] = std::string(text);
  ++writes_;
  return true;
}

}  // namespace corvane
