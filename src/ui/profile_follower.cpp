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
          WindowSources) {}

ProfileFollower::~ProfileFollower() { service_.Stop(); }

void ProfileFollower::Reload() {
  DeviceSession& session = window_.Session();
  SettingsDatabase& store = session.Store();
  AppLinks links = store.IsOpen() ? ReadAppLinks(store) : AppLinks{};
  int default_profile = ReadDefaultProfile(session.Values(), session.Model().DeviceAttr());
  if (default_profile == 0) default_profile = store.GetActiveProfile();
  service_.Update(std::move(links), default_profile);
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
