// Start-up measurement: the program starts itself several times, each child reports the
// time from its start to the first painted window and its resident memory then, and the
// parent prints the medians.
#pragma once

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace corvane::ui {

// Runs `runs` measured starts of `executable` with `args` (plus the child switch) and
// prints the medians. Returns 0 when every run reported, 1 otherwise.
int RunStartupBenchmark(const std::string& executable, const std::vector<std::string>& args,
                        int runs);

// Starts the child's clock; call first thing in main.
void MarkProcessStart();

// In a measured child: when `window` first paints, prints the figures and quits.
void ReportFirstPaint(QWidget* window);

// In a closing benchmark's child: after `delay_ms` prints "close-click-ns=<steady clock>"
// and runs `click` (the close button's click).
void ScheduleCloseClick(std::function<void()> click, int delay_ms);

// Resident memory of this process in KiB (0 when unknown).
long ResidentKilobytes();

}  // namespace corvane::ui
