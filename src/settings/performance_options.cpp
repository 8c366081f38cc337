#include "settings/performance_options.h"

#include <algorithm>

#include "base/text.h"
#include "store/config_keys.h"
#include "store/settings_database.h"

namespace corvane {
namespace {

constexpr int Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

const ReportRateItem kRateItems[] = {
    {"125Hz", 8, Rgb(241, 8, 1)},       {"250Hz", 4, Rgb(0, 107, 237)},
    {"500Hz", 2, Rgb(0, 246, 77)},      {"1000Hz", 1, Rgb(255, 163, 32)},
    {"2000Hz", 16, Rgb(43, 1, 201)},    {"4000Hz", 32, Rgb(0, 255, 255)},
    {"8000Hz", 64, Rgb(255, 255, 255)},
};
constexpr size_t kBaseRateItems = 4;

constexpr int kSensorBits[3] = {4, 8, 16};

}  // namespace

std::vector<ReportRateItem> ReportRateItems(int rate_class) {
  size_t count = rate_class == kHighRateClass ? std::size(kRateItems) : kBaseRateItems;
  return std::vector<ReportRateItem>(kRateItems, kRateItems + count);
}

const std::vector<SleepDelayItem>& SleepDelayItems() {
  static const std::vector<SleepDelayItem> items = {
      {10, 538, 1}, {30, 538, 3},  {1, 537, 6},   {2, 537, 12},
      {5, 537, 30}, {10, 537, 60}, {20, 537, 120}, {30, 537, 180},
  };
  return items;
}

PerformanceOptions::PerformanceOptions(SettingsDatabase& store, DeviceState& state,
                                       TaskPoster& poster)
    : store_(store), state_(state), poster_(poster) {}

int PerformanceOptions::Profile() const { return store_.GetActiveProfile(); }

PerformanceView PerformanceOptions::Load() const {
  PerformanceView view;
  view.response_time = store_.GetConfigInt(Profile(), kButtonRespondTimeKey, 0);
  view.rates = ReportRateItems(state_.RateClass());
  int rate = store_.GetConfigInt(Profile(), kReportRateKey, 0);
  for (size_t i = 0; i < view.rates.size(); ++i) {
    if (view.rates[i].code == rate) view.selected_rate = static_cast<int>(i);
  }
  int flags = store_.GetConfigInt(Profile(), kSensorFlagKey, 0);
  for (int i = 0; i < 3; ++i) view.sensor_box[i] = (flags & kSensorBits[i]) != 0;
  view.liftoff_two_mm = store_.GetConfigText(Profile(), kLiftoffHeightKey, "") == "2";
  int sleep = store_.GetConfigInt(Profile(), kSleepLightKey, 0);
  const auto& items = SleepDelayItems();
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].data == sleep) view.sleep_item = static_cast<int>(i);
  }
  view.move_wakeup = store_.GetConfigInt(Profile(), kMoveWakeupKey, 0) == 1;
  view.move_closelight = store_.GetConfigInt(Profile(), kMoveCloseLightKey, 0) == 1;
  return view;
}

OptionResult PerformanceOptions::Store(const char* key, int value, std::optional<WorkerTask> task) {
  store_.SetConfigInt(Profile(), key, value);
  OptionResult result;
  result.value = value;
  if (task) {
    poster_.Post(*task);
    result.posted = true;
    result.show_save_wait = state_.ShowSaveTips();
  }
  return result;
}

OptionResult PerformanceOptions::SelectReportRate(int item_index) {
  std::vector<ReportRateItem> items = ReportRateItems(state_.RateClass());
  if (item_index < 0 || item_index >= static_cast<int>(items.size())) return {};
  int code = items[static_cast<size_t>(item_index)].code;
  store_.SetConfigInt(Profile(), kReportRateWirelessKey, code);
  return Store(kReportRateKey, code, WorkerTask::kReportRate);
}

OptionResult PerformanceOptions::ResetReportRate(std::optional<int> definition_default) {
  if (!definition_default) {
    // The job still goes out so the mouse gets the stored rate again.
    poster_.Post(WorkerTask::kReportRate);
    OptionResult result;
    result.posted = true;
    result.show_save_wait = state_.ShowSaveTips();
    result.value = store_.GetConfigInt(Profile(), kReportRateKey, 0);
    return result;
  }
  store_.SetConfigInt(Profile(), kReportRateWirelessKey, *definition_default);
  return Store(kReportRateKey, *definition_default, WorkerTask::kReportRate);
}

OptionResult PerformanceOptions::SetLiftoff(bool two_mm) {
  return Store(kLiftoffHeightKey, two_mm ? 2 : 1, WorkerTask::kSensorOptions);
}

OptionResult PerformanceOptions::SetSensorSwitches(bool box1, bool box2, bool box3) {
  int flags = (box1 ? kSensorBits[0] : 0) + (box2 ? kSensorBits[1] : 0) + (box3 ? kSensorBits[2] : 0);
  return Store(kSensorFlagKey, flags, WorkerTask::kSensorOptions);
}

OptionResult PerformanceOptions::SetSleepDelay(int data) {
  return Store(kSleepLightKey, data, WorkerTask::kPowerOptions);
}

OptionResult PerformanceOptions::SetMoveWakeup(bool on) {
  return Store(kMoveWakeupKey, on ? 1 : 0, WorkerTask::kPowerOptions);
}

OptionResult PerformanceOptions::SetMoveCloseLight(bool on) {
  return Store(kMoveCloseLightKey, on ? 1 : 0, WorkerTask::kPowerOptions);
}

OptionResult PerformanceOptions::StoreResponseTime(std::string_view text,
                                                   std::optional<WorkerTask> task) {
  // An emptied field is not a wish for 0 ms: the stored time stays and is shown again.
  const std::optional<int> typed = DecimalPrefixToInt(text);
  if (!typed) {
    return OptionResult{false, false,
                        store_.GetConfigInt(Profile(), kButtonRespondTimeKey, 0)};
  }
  return Store(kButtonRespondTimeKey, std::clamp(*typed, 0, kMaxResponseTime), task);
}

OptionResult PerformanceOptions::CommitResponseTime(std::string_view text) {
  return StoreResponseTime(text, std::nullopt);
}

OptionResult PerformanceOptions::ConfirmResponseTime(std::string_view text) {
  return StoreResponseTime(text, WorkerTask::kPowerOptions);
}

}  // namespace corvane
