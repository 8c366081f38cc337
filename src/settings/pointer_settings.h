// The operating system's pointer settings as one small interface: speed, enhanced
// precision (acceleration), lines per wheel notch and the double-click time. Each desktop
// has its own back end; one that cannot apply a setting says so instead of ignoring it.
#pragma once

#include <memory>
#include <string>

namespace corvane {

enum class PointerResult {
  kApplied,       // the desktop took the value
  kNotSupported,  // this desktop has no such setting, or no back end exists for it
  kFailed,        // the back end exists but refused or could not be reached
};

// "applied", "not supported" or "failed".
const char* PointerResultText(PointerResult result);

class PointerSettings {
 public:
  virtual ~PointerSettings() = default;
  // A short name for messages ("GNOME", "none").
  virtual std::string Name() const = 0;
  // Pointer speed 1 (slowest) .. 20 (fastest); 10 is the desktop's middle.
  virtual PointerResult SetSpeed(int speed) = 0;
  virtual PointerResult SetEnhancedPrecision(bool on) = 0;
  // Lines scrolled per wheel notch; 0 scrolls a page per notch.
  virtual PointerResult SetWheelLines(int lines) = 0;
  virtual PointerResult SetDoubleClickTime(int milliseconds) = 0;
};

// A back end for desktops without one: every call answers kNotSupported.
class UnsupportedPointerSettings : public PointerSettings {
 public:
  std::string Name() const override { return "none"; }
  PointerResult SetSpeed(int) override { return PointerResult::kNotSupported; }
  PointerResult SetEnhancedPrecision(bool) override { return PointerResult::kNotSupported; }
  PointerResult SetWheelLines(int) override { return PointerResult::kNotSupported; }
  PointerResult SetDoubleClickTime(int) override { return PointerResult::kNotSupported; }
};

// The back end for this session: CORVANE_POINTER_SETTINGS "gsettings" or "none" chooses
// one; otherwise GNOME's when XDG_CURRENT_DESKTOP names GNOME (or a GNOME-based desktop)
// and the `gsettings` tool has the mouse schema, else the unsupported one.
std::unique_ptr<PointerSettings> MakePointerSettings();

}  // namespace corvane
