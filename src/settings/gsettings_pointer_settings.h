// GNOME's pointer settings through the `gsettings` tool: org.gnome.desktop.peripherals.mouse
// `speed` (-1..1), `accel-profile` (adaptive / flat) and `double-click` (ms). GNOME has no
// lines-per-notch setting, so the wheel answers "not supported".
#pragma once

#include <string>
#include <vector>

#include "settings/pointer_settings.h"

namespace corvane {

inline constexpr const char* kGnomeMouseSchema = "org.gnome.desktop.peripherals.mouse";

class GSettingsPointerSettings : public PointerSettings {
 public:
  // `tool` is the gsettings program (looked up on PATH when it has no slash).
  explicit GSettingsPointerSettings(std::string tool = "gsettings");

  std::string Name() const override { return "GNOME"; }
  PointerResult SetSpeed(int speed) override;
  PointerResult SetEnhancedPrecision(bool on) override;
  PointerResult SetWheelLines(int lines) override;
  PointerResult SetDoubleClickTime(int milliseconds) override;

  // True when the tool runs and knows the mouse schema.
  bool Available() const;
  // GNOME's speed for a speed of 1..20: (speed - 10) / 10, kept within -1..1.
  static double GnomeSpeed(int speed);

 private:
  PointerResult Set(const char* key, const std::string& value) const;
  // Runs the tool with `arguments`; true when it exited with status 0.
  bool Run(const std::vector<std::string>& arguments) const;

  std::string tool_;
};

}  // namespace corvane
