// The per-user key of small settings named after the caption (language, selected model,
// close-button mode, minimised autorun). KeyValueStore holds the read and write rules of
// those values; subclasses only say how the key is kept (INI file, or memory in tests).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// Value names of the key.
inline constexpr std::string_view kValueLcid = "LCID";
inline constexpr std::string_view kValueDeviceType = "DeviceType";
inline constexpr std::string_view kValueExitMode = "exit_mode";
inline constexpr std::string_view kValueAutorunMinimize = "autorun_minimize";
// What the mouse had not taken when the program last closed: "DEVICE_TYPE:TASK,TASK".
inline constexpr std::string_view kValueOwedTasks = "owed_tasks";

// Language read when the key exists but cannot be read, or cannot be created.
inline constexpr int kUnreadableKeyLanguage = 2052;
// `exit_mode` value meaning "the close button hides the window to the tray".
inline constexpr int kExitModeHideToTray = 1;

class KeyValueStore {
 public:
  enum class KeyState { kPresent, kMissing, kUnreadable };

  virtual ~KeyValueStore() = default;

  // Whether the key exists and can be read.
  virtual KeyState Probe() const = 0;
  // Creates the key, empty, when it is missing. True when it exists afterwards.
  virtual bool CreateKey() = 0;
  // The stored text of a value; nullopt when the key or the value is missing.
  virtual std::optional<std::string> ReadText(std::string_view name) const = 0;
  // Stores a value, creating the key when it is missing. False when it could not be
  // stored, when the key exists but cannot be read (nothing is written then, so its other
  // values survive), or when the name or text cannot be kept (empty name, line breaks,
  // '=' or '[' in the name).
  virtual bool WriteText(std::string_view name, std::string_view text) = 0;

  // A value as a decimal number. A missing key is created and reads 0; a missing,
  // unreadable or non-numeric value reads 0.
  int ReadNumber(std::string_view name);
  // Stores a number as decimal text ("%d"). Same result as WriteText.
  bool WriteNumber(std::string_view name, int value);

  // The stored language id: 0 when absent or when the key had to be created;
  // kUnreadableKeyLanguage when the key cannot be read or created.
  int ReadLcid();
  bool WriteLcid(int language_id);

  // The stored model's device type; 0 when absent. Never creates the key.
  int ReadDeviceType() const;
  bool WriteDeviceType(int device_type);

  // True when the close button hides to the tray (`exit_mode` is 1).
  bool ReadHideOnClose() { return ReadNumber(kValueExitMode) == kExitModeHideToTray; }
  bool WriteHideOnClose(bool hide) { return WriteNumber(kValueExitMode, hide ? 1 : 0); }

  // The minimised-autorun box: true when `autorun_minimize` is 1.
  bool ReadAutorunMinimize() { return ReadNumber(kValueAutorunMinimize) == 1; }
  bool WriteAutorunMinimize(bool on) { return WriteNumber(kValueAutorunMinimize, on ? 1 : 0); }
};

}  // namespace corvane
