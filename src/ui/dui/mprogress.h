// A progress bar in the accent colour. In running mode ("MProgress2") a block sweeps
// along the bar on each animation tick, for waits without a known end.
#pragma once

#include "ui/dui/mcontrol.h"

namespace corvane::DUI {

class MProgress : public MControl {
 public:
  static constexpr int kDefaultMax = 100;
  static constexpr int kSweepSteps = 40;  // ticks for one pass of the running block

  MProgress(QWidget* parent, MDialog* owner, int id);

  // Sets the range; a `max` not above `min` is ignored. The value is clamped into it.
  void SetRange(int min, int max);
  // Sets the value, clamped into the range.
  void SetProgress(int value);
  // The range ends.
  int GetMin() const { return min_; }
  int GetMax() const { return max_; }
  // The current value.
  int GetProgress() const { return value_; }
  // Starts (true) or stops the sweeping block; `passes` is how many passes (-1 forever).
  void SetRun(bool run, int passes);
  // True while the block sweeps.
  bool IsRunning() const { return running_; }
  void OnMTimer() override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int min_ = 0;
  int max_ = kDefaultMax;
  int value_ = 0;
  bool running_ = false;
  int passes_left_ = -1;
  int step_ = 0;
};

using MProgress2 = MProgress;

}  // namespace corvane::DUI
