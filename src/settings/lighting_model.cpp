// Lighting page operations. Rows are created once per profile, then only updated and
// switched, so each mode keeps its own settings across mode changes.
#include "settings/lighting_model.h"

#include <algorithm>

#include "base/text.h"

namespace corvane {
namespace {

struct ModeDefaults {
  int mode;
  const char* name;
  int config_func;
  int reserved;
};
constexpr ModeDefaults kModes[kLightModeCount] = {
    {1, "\xE6\xB5\x81\xE5\x85\x89", 3, 280},
    {2, "\xE5\x91\xBC\xE5\x90\xB8", 0x813, 281},
    {3, "\xE5\xB8\xB8\xE4\xBA\xAE", 0x11, 282},
    {4, "\xE9\x9C\x93\xE8\x99\xB9", 3, 283},
    {5, "\xE4\xB8\x83\xE5\xBD\xA9\xE6\xB3\xA2\xE6\xB5\xAA", 3, 284},
    {0, "\xE5\x85\xB3\xE9\x97\xAD", 0, 285},
};
constexpr int kFirstActiveMode = 1;
constexpr int kDefaultBrightness = 4;
constexpr int kDefaultSpeed = 2;
constexpr int kMaxSpeed = 15;  // four bits in the level byte
constexpr int kDefaultColours[kLightSlots] = {255,      65280,    16711680, 16776960,
                                              65535,    16711935, 16777215};

std::array<int*, kLightSlots> Slots(LightRecord& r) {
  return {&r.color_value1, &r.color_value2, &r.color_value3, &r.color_value4,
          &r.color_value5, &r.color_value6, &r.color_value7};
}

}  // namespace

LightRecord DefaultLightRow(int profile, int index) {
  const ModeDefaults& d = kModes[index];
  LightRecord row;
  row.profile = profile;
  row.name = d.name;
  row.mode = d.mode;
  row.brightness = kDefaultBrightness;
  row.speed = kDefaultSpeed;
  row.colorful = 1;
  const auto slots = Slots(row);
  for (int i = 0; i < kLightSlots; ++i) *slots[i] = kDefaultColours[i];
  row.config_func = d.config_func;
  row.reserved = d.reserved;
  return row;
}

std::string BrightnessCaption(const std::string& label, int level) {
  constexpr const char* kPercent[] = {"0%", "25%", "50%", "75%", "100%"};
  return label + ": " + kPercent[std::clamp(level, 0, kLightMaxBrightness)];
}

std::string SpeedDragCaption(const std::string& label, int position) {
  return label + "\xEF\xBC\x9A" + IntToDecimal(position);  // U+FF1A
}

int ColourFromChannels(int& red, int& green, int& blue) {
  red = std::clamp(red, 0, kLightMaxChannel);
  green = std::clamp(green, 0, kLightMaxChannel);
  blue = std::clamp(blue, 0, kLightMaxChannel);
  return red + green * 256 + blue * 65536;
}

LightingModel::LightingModel(SettingsDatabase& db, TaskPoster& poster, TextLookup texts)
    : db_(db), poster_(poster), texts_(std::move(texts)) {}

void EnsureLightRows(SettingsDatabase& db, int profile, const LightModeFlags& enabled) {
  if (db.GetLightCount(profile) != 0) return;
  for (int i = 0; i < kLightModeCount; ++i) {
    if (enabled[i]) db.AddLight(DefaultLightRow(profile, i));
  }
  db.SetActiveLight(profile, kFirstActiveMode);
}

void ResetLightRows(SettingsDatabase& db, int profile, const LightModeFlags& enabled) {
  for (int i = 0; i < kLightModeCount; ++i) {
    if (!enabled[i]) continue;
    const LightRecord row = DefaultLightRow(profile, i);
    if (db.GetLight(profile, row.mode)) {
      db.UpdateLight(row.mode, row);
    } else {
      db.AddLight(row);
    }
  }
  db.SetActiveLight(profile, kFirstActiveMode);
}

std::vector<LightRecord> LightingModel::Load(int profile, const LightModeFlags& enabled) {
  profile_ = profile;
  EnsureLightRows(db_, profile, enabled);
  std::vector<LightRecord> rows = db_.GetLights(profile);
  mode_ = db_.GetActiveLight(profile);
  // Without a row for the active mode (mode 1 not offered) fall back to the first row,
  // so the page always shows a mode that exists.
  const bool has_row = std::any_of(rows.begin(), rows.end(),
                                   [this](const LightRecord& r) { return r.mode == mode_; });
  if (!has_row && !rows.empty()) mode_ = rows.front().mode;
  return rows;
}

std::optional<LightView> LightingModel::ShowMode(int mode) {
  mode_ = mode;
  std::optional<LightRecord> row = db_.GetLight(profile_, mode);
  if (!row) return std::nullopt;
  db_.SetActiveLight(profile_, mode);
  LightView view;
  view.row = *row;
  view.show_brightness = row->config_func & kLightOffersBrightness;
  view.show_speed = row->config_func & kLightOffersSpeed;
  view.show_slots = row->config_func & kLightOffersSlots;
  view.tall = row->config_func & kLightTallLayout;
  view.brightness_caption = BrightnessCaption(texts_(kTextBrightnessCaption), row->brightness);
  view.speed_caption = texts_(kTextSpeedCaption) + ": " + IntToDecimal(row->speed);
  return view;
}

std::optional<LightView> LightingModel::ChooseMode(int mode) {
  std::optional<LightView> view = ShowMode(mode);
  poster_.Post(WorkerTask::kLightingMode);
  return view;
}

bool LightingModel::SetBrightness(int level) {
  std::optional<LightRecord> row = db_.GetLight(profile_, mode_);
  if (!row) return false;
  row->brightness = std::clamp(level, 0, kLightMaxBrightness);
  const bool stored = db_.UpdateLight(mode_, *row);
  poster_.Post(WorkerTask::kLightingMode);
  return stored;
}

bool LightingModel::SetSpeed(int level) {
  std::optional<LightRecord> row = db_.GetLight(profile_, mode_);
  if (!row) return false;
  row->speed = std::clamp(level, 0, kMaxSpeed);
  const bool stored = db_.UpdateLight(mode_, *row);
  poster_.Post(WorkerTask::kLightingMode);
  return stored;
}

bool LightingModel::ApplyColour(int colour, int marked_slot) {
  std::optional<LightRecord> row = db_.GetLight(profile_, mode_);
  if (!row) return false;
  if (row->config_func & kLightOffersSlots) {
    *Slots(*row)[std::clamp(marked_slot, 0, kLightSlots - 1)] = colour;
  } else {
    row->color_value1 = colour;
  }
  const bool stored = db_.UpdateLight(mode_, *row);
  poster_.Post(WorkerTask::kLightingMode);
  return stored;
}

}  // namespace corvane
