// Read and write rules shared by every KeyValueStore; see key_value_store.h.
#include "app/key_value_store.h"

#include "base/text.h"

namespace corvane {

int KeyValueStore::ReadNumber(std::string_view name) {
  switch (Probe()) {
    case KeyState::kMissing:
      CreateKey();
      return 0;
    case KeyState::kUnreadable:
      return 0;
    case KeyState::kPresent:
      break;
  }
  const std::optional<std::string> text = ReadText(name);
  return text ? DecimalToInt(*text) : 0;
}

bool KeyValueStore::WriteNumber(std::string_view name, int value) {
  return WriteText(name, IntToDecimal(value));
}

int KeyValueStore::ReadLcid() {
  switch (Probe()) {
    case KeyState::kMissing:
      return CreateKey() ? 0 : kUnreadableKeyLanguage;
    case KeyState::kUnreadable:
      return kUnreadableKeyLanguage;
    case KeyState::kPresent:
      break;
  }
  const std::optional<std::string> text = ReadText(kValueLcid);
  return text ? DecimalToInt(*text) : 0;
}

bool KeyValueStore::WriteLcid(int language_id) { return WriteNumber(kValueLcid, language_id); }

int KeyValueStore::ReadDeviceType() const {
  const std::optional<std::string> text = ReadText(kValueDeviceType);
  return text ? DecimalToInt(*text) : 0;
}

bool KeyValueStore::WriteDeviceType(int device_type) {
  return WriteNumber(kValueDeviceType, device_type);
}

}  // namespace corvane
