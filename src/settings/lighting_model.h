// The lighting page without widgets: creating each profile's rows for the modes the
// device enables, switching the mode, brightness, speed, colours and reset. What the
// lighting job sends is light_payload.h.
#pragma once

#include "app/text_ids.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/device_definition.h"
#include "settings/settings_texts.h"
#include "settings/task_poster.h"
#include "store/settings_database.h"

namespace corvane {

inline constexpr int kLightSlots = 7;
inline constexpr int kLightOffersBrightness = 0x1;
inline constexpr int kLightOffersSpeed = 0x2;
inline constexpr int kLightTallLayout = 0x10;
inline constexpr int kLightOffersSlots = 0x800;
inline constexpr int kLightMaxBrightness = 4;
inline constexpr int kLightMaxChannel = 255;
// Language texts of the lighting page.

// light_1 .. light_6 of the device definition: which modes are offered.
using LightModeFlags = std::array<bool, kLightModeCount>;

// Returns the default row of the mode behind flag `index` (0 = light_1) for `profile`.
LightRecord DefaultLightRow(int profile, int index);

// The page load's first step, also run by the lighting job: when `profile` has no
// lighting rows, adds the default row of every enabled mode and makes mode 1 active.
void EnsureLightRows(SettingsDatabase& db, int profile, const LightModeFlags& enabled);

// Puts every enabled mode's row of `profile` back to its defaults (colours, brightness,
// speed) and makes mode 1 active, as restoring the mouse's lighting does.
void ResetLightRows(SettingsDatabase& db, int profile, const LightModeFlags& enabled);

// What the page shows for one mode.
struct LightView {
  LightRecord row;
  bool show_brightness = false;
  bool show_speed = false;
  bool show_slots = false;
  bool tall = false;
  std::string brightness_caption;  // "<text 278>: 50%"
  std::string speed_caption;       // "<text 279>: 2"
};

class LightingModel {
 public:
  LightingModel(SettingsDatabase& db, TaskPoster& poster, TextLookup texts);

  // Page load: creates the rows when the profile has none, then finds the current
  // mode. Returns the rows for the mode list in row order.
  std::vector<LightRecord> Load(int profile, const LightModeFlags& enabled);
  // Returns the current mode (the active row's, else the first row's).
  int CurrentMode() const { return mode_; }
  // Makes `mode` active and returns what to show; nullopt when it has no row.
  std::optional<LightView> ShowMode(int mode);
  // Mode chosen in the list: shows it and posts the lighting job.
  std::optional<LightView> ChooseMode(int mode);
  // Slider released: stores the level and posts the lighting job. False without a row.
  bool SetBrightness(int level);
  bool SetSpeed(int level);
  // Applies colour `c` (red in the low byte); with colour slots it goes into
  // `marked_slot` (0..6). Stores and posts. False without a row.
  bool ApplyColour(int colour, int marked_slot);
  // Confirmed reset: posts the read-back of the mouse's lighting.
  void Reset() { poster_.Post(WorkerTask::kLightingReadback); }

 private:
  SettingsDatabase& db_;
  TaskPoster& poster_;
  TextLookup texts_;
  int profile_ = 0;
  int mode_ = 0;
};

// Returns the colour of three channel fields, each clamped to 0..255 first.
int ColourFromChannels(int& red, int& green, int& blue);
// Returns the brightness caption "<label>: 0%" .. "<label>: 100%" (level 4 or more).
std::string BrightnessCaption(const std::string& label, int level);
// Returns the speed caption shown while the slider is dragged: "<label>：<position>", with
// a full-width colon (the caption of a shown mode uses ": ").
std::string SpeedDragCaption(const std::string& label, int position);

}  // namespace corvane
