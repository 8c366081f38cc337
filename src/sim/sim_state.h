// Everything the simulated mouse and receiver remember: hardware facts that survive a
// restore-defaults command, and the settings that command puts back to factory values.
// Plain data; SimFirmware changes it, SimStateFile stores it.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

namespace corvane {

inline constexpr int kSimDpiStages = 6;
inline constexpr int kSimLightColors = 7;
// Buttons whose entries the button command carries (27 payload bytes, 3 per button).
inline constexpr int kSimButtons = 9;
// Buttons a macro may be bound to.
inline constexpr int kSimMacroButtons = 21;

using SimButtonEntry = std::array<uint8_t, 3>;

// Settings the mouse keeps; command 0x0F brings back these member defaults.
struct SimSettings {
  uint8_t report_rate = 1;  // 1000 Hz
  uint8_t dpi_count = 6;
  uint8_t dpi_index = 1;
  // Device codes of the stages (DPI / 100 for the default sensor).
  std::array<uint16_t, kSimDpiStages> dpi_code{8, 16, 24, 32, 64, 120};
  // Colours with red in the low byte.
  std::array<uint32_t, kSimDpiStages> dpi_color{255, 16711680, 65280, 65535, 16711935, 16776960};
  uint8_t liftoff_height = 1;
  uint8_t sensor_flag8 = 0;  // travels as byte 6 of command 0x06
  uint8_t sensor_flag4 = 1;  // travels as byte 7 of command 0x06
  uint8_t sleep_light = 6;
  uint8_t move_wakeup = 1;
  uint8_t move_closelight = 0;
  uint8_t button_respondtime = 8;
  uint8_t light_mode = 1;
  uint8_t light_level = 0x42;  // brightness << 4 | speed
  std::array<uint32_t, kSimLightColors> light_color{255,   65280,    16711680, 16776960,
                                                    65535, 16711935, 16777215};
  std::array<SimButtonEntry, kSimButtons> buttons{{{0x10, 0x01, 0x00},
                                                   {0x10, 0x02, 0x00},
                                                   {0x10, 0x04, 0x00},
                                                   {0x10, 0x08, 0x00},
                                                   {0x10, 0x10, 0x00},
                                                   {0x40, 0x01, 0x00},
                                                   {0x00, 0x00, 0x00},
                                                   {0x00, 0x00, 0x00},
                                                   {0x00, 0x00, 0x00}}};
  // Event records of the macro bound to a button, by button index.
  std::map<int, std::vector<uint8_t>> macros;

  bool operator==(const SimSettings&) const = default;
};

struct SimState {
  bool mouse_on = true;    // the wireless link: off means the receiver cannot reach it
  uint8_t battery_a = 0;   // A: charging state (1 = charging); passed through unchanged
  uint8_t battery_b = 90;  // B: level in percent
  uint8_t sensor_code = 53;
  uint8_t rate_capability = 0x40;
  uint16_t firmware_version = 0x0105;  // the mouse's, reported by command 0x20
  uint16_t receiver_version = 0x0102;
  // USB ids presented instead of the catalogue's (0 = the catalogue's), so a mouse the
  // catalogue does not know can be played.
  uint16_t usb_vid = 0;
  uint16_t usb_pid = 0;
  uint16_t receiver_usb_vid = 0;
  uint16_t receiver_usb_pid = 0;
  SimSettings settings;
  // The last image each device accepted over its upgrade collection (wired, receiver).
  std::array<std::vector<uint8_t>, 2> upgrade_image;

  bool operator==(const SimState&) const = default;
};

}  // namespace corvane
