// The performance page without widgets: report rate, lift-off, sensor switches,
// sleep delay, wake and light-off on movement, and the button response time. Each
// committed change is written to the active profile and posted to the worker.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/device_state.h"
#include "settings/task_poster.h"

namespace corvane {

class SettingsDatabase;

inline constexpr int kMaxResponseTime = 20;
inline constexpr int kHighRateClass = 7;

struct ReportRateItem {
  const char* text;
  int code;
  int colour;  // red in the low byte
};

struct SleepDelayItem {
  int amount;    // the number shown before the unit word
  int text_id;   // language text of the unit: 538 seconds, 537 minutes
  int data;      // stored value, units of 10 s
};

// The report-rate items offered for a rate class: 125..1000 Hz, plus 2000..8000 Hz
// for class 7.
std::vector<ReportRateItem> ReportRateItems(int rate_class);
const std::vector<SleepDelayItem>& SleepDelayItems();

struct PerformanceView {
  int response_time = 0;
  std::vector<ReportRateItem> rates;
  std::optional<int> selected_rate;  // index into rates; none when the code matches no item
  bool sensor_box[3] = {false, false, false};
  bool liftoff_two_mm = false;
  std::optional<int> sleep_item;     // index into SleepDelayItems()
  bool move_wakeup = false;
  bool move_closelight = false;
};

struct OptionResult {
  bool posted = false;
  bool show_save_wait = false;
  int value = 0;  // the stored value (response time, reset rate)
};

class PerformanceOptions {
 public:
  PerformanceOptions(SettingsDatabase& store, DeviceState& state, TaskPoster& poster);

  // Reads every option of the active profile for display. Writes nothing.
  PerformanceView Load() const;

  // A report-rate item (index into the shown items): both rate keys, posts the report rate.
  OptionResult SelectReportRate(int item_index);
  // The definition's default code (none = element missing: nothing stored), posts the report rate.
  OptionResult ResetReportRate(std::optional<int> definition_default);
  OptionResult SetLiftoff(bool two_mm);
  // The three sensor boxes; bits of the old value outside 4, 8, 16 are dropped.
  OptionResult SetSensorSwitches(bool box1, bool box2, bool box3);
  OptionResult SetSleepDelay(int data);
  OptionResult SetMoveWakeup(bool on);
  OptionResult SetMoveCloseLight(bool on);
  // Response time typed: clamped to 0..20 and stored; nothing is posted. Text with no
  // number (an emptied field) stores nothing; both give back the stored value to show.
  OptionResult CommitResponseTime(std::string_view text);
  // Response time confirmed: stores the text's value (clamped), posts the power options.
  OptionResult ConfirmResponseTime(std::string_view text);

 private:
  int Profile() const;
  OptionResult Store(const char* key, int value, std::optional<WorkerTask> task);
  OptionResult StoreResponseTime(std::string_view text, std::optional<WorkerTask> task);

  SettingsDatabase& store_;
  DeviceState& state_;
  TaskPoster& poster_;
};

}  // namespace corvane
