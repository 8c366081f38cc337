// Measured starts and their medians.
#include "ui/startup_benchmark.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QProcess>
#include <QStringList>
#include <QWidget>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace corvane::ui {
namespace {

constexpr int kChildTimeoutMs = 30000;
constexpr const char* kReportTag = "first-paint-ms=";
constexpr const char* kCloseTag = "close-click-ns=";

// Process start as seen by the child: its own clock from the earliest point we control.
QElapsedTimer& SinceStart() {
  static QElapsedTimer timer = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  return timer;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

class FirstPaintFilter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !reported_) {
      reported_ = true;
      // Let the paint finish, then report and leave.
      QMetaObject::invokeMethod(
          this,
          [] {
            std::printf("%s%lld rss-kib=%ld\n", kReportTag,
                        static_cast<long long>(SinceStart().elapsed()), ResidentKilobytes());
            std::fflush(stdout);
            QCoreApplication::exit(0);
          },
          Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool reported_ = false;
};

}  // namespace

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

void MarkProcessStart() { SinceStart(); }

void ReportFirstPaint(QWidget* window) { window->installEventFilter(new FirstPaintFilter(window)); }

int RunStartupBenchmark(const std::string& executable, const std::vector<std::string>& args,
                        int runs) {
  std::vector<double> wall, inside, memory;
  QStringList arguments;
  for (const std::string& arg : args) {
    if (arg != "--benchmark-startup") arguments << QString::fromStdString(arg);
  }
  arguments << "--benchmark-child";
  for (int i = 0; i < runs; ++i) {
    QProcess child;
    QElapsedTimer timer;
    timer.start();
    child.start(QString::fromStdString(executable), arguments);
    if (!child.waitForFinished(kChildTimeoutMs)) {
      child.kill();
      child.waitForFinished();
      std::fprintf(stderr, "run %d did not paint in time\n", i + 1);
      return 1;
    }
    const double elapsed = static_cast<double>(timer.elapsed());
    std::istringstream out(child.readAllStandardOutput().toStdString());
    std::string token;
    double ms = -1, kib = -1;
    while (out >> token) {
      if (token.rfind(kReportTag, 0) == 0)
        ms = std::stod(token.substr(std::string(kReportTag).size()));
      if (token.rfind("rss-kib=", 0) == 0) kib = std::stod(token.substr(8));
    }
    if (ms < 0) {
      std::fprintf(stderr, "run %d reported nothing\n", i + 1);
      return 1;
    }
    wall.push_back(elapsed);
    inside.push_back(ms);
    memory.push_back(kib);
  }
  std::printf(
      "startup runs=%d median: launch-to-first-paint %.0f ms, in-process %.0f ms, resident %.1f "
      "MiB\n",
      runs, Median(wall), Median(inside), Median(memory) / 1024.0);
  return 0;
}

void ScheduleCloseClick(std::function<void()> click, int delay_ms) {
  QTimer::singleShot(delay_ms, [click = std::move(click)] {
    // The steady clock is the system's monotonic clock: the parent reads the same one.
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf("%s%lld\n", kCloseTag,
                static_cast<long long>(std::chrono::nanoseconds(now).count()));
    std::fflush(stdout);
    click();
  });
}

}  // namespace corvane::ui
