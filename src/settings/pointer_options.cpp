#include "settings/pointer_options.h"

#include <algorithm>

#include "base/text.h"
#include "store/config_keys.h"
#include "store/settings_database.h"

namespace corvane {
namespace {

constexpr int kSlowestDoubleClick = 900;
constexpr int kDoubleClickStep = 70;

}  // namespace

int DoubleClickTimeForPosition(int position) {
  if (position < 0 || position >= kDoubleClickPositions) return position;
  return kSlowestDoubleClick - kDoubleClickStep * position;
}

void PointerJob::SetPending(PointerAction action, int value) {
  std::lock_guard<std::mutex> lock(mutex_);
  action_ = action;
  value_ = value;
}

PointerResult PointerJob::Run() {
  PointerAction action;
  int value;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    action = action_;
    value = value_;
  }
  PointerResult result = PointerResult::kNotSupported;
  switch (action) {
    case PointerAction::kSpeed:
      result = backend_.SetSpeed(value);
      break;
    case PointerAction::kWheelLines:
      result = backend_.SetWheelLines(value);
      break;
    case PointerAction::kDoubleClick:
      result = backend_.SetDoubleClickTime(value);
      break;
    case PointerAction::kNone:
      break;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  last_ = result;
  return result;
}

std::optional<PointerResult> PointerJob::LastResult() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return last_;
}

PointerOptions::PointerOptions(SettingsDatabase& store, TaskPoster& poster, PointerJob& job)
    : store_(store), poster_(poster), job_(job) {}

int PointerOptions::Profile() const { return store_.GetActiveProfile(); }

int PointerOptions::ChangeSpeed(int range_start, int position, bool released) {
  const int speed = std::clamp(range_start + position + 1, kMinPointerSpeed, kMaxPointerSpeed);
  if (released) {
    job_.SetPending(PointerAction::kSpeed, speed);
    poster_.Post(WorkerTask::kPointerSettings);
  }
  store_.SetConfigInt(Profile(), kMouseSpeedKey, speed);
  return speed;
}

PointerResult PointerOptions::SetEnhancedPrecision(bool on) {
  const PointerResult result = job_.Backend().SetEnhancedPrecision(on);
  store_.SetConfigInt(Profile(), kMouseSensitivityKey, on ? 1 : 0);
  return result;
}

void PointerOptions::ReleaseWheelSlider(int range_start, int position) {
  job_.SetPending(PointerAction::kWheelLines,
                  std::clamp(range_start + position, kMinWheelLines, kMaxWheelLines));
  poster_.Post(WorkerTask::kPointerSettings);
}

int PointerOptions::ClampWheelLines(std::string_view text) {
  return std::clamp(DecimalToInt(text), kMinWheelLines, kMaxWheelLines);
}

PointerResult PointerOptions::ConfirmWheelLines(std::string_view text) {
  const int lines = ClampWheelLines(text);
  const PointerResult result = job_.Backend().SetWheelLines(lines);
  store_.SetConfigInt(Profile(), kWheelScrollLinesKey, lines);
  return result;
}

ScrollModeView PointerOptions::ChooseScrollMode(bool by_page) {
  ScrollModeView view;
  view.lines = by_page ? 0 : kDefaultWheelLines;
  view.edit_enabled = !by_page;
  view.result = job_.Backend().SetWheelLines(view.lines);
  store_.SetConfigInt(Profile(), kWheelScrollFlagKey, by_page ? 0 : 1);
  store_.SetConfigInt(Profile(), kWheelScrollLinesKey, view.lines);
  return view;
}

int PointerOptions::ChangeDoubleClick(int position) {
  const int time = DoubleClickTimeForPosition(position);
  job_.SetPending(PointerAction::kDoubleClick, time);
  poster_.Post(WorkerTask::kPointerSettings);
  store_.SetConfigInt(Profile(), kDoubleClickTimeKey, time);
  return time;
}

}  // namespace corvane
