#include "settings/performance_options.h"

#include <algorithm>

#include "base/text.h"
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

int PerformanceOptions::ReadInt(const char* key) const {
  return DecimalToInt(store_.GetConfigValue(Profile(), key).value_or(""));
}

PerformanceView PerformanceOptions::Load() const {
  PerformanceView view;
  view.response_time = ReadInt("button_respondtime");
  view.rates = ReportRateItems(state_.RateClass());
  int rate = ReadInt("report_rate");
  for (size_t i = 0; i < view.rates.size(); ++i) {
    if (view.rates[i].code == rate) view.selected_rate = static_cast<int>(i);
  }
  int flags = ReadInt("sensor_flag");
  for (int i = 0; i < 3; ++i) view.sensor_box[i] = (flags & kSensorBits[i]) != 0;
  view.liftoff_two_mm = store_.GetConfigValue(Profile(), "liftoff_height").value_or("") == "2";
  int sleep = ReadInt("sleep_light");
  const auto& items = SleepDelayItems();
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].data == sleep) view.sleep_item = static_cast<int>(i);
  }
  view.move_wakeup = ReadInt("move_wakeup") == 1;
  view.move_closelight = ReadInt("move_closelight") == 1;
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
  store_.SetConfigInt(Profile(), "report_rate_wireless", code);
  return Store("report_rate", code, WorkerTask::kReportRate);
}

OptionResult PerformanceOptions::ResetReportRate(std::optional<int> definition_default) {
  if (!definition_default) {
    // The job still goes out so the mouse gets the stored rate again.
    poster_.Post(WorkerTask::kReportRate);
    OptionResult result;
    result.posted = true;
    result.show_save_wait = state_.ShowSaveTips();
    result.value = ReadInt("report_rate");
    return result;
  }
  store_.SetConfigInt(Profile(), "report_rate_wireless", *definition_default);
  return Store("report_rate", *definition_default, WorkerTask::kReportRate);
}

OptionResult PerformanceOptions::SetLiftoff(bool two_mm) {
  return Store("liftoff_height", two_mm ? 2 : 1, WorkerTask::kSensorOptions);
}

OptionResult PerformanceOptions::SetSensorSwitches(bool box1, bool box2, bool box3) {
  int flags = (box1 ? kSensorBits[0] : 0) + (box2 ? kSensorBits[1] : 0) + (box3 ? kSensorBits[2] : 0);
  return Store("sensor_flag", flags, WorkerTask::kSensorOptions);
}

OptionResult PerformanceOptions::SetSleepDelay(int data) {
  return Store("sleep_light", data, WorkerTask::kPowerOptions);
}

OptionResult PerformanceOptions::SetMoveWakeup(bool on) {
  return Store("move_wakeup", on ? 1 : 0, WorkerTask::kPowerOptions);
}

OptionResult PerformanceOptions::SetMoveCloseLight(bool on) {
  return Store("move_closelight", on ? 1 : 0, WorkerTask::kPowerOptions);
}

OptionResult PerformanceOptions::CommitResponseTime(std::string_view text) {
  return Store("button_respondtime", std::clamp(DecimalToInt(text), 0, kMaxResponseTime),
               std::nullopt);
}

OptionResult PerformanceOptions::ConfirmResponseTime(std::string_view text) {
  return Store("button_respondtime", std::clamp(DecimalToInt(text), 0, kMaxResponseTime),
               WorkerTask::kPowerOptions);
}

}  // namespace corvane
