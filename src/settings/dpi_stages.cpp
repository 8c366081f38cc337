#include "settings/dpi_stages.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>

#include "base/text.h"
#include "settings/sensor_scale.h"
#include "store/config_keys.h"
#include "store/settings_database.h"

namespace corvane {
namespace {

// Count (1..6) and current stage of `profile` as the page shows them: a stage outside
// the count is the first one.
std::pair<int, int> StoredCountAndIndex(SettingsDatabase& store, int profile) {
  const int count = std::clamp(store.GetConfigInt(profile, kDpiCountKey, 0), 1, kMaxDpiStages);
  int index = store.GetConfigInt(profile, kDpiIndexKey, 0);
  if (index < 0 || index >= count) index = 0;
  return {count, index};
}

}  // namespace

void CacheStoredDpiStages(SettingsDatabase& store, DeviceState& state) {
  const auto [count, index] = StoredCountAndIndex(store, store.GetActiveProfile());
  state.SetCachedStages(count, index);
}

DpiStages::DpiStages(SettingsDatabase& store, DeviceState& state, TaskPoster& poster)
    : store_(store), state_(state), poster_(poster) {}

int DpiStages::Profile() const { return store_.GetActiveProfile(); }

int DpiStages::StageValue(int profile, int index) const {
  return store_.GetConfigInt(profile, DpiStageValueKey(index), 0);
}

DpiPageView DpiStages::View() const {
  int profile = Profile();
  DpiPageView view;
  std::tie(view.count, view.index) = StoredCountAndIndex(store_, profile);
  for (int i = 0; i < view.count; ++i) {
    DpiStage stage;
    stage.value = StageValue(profile, i);
    stage.rgb = store_.GetConfigInt(profile, DpiStageColourKey(i), 0);
    view.stages.push_back(stage);
  }
  view.slider_position = DpiToSliderPosition(state_.Sensor(), StageValue(profile, view.index));
  return view;
}

DpiPageView DpiStages::Load() {
  DpiPageView view = View();
  state_.SetCachedStages(view.count, view.index);
  return view;
}

DpiActionResult DpiStages::Posted(WorkerTask task, std::optional<int> popup) {
  poster_.Post(task);
  DpiActionResult result;
  result.posted = true;
  result.show_save_wait = state_.ShowSaveTips();
  if (popup && state_.ShowDpiTips()) state_.SetPendingDpiPopup(popup);
  return result;
}

DpiActionResult DpiStages::ChangeCount(int count) {
  int profile = Profile();
  count = std::clamp(count, 1, kMaxDpiStages);
  int index = store_.GetConfigInt(profile, kDpiIndexKey, 0);
  store_.SetConfigInt(profile, kDpiCountKey, count);
  if (count - 1 < index) {
    index = count - 1;
    store_.SetConfigInt(profile, kDpiIndexKey, index);
  }
  state_.SetCachedStages(count, index);
  return Posted(WorkerTask::kDpiStageValues);
}

DpiActionResult DpiStages::SelectStage(int index) {
  int profile = Profile();
  // Only a stage the list shows can be the mouse's current one.
  if (index < 0 || index >= StoredCountAndIndex(store_, profile).first) return {};
  store_.SetConfigInt(profile, kDpiIndexKey, index);
  if (index == state_.CachedIndex()) return {};
  state_.SetCachedIndex(index);
  return Posted(WorkerTask::kDpiStageValues, StageValue(profile, index));
}

DpiActionResult DpiStages::SetColour(int index, int rgb) {
  if (rgb == 0 || index < 0 || index >= kMaxDpiStages) return {};
  int profile = Profile();
  store_.SetConfigInt(profile, DpiStageColourKey(index), rgb);
  return Posted(WorkerTask::kDpiStageColours, StageValue(profile, index));
}

DpiActionResult DpiStages::TypeValue(int index, std::string_view text, bool keep_current) {
  if (index < 0 || index >= kMaxDpiStages) return {};
  int profile = Profile();
  // A field emptied or holding more than digits ("abc", "1,600") is not a wish for the
  // lowest DPI: the stage keeps its value and nothing is sent.
  const std::optional<int> typed = TypedDigitsToInt(text);
  if (!typed) return DpiActionResult{false, false, StageValue(profile, index)};
  int value = NormaliseTypedDpi(state_.Sensor(), *typed);
  store_.SetConfigInt(profile, DpiStageValueKey(index), value);
  poster_.Post(WorkerTask::kDpiStageValues);
  DpiActionResult result;
  result.posted = true;
  result.value = value;
  // Typing into another shown stage makes it the current one in the store, the page and
  // (through the job just posted) the mouse alike; a cache moved alone would hide the
  // mouse's next stage change onto it and swallow a later click on it.
  if (!keep_current && index != state_.CachedIndex() &&
      index < StoredCountAndIndex(store_, profile).first) {
    store_.SetConfigInt(profile, kDpiIndexKey, index);
    state_.SetCachedIndex(index);
    if (state_.ShowDpiTips()) state_.SetPendingDpiPopup(value);
    result.show_save_wait = state_.ShowSaveTips();
  }
  return result;
}

DpiActionResult DpiStages::MoveSlider(int index, int position) {
  DpiActionResult result;
  result.value = SliderPositionToDpi(state_.Sensor(), position);
  if (index < 0 || index >= kMaxDpiStages) return result;
  store_.SetConfigInt(Profile(), DpiStageValueKey(index), result.value);
  return result;
}

DpiActionResult DpiStages::Apply() { return Posted(WorkerTask::kDpiStageValues); }

DpiActionResult DpiStages::Reset() { return Posted(WorkerTask::kFactoryDpi); }

}  // namespace corvane
