// The pointer settings operations without widgets: pointer speed, enhanced precision,
// scroll by lines or by page, lines per notch and the double-click time. Each stores its
// per-profile copy; speed, the wheel slider and the double-click time go to the desktop
// through the pointer job (task 22), the others at once.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "settings/pointer_settings.h"
#include "settings/task_poster.h"

namespace corvane {

class SettingsDatabase;

inline constexpr int kMinPointerSpeed = 1;
inline constexpr int kMaxPointerSpeed = 20;
inline constexpr int kMinWheelLines = 1;
inline constexpr int kMaxWheelLines = 20;
inline constexpr int kDefaultWheelLines = 3;
inline constexpr int kDoubleClickPositions = 11;  // slider positions 0..10

// What the pointer job applies; set before the job is posted.
enum class PointerAction { kNone = 0, kSpeed = 1, kWheelLines = 2, kDoubleClick = 3 };

// Double-click time for a slider position: 900 - 70 x position for 0..10; any other
// number is taken as the time itself.
int DoubleClickTimeForPosition(int position);

// The action and value the window hands the pointer job, and the job's last result.
// Shared between the window's thread and the worker.
class PointerJob {
 public:
  explicit PointerJob(PointerSettings& backend) : backend_(backend) {}
  void SetPending(PointerAction action, int value);
  // Task 22: applies the pending action. Returns its result (kNotSupported without one).
  PointerResult Run();
  // What the last Run reported (nullopt before any).
  std::optional<PointerResult> LastResult() const;
  PointerSettings& Backend() { return backend_; }

 private:
  PointerSettings& backend_;
  mutable std::mutex mutex_;
  PointerAction action_ = PointerAction::kNone;
  int value_ = 0;
  std::optional<PointerResult> last_;
};

// The scroll mode after a choice: the lines the edit shows and whether it is enabled.
struct ScrollModeView {
  int lines = 0;
  bool edit_enabled = false;
  PointerResult result = PointerResult::kApplied;
};

class PointerOptions {
 public:
  PointerOptions(SettingsDatabase& store, TaskPoster& poster, PointerJob& job);

  // Speed slider at `position` above `range_start`: the speed shown is range_start +
  // position + 1 (kept within 1..20) and stored; on release the job applies it.
  int ChangeSpeed(int range_start, int position, bool released);
  // Precision box: applied at once and stored.
  PointerResult SetEnhancedPrecision(bool on);
  // Wheel lines slider released at range_start + position: the job applies it.
  void ReleaseWheelSlider(int range_start, int position);
  // Lines typed (editing finished): the number clamped to 1..20, as the edit should show it.
  static int ClampWheelLines(std::string_view text);
  // Lines confirmed: applied at once and stored (clamped as above).
  PointerResult ConfirmWheelLines(std::string_view text);
  // Page (true) or lines: applied at once; stores the flag and the lines (0 or 3).
  ScrollModeView ChooseScrollMode(bool by_page);
  // Double-click slider released at `position`: stores the time, the job applies it.
  // Returns the time.
  int ChangeDoubleClick(int position);

 private:
  int Profile() const;

  SettingsDatabase& store_;
  TaskPoster& poster_;
  PointerJob& job_;
};

}  // namespace corvane
