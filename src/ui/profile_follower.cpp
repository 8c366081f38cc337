// Focus sources for the window and the hand-over of switches to the GUI thread.
#include "ui/profile_follower.h"

#include <QApplication>
#include <QLineEdit>
#include <QMetaObject>

#include "focus/app_links.h"
#include "focus/process_focus_source.h"
#include "focus/pushed_focus_source.h"
#include "focus/x11_focus_source.h"
#include "store/settings_database.h"
#include "ui/device_main_dlg.h"
#include "ui/pages/macro_page.h"
#include "ui/pages_panel.h"
#include "ui/program_settings_page.h"
#include "worker/device_session.h"

namespace corvane::ui {
namespace {

// X11 first; on Wayland (or without an X server) the desktop script's reports, with the
// process fallback until the first one arrives.
std::vector<std::unique_ptr<FocusSource>> WindowSources() {
  std::vector<std::unique_ptr<FocusSource>> sources;
  if (!IsWaylandSession()) sources.push_back(std::make_unique<X11FocusSource>());
  sources.push_back(std::make_unique<PushedFocusSource>(std::make_unique<ProcessFocusSource>()));
  return sources;
}

// Long enough for one command's writes to land together.
constexpr int kStoreSettleMs = 200;

}  // namespace

ProfileFollower::ProfileFollower(DeviceMainDlg& window)
    : window_(window),
      service_(
          {[this] { return window_.Session().Store().GetActiveProfile(); },
           [this](int profile) {
             // Dropped with this object: nothing reaches a window that is going away.
             QMetaObject::invokeMethod(this, [this, profile] { Apply(profile); },
                                       Qt::QueuedConnection);
             return FollowService::SwitchOutcome::kDone;
           }},
          WindowSources) {
  store_changed_.setSingleShot(true);
  store_changed_.setInterval(kStoreSettleMs);
  connect(&store_changed_, &QTimer::timeout, this, [this] { Reload(); });
  connect(&store_watch_, &QFileSystemWatcher::fileChanged, this,
          [this] { store_changed_.start(); });
}

ProfileFollower::~ProfileFollower() { service_.Stop(); }

void ProfileFollower::Reload() {
  DeviceSession& session = window_.Session();
  SettingsDatabase& store = session.Store();
  AppLinks links = store.IsOpen() ? ReadAppLinks(store) : AppLinks{};
  int default_profile = ReadDefaultProfile(session.Values(), session.Model().DeviceAttr());
  if (default_profile == 0 && store.IsOpen()) {
    // Kept from now on: read again after a followed switch, the active profile would be the
    // linked one, and the mouse would never come back.
    default_profile = store.GetActiveProfile();
    WriteDefaultProfile(session.Values(), session.Model().DeviceAttr(), default_profile);
  }
  service_.Update(std::move(links), default_profile);
  WatchStore(store.IsOpen() ? store.Path() : std::string());
  if (ProgramSettingsPage* page = window_.SettingsPage()) page->ShowFollowSource();
}

void ProfileFollower::WatchStore(const std::string& path) {
  const QString file = QString::fromStdString(path);
  if (store_watch_.files() == QStringList{file}) return;
  if (!store_watch_.files().isEmpty()) store_watch_.removePaths(store_watch_.files());
  if (!file.isEmpty()) store_watch_.addPath(file);
}

void ProfileFollower::ChosenByHand(int profile) {
  DeviceSession& session = window_.Session();
  WriteDefaultProfile(session.Values(), session.Model().DeviceAttr(), profile);
  service_.SetDefault(profile);
}

bool ProfileFollower::Push(const std::string& app) { return service_.Push(app); }

bool ProfileFollower::Busy() const {
  if (!window_.LinkFlag()) return true;  // nothing to upload to
  const PagesPanel* pages = window_.Pages();
  if (pages != nullptr && pages->Macros() != nullptr && pages->Macros()->IsRecording()) return true;
  // An edit in progress (a name being typed, a value not yet confirmed) or a dialog.
  return QApplication::activeModalWidget() != nullptr ||
         qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr;
}

void ProfileFollower::Apply(int profile) {
  if (Busy()) {
    service_.RetryLater();
    return;
  }
  window_.ActivateProfile(profile);
}

}  // namespace corvane::ui
