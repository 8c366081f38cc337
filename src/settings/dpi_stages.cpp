#include "settings/dpi_stages.h"

#include <algorithm>
#include <string>

#include "base/text.h"
#include "settings/sensor_scale.h"
#include "store/settings_database.h"

namespace corvane {
namespace {

std::string StageKey(int index, const char* suffix) {
  return "dpi_group" + std::to_string(index) + suffix;
}

}  // namespace

DpiStages::DpiStages(SettingsDatabase& store, DeviceState& state, TaskPoster& poster)
    : store_(store), state_(state), poster_(poster) {}

int DpiStages::Profile() const { return store_.GetActiveProfile(); }

int DpiStages::ReadInt(int profile, const char* key) const {
  return DecimalToInt(store_.GetConfigValue(profile, key).value_or(""));
}

void DpiStages::WriteInt(int profile, const char* key, int value) {
  store_.SetConfigInt(profile, key, value);
}

int DpiStages::StageValue(int profile, int index) const {
  return DecimalToInt(store_.GetConfigValue(profile, StageKey(index, "_value")).value_or(""));
}

DpiPageView DpiStages::View() const {
  int profile = Profile();
  DpiPageView view;
  view.count = std::clamp(ReadInt(profile, "dpi_count"), 1, kMaxDpiStages);
  for (int i = 0; i < view.count; ++i) {
    DpiStage stage;
    stage.value = StageValue(profile, i);
    stage.rgb = DecimalToInt(store_.GetConfigValue(profile, StageKey(i, "_rgb")).value_or(""));
    view.stages.push_back(stage);
  }
  view.index = ReadInt(profile, "dpi_index");
  if (view.index < 0 || view.index >= view.count) view.index = 0;
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
  if (popup && state_.ShowDpiTips()) result.popup_dpi = popup;
  return result;
}

DpiActionResult DpiStages::ChangeCount(int count) {
  int profile = Profile();
  count = std::clamp(count, 1, kMaxDpiStages);
  int index = ReadInt(profile, "dpi_index");
  WriteInt(profile, "dpi_count", count);
  if (count - 1 < index) {
    index = count - 1;
    WriteInt(profile, "dpi_index", index);
  }
  state_.SetCachedStages(count, index);
  return Posted(WorkerTask::kDpiStageValues);
}

DpiActionResult DpiStages::SelectStage(int index) {
  int profile = Profile();
  if (index < 0 || index >= kMaxDpiStages) return {};
  WriteInt(profile, "dpi_index", index);
  if (index == state_.CachedIndex()) return {};
  state_.SetCachedIndex(index);
  return Posted(WorkerTask::kDpiStageValues, StageValue(profile, index));
}

DpiActionResult DpiStages::SetColour(int index, int rgb) {
  if (rgb == 0 || index < 0 || index >= kMaxDpiStages) return {};
  int profile = Profile();
  store_.SetConfigInt(profile, StageKey(index, "_rgb"), rgb);
  return Posted(WorkerTask::kDpiStageColours, StageValue(profile, index));
}

DpiActionResult DpiStages::TypeValue(int index, std::string_view text) {
  if (index < 0 || index >= kMaxDpiStages) return {};
  int profile = Profile();
  int value = NormaliseTypedDpi(state_.Sensor(), DecimalToInt(text));
  store_.SetConfigInt(profile, StageKey(index, "_value"), value);
  poster_.Post(WorkerTask::kDpiStageValues);
  DpiActionResult result;
  result.posted = true;
  result.value = value;
  if (index != state_.CachedIndex()) {
    state_.SetCachedIndex(index);
    if (state_.ShowDpiTips()) result.popup_dpi = value;
    result.show_save_wait = state_.ShowSaveTips();
  }
  return result;
}

DpiActionResult DpiStages::MoveSlider(int index, int position) {
  DpiActionResult result;
  result.value = SliderPositionToDpi(state_.Sensor(), position);
  if (index < 0 || index >= kMaxDpiStages) return result;
  store_.SetConfigInt(Profile(), StageKey(index, "_value"), result.value);
  return result;
}

DpiActionResult DpiStages::Apply() { return Posted(WorkerTask::kDpiStageValues); }

DpiActionResult DpiStages::Reset() { return Posted(WorkerTask::kFactoryDpi); }

}  // namespace corvane
