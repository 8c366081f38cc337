// Start-up order of the window program.
#include "ui/window_program.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/app_config.h"
#include "app/app_folders.h"
#include "device/hotplug_match.h"
#include "ui/autorun_entry.h"
#include "ui/desktop_integration.h"
#include "ui/device_list_mirror.h"
#include "ui/device_main_dlg.h"
#include "ui/dui/cdevice_list.h"
#include "ui/dui/manager.h"
#include "ui/hotplug_watcher.h"
#include "ui/main_window_view.h"
#include "ui/sim_control_window.h"
#include "ui/single_instance.h"
#include "worker/device_session.h"

namespace corvane::ui {
namespace {

constexpr uint32_t kMainWindowStyle = 0x96000000u;
constexpr double kBaseDpi = 96.0;

}  // namespace

WindowProgram::WindowProgram(std::string executable) : executable_(std::move(executable)) {}

WindowProgram::~WindowProgram() {
  if (view_) view_->Attach(nullptr);
  if (session_ && !session_->StopWorker()) {
    // A job stuck in device or network I/O would hold the exit without end, and tearing
    // down what it uses would crash it: the process ends here, releasing everything.
    std::fflush(nullptr);
    std::_Exit(0);
  }
  desktop_.reset();  // the worker no longer reports to it
  window_.reset();
  hotplug_.reset();
  sim_window_.reset();
  session_.reset();   // the simulator saves its state file here
  instance_.reset();  // last: a new copy starts only once this one has let go of all
}

void WindowProgram::WindowSize(int& width, int& height) {
  width = kDesignWidth;
  height = kDesignHeight;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const double ratio = screen->devicePixelRatio();
  const QSize pixels = screen->size() * ratio;
  const int dpi = static_cast<int>(std::lround(kBaseDpi * ratio));
  // Drawn at device pixels, the window keeps its design size in pixels; otherwise the
  // platform's scaling enlarges it.
  if (ShouldBeDpiAware(pixels.width(), pixels.height(), dpi) && ratio > 1.0) {
    width = static_cast<int>(width / ratio);
    height = static_cast<int>(height / ratio);
  }
}

WindowProgram::StartResult WindowProgram::Start(const StartupOptions& options, std::string& error) {
  const std::filesystem::path folder = ResolveProgramFolder(options.session.program_dir);
  const ApplicationConfig config = ReadApplicationConfig(folder);
  if (config.loaded && !config.caption.empty()) DUI::Manager::SetDeviceName(config.caption);
  DUI::Manager::SetProgramDir(folder.string());

  // The caption is claimed before anything else is built, so of two overlapping starts
  // only one ever builds a window.
  if (!options.benchmark_child) {
    instance_ = std::make_unique<SingleInstance>(DUI::Manager::GetDeviceName());
    if (instance_->TakeOver() == SingleInstance::Claim::kOtherRunning) {
      return StartResult::kAlreadyRunning;
    }
  }

  mirror_ = std::make_unique<DeviceListMirror>();
  view_ = std::make_unique<MainWindowView>(*mirror_);
  session_ = std::make_unique<DeviceSession>();
  SessionOptions session_options = options.session;
  session_options.program_dir = folder;
  // Without a usable config.xml the window still runs, showing no device.
  session_options.require_config = false;
  if (!session_->Open(session_options, *view_, error)) return StartResult::kFailed;
  autorun_ = std::make_unique<AutorunEntry>(DUI::Manager::GetDeviceName(), executable_);

  window_ = std::make_unique<DeviceMainDlg>(*session_, *mirror_, *autorun_);
  view_->Attach(window_.get());
  int width = 0, height = 0;
  WindowSize(width, height);
  // The login entry's start honours "start minimised" as "-hide" does.
  const bool hide = StartsHidden(options, session_->Values().ReadAutorunMinimize());
  const uint32_t style = hide ? kMainWindowStyle & ~DUI::kStyleVisible : kMainWindowStyle;
  if (!window_->Create(nullptr, DUI::Manager::GetDeviceName(), style, 0,
                       DUI::Rect{0, 0, width, height})) {
    error = "cannot create the main window";
    return StartResult::kFailed;
  }
  window_->CenterWindow();
  // The frame resizes by its edges; the layout is drawn for the start size at the least.
  window_->SetResizableFrame(true);
  window_->GetSafeHwnd()->setMinimumSize(width, height);
  if (instance_) instance_->SetShowHandler([this] { window_->ShowFromTray(); });
  // Without a tray a hidden start would leave nothing to click: start minimised then.
  // The keyboard starts on the device list, the page's one task, not on whatever control
  // happens to come first in the frame.
  window_->DeviceList()->setFocus();
  if (!hide) {
    window_->ShowWindow(DUI::kShowNormal);
  } else if (!window_->TrayVisible()) {
    window_->ShowWindow(DUI::kShowMinimized);
  }
  desktop_ = std::make_unique<DesktopIntegration>(*window_, *view_);
  if (std::string bus_error; !desktop_->Start(bus_error)) {
    std::fprintf(stderr, "corvane: no desktop interface: %s\n", bus_error.c_str());
  }
  if (SimBackend* sim = session_->Simulator()) {
    // The panel's plug buttons raise what the system raises for a real device.
    sim_window_ = std::make_unique<SimControlWindow>(*sim, [this](const HotplugEvent& event) {
      const HotplugAction action =
          MatchHotplugEvent(event, session_->Model().KnownDevices(), session_->State().IdlePoll());
      if (const std::optional<WorkerTask> task = TaskOf(action)) session_->Worker().Post(*task);
    });
    if (!hide) sim_window_->show();
  } else {
    hotplug_ = std::make_unique<HotplugWatcher>(*session_);
    hotplug_->Start();
  }
  return StartResult::kStarted;
}

}  // namespace corvane::ui
