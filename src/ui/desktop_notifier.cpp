#include "ui/desktop_notifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace corvane::ui {
namespace {

constexpr char kService[] = "org.freedesktop.Notifications";
constexpr char kPath[] = "/org/freedesktop/Notifications";
constexpr char kIconName[] = "corvane";      // the installed icon's theme name
constexpr char kDesktopEntry[] = "corvane";  // corvane.desktop
constexpr uchar kUrgencyNormal = 1;
constexpr uchar kUrgencyCritical = 2;
constexpr int kServerDefaultTimeout = -1;

}  // namespace

bool DesktopNotifier::Send(const std::string& summary, const std::string& body,
                           bool critical) const {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, "Notify");
  const QVariantMap hints = {
      {"urgency", QVariant::fromValue(critical ? kUrgencyCritical : kUrgencyNormal)},
      {"desktop-entry", QString(kDesktopEntry)}};
  call.setArguments({QString::fromStdString(app_name_), 0u, QString(kIconName),
                     QString::fromStdString(summary), QString::fromStdString(body), QStringList(),
                     hints, kServerDefaultTimeout});
  // Not waited for: a missing or slow server must not hold the window.
  return bus.send(call);
}

}  // namespace corvane::ui
