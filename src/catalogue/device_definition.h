// A model's definition file, device/<device_attr>.xml: its picture, which optional pages
// and hints it has, its firmware address, its buttons with their factory assignments and
// the lighting modes it offers. The factory DPI, report-rate and power values of the same
// file are read separately (factory_defaults.h) when defaults are restored.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Number of lighting modes a definition can enable (light_1 .. light_6).
inline constexpr int kLightModeCount = 6;

// One `key` of `mouse_key`: a button with its label placement and factory assignment.
struct ButtonDefinition {
  int name_id = 0;           // `name` as a language text id: the button's label
  int key_value = 0;         // the button's index in the mouse
  int direction = 0;         // side of the picture the label is drawn on
  int x1 = 0;                // `rect` "x1#x2#y": the label line from (x1, y) to (x2, y)
  int x2 = 0;
  int y = 0;
  int func_desc_id = 0;      // `func_desc` as a language text id: factory function's text
  std::string name_text;     // `name` as written
  int func_type = 0;         // factory assignment: function family and code
  int func_value = 0;
  std::string func_desc_text;  // `func_desc` as written
};

struct DeviceDefinition {
  std::string mouse_image;     // `image_file`/`mouse_img`, relative to the skin's device/
  bool lighting = false;       // `menu`/`light` is "1": lighting page and command exist
  bool show_dpitips = false;   // each `custom` flag is true only for the text "1"
  bool show_savetips = false;
  bool show_lod = false;
  bool show_sensor = false;
  std::string firmware_url;    // `firmware`/`url`; empty when the model has none
  std::vector<ButtonDefinition> buttons;  // file order; duplicates kept
  // light_1 .. light_6 `enable` is "1": lighting mode n + 1 is offered.
  std::array<bool, kLightModeCount> light_modes{};
};

// Splits a `rect` text at "#" into x1, x2 and y; a part without its "#" reads 0 and the
// whole remaining text becomes the next part (so "7" gives 0, 0, 7).
void ParseButtonRect(std::string_view rect, int& x1, int& x2, int& y);

// <program_folder>/device/<device_attr>.xml; empty when device_attr is empty or could
// leave the device folder (a path separator, ".", "..").
std::filesystem::path DefinitionPath(const std::filesystem::path& program_folder,
                                     std::string_view device_attr);

// Reads a definition file. Children of `mouse` are searched forward, so they count only
// in the order image_file, menu, custom, firmware, mouse_key, mouse_info; a missing one
// leaves its values at their defaults. nullopt when the file is missing, malformed or not
// rooted at `mouse`.
std::optional<DeviceDefinition> LoadDeviceDefinition(const std::filesystem::path& file);

}  // namespace corvane
