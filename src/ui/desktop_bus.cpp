// Marshalling and dispatch of the session-bus object; the checks, the snapshot and its
// comparison are Qt-free (worker/desktop_status.h).
#include "ui/desktop_bus.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusVariant>

#include "settings/dpi_stages.h"
#include "ui/desktop_bus_xml.h"
#include "ui/device_main_dlg.h"
#include "ui/profile_follower.h"
#include "ui/dialogs/profile_dlg.h"
#include "ui/pages_panel.h"
#include "worker/device_session.h"
#include "worker/job_outcomes.h"

namespace corvane::ui {

// One entry of the Profiles property: (isb).
struct BusProfile {
  int id = 0;
  QString name;
  bool active = false;
};

QDBusArgument& operator<<(QDBusArgument& argument, const BusProfile& profile) {
  argument.beginStructure();
  argument << profile.id << profile.name << profile.active;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, BusProfile& profile) {
  argument.beginStructure();
  argument >> profile.id >> profile.name >> profile.active;
  argument.endStructure();
  return argument;
}

}  // namespace corvane::ui

Q_DECLARE_METATYPE(corvane::ui::BusProfile)

namespace corvane::ui {
namespace {

constexpr char kPropertiesInterface[] = "org.freedesktop.DBus.Properties";
constexpr char kErrorUnknownProperty[] = "org.freedesktop.DBus.Error.UnknownProperty";
constexpr char kErrorReadOnly[] = "org.freedesktop.DBus.Error.PropertyReadOnly";
constexpr char kErrorUnknownMethod[] = "org.freedesktop.DBus.Error.UnknownMethod";

QString Q(const std::string& text) { return QString::fromStdString(text); }

QVariant DevicesValue(const std::vector<DesktopDevice>& devices) {
  QList<QVariantMap> list;
  for (const DesktopDevice& device : devices) {
    list.push_back({{"model", Q(device.model)},
                    {"device_type", device.device_type},
                    {"connection", device.connection},
                    {"online", device.online},
                    {"battery", device.battery},
                    {"charging", device.charging},
                    {"firmware", Q(device.firmware)},
                    {"active", device.active}});
  }
  return QVariant::fromValue(list);
}

QVariant ProfilesValue(const std::vector<DesktopProfile>& profiles) {
  QList<BusProfile> list;
  for (const DesktopProfile& profile : profiles) {
    list.push_back({profile.id, Q(profile.name), profile.active});
  }
  return QVariant::fromValue(list);
}

QVariant PropertyValue(const DesktopStatus& status, const QString& name) {
  if (name == kPropertyDevices) return DevicesValue(status.devices);
  if (name == kPropertyActiveProfile) return status.active_profile;
  if (name == kPropertyProfiles) return ProfilesValue(status.profiles);
  if (name == kPropertyDpiStages) {
    return QVariant::fromValue(QList<int>(status.dpi_stages.begin(), status.dpi_stages.end()));
  }
  if (name == kPropertyActiveDpiStage) return status.active_dpi_stage;
  return {};
}

// The <interface> element of the shipped description.
QString InterfaceXml() {
  const QString xml = QString::fromUtf8(kDesktopBusXml);
  const qsizetype start = xml.indexOf("<interface");
  const QString end_tag = "</interface>";
  const qsizetype end = xml.indexOf(end_tag);
  if (start < 0 || end < start) return {};
  return xml.mid(start, end + end_tag.size() - start) + "\n";
}

}  // namespace

DesktopBus::DesktopBus(DeviceMainDlg& window, JobOutcomes& outcomes,
                       std::function<DesktopStatus()> status, std::function<void()> changed)
    : window_(window),
      outcomes_(outcomes),
      status_(std::move(status)),
      changed_(std::move(changed)) {
  qDBusRegisterMetaType<BusProfile>();
  qDBusRegisterMetaType<QList<BusProfile>>();
  qDBusRegisterMetaType<QList<QVariantMap>>();
}

DesktopBus::~DesktopBus() {
  if (!registered_) return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  bus.unregisterService(kBusName);
  bus.unregisterObject(kBusPath);
}

bool DesktopBus::Start(std::string& error) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    error = "no session bus: " + bus.lastError().message().toStdString();
    return false;
  }
  if (!bus.registerVirtualObject(kBusPath, this, QDBusConnection::SingleNode)) {
    error = std::string("cannot serve ") + kBusPath;
    return false;
  }
  registered_ = true;
  if (!bus.registerService(kBusName)) {
    error = std::string("cannot own ") + kBusName + ": " + bus.lastError().message().toStdString();
    return false;
  }
  return true;
}

QString DesktopBus::introspect(const QString&) const { return InterfaceXml(); }

bool DesktopBus::handleMessage(const QDBusMessage& message, const QDBusConnection&) {
  if (message.type() != QDBusMessage::MethodCallMessage) return false;
  if (message.interface() == kPropertiesInterface) return HandleProperties(message);
  if (message.interface() == kBusInterface || message.interface().isEmpty()) {
    HandleMethod(message);
    return true;
  }
  return false;  // the bus library answers Introspectable and Peer
}

bool DesktopBus::HandleProperties(const QDBusMessage& message) {
  const QVariantList args = message.arguments();
  const QString member = message.member();
  if (args.isEmpty() || args[0].toString() != kBusInterface) {
    Send(message.createErrorReply(kErrorInvalidArgs, "no such interface"));
    return true;
  }
  if (member == "GetAll" && message.signature() == "s") {
    const DesktopStatus status = status_();
    QVariantMap all;
    for (const char* name : {kPropertyDevices, kPropertyActiveProfile, kPropertyProfiles,
                             kPropertyDpiStages, kPropertyActiveDpiStage}) {
      all.insert(name, PropertyValue(status, name));
    }
    Send(message.createReply(QVariant::fromValue(all)));
  } else if (member == "Get" && message.signature() == "ss") {
    const QVariant value = PropertyValue(status_(), args[1].toString());
    if (!value.isValid()) {
      Send(message.createErrorReply(kErrorUnknownProperty, "no property " + args[1].toString()));
    } else {
      Send(message.createReply(QVariant::fromValue(QDBusVariant(value))));
    }
  } else if (member == "Set") {
    Send(message.createErrorReply(kErrorReadOnly, "the properties are read-only"));
  } else {
    Send(message.createErrorReply(kErrorUnknownMethod, "no method " + member));
  }
  return true;
}

void DesktopBus::HandleMethod(const QDBusMessage& message) {
  const QVariantList args = message.arguments();
  const QString member = message.member();
  const QString signature = message.signature();
  if (member == "SetActiveProfile" && signature == "i") {
    SetActiveProfile(message, args[0].toInt());
  } else if (member == "SetActiveDpiStage" && signature == "i") {
    SetActiveDpiStage(message, args[0].toInt());
  } else if (member == "SetDpiStageValue" && signature == "ii") {
    SetDpiStageValue(message, args[0].toInt(), args[1].toInt());
  } else if (member == "ReportActiveApplication" && signature == "s") {
    // A desktop script tells which application has the focus; nothing to wait for.
    window_.Follower().Push(args[0].toString().toStdString());
    Send(message.createReply());
  } else if (member == "SetActiveProfile" || member == "SetActiveDpiStage" ||
             member == "SetDpiStageValue" || member == "ReportActiveApplication") {
    Send(message.createErrorReply(kErrorInvalidArgs, "arguments of type " + signature));
  } else {
    Send(message.createErrorReply(kErrorUnknownMethod, "no method " + member));
  }
}

void DesktopBus::RunAction(const QDBusMessage& message,
                           const std::function<QVariantList()>& action) {
  Pending pending;
  pending.call = message;
  pending.after = outcomes_.LastPosted();
  pending.out = action();
  pending.last = outcomes_.LastPosted();
  pending_.push_back(std::move(pending));
  if (changed_) changed_();  // the store changed first: the signals need not wait
  AnswerFinished();
}

void DesktopBus::AnswerFinished() {
  for (auto it = pending_.begin(); it != pending_.end();) {
    if (!outcomes_.Done(it->last)) {
      ++it;
      continue;
    }
    if (auto failure = outcomes_.FirstFailure(it->after, it->last)) {
      ReplyError(it->call, CommandError(failure->command, failure->outcome));
    } else {
      Send(it->call.createReply(it->out));
    }
    it = pending_.erase(it);
  }
}

void DesktopBus::SetActiveProfile(const QDBusMessage& message, int id) {
  if (auto error = CheckProfileRequest(status_(), id, window_.LinkFlag())) {
    return ReplyError(message, *error);
  }
  RunAction(message, [this, id] {
    window_.OnProfileChosen(kProfileActivate, id);
    return QVariantList{};
  });
}

void DesktopBus::SetActiveDpiStage(const QDBusMessage& message, int stage) {
  if (auto error = CheckStageRequest(status_(), stage, window_.LinkFlag())) {
    return ReplyError(message, *error);
  }
  RunAction(message, [this, stage] {
    DeviceSession& session = window_.Session();
    DpiStages(session.Store(), session.State(), session.Worker()).SelectStage(stage);
    if (window_.Pages() != nullptr) window_.Pages()->RefreshPage(DevicePage::kDpi);
    return QVariantList{};
  });
}

void DesktopBus::SetDpiStageValue(const QDBusMessage& message, int stage, int dpi) {
  if (auto error = CheckStageValueRequest(status_(), stage, dpi, window_.LinkFlag())) {
    return ReplyError(message, *error);
  }
  RunAction(message, [this, stage, dpi] {
    DeviceSession& session = window_.Session();
    const DpiActionResult result = DpiStages(session.Store(), session.State(), session.Worker())
                                       .TypeValue(stage, std::to_string(dpi), true);
    // Another row's value must not move the stage the mouse is on.
    CacheStoredDpiStages(session.Store(), session.State());
    if (window_.Pages() != nullptr) window_.Pages()->RefreshPage(DevicePage::kDpi);
    return QVariantList{result.value};
  });
}

void DesktopBus::Announce(const DesktopStatus& before, const DesktopStatus& after) {
  const DesktopChanges changes = CompareDesktopStatus(before, after);
  if (changes.Empty() || !registered_) return;
  auto signal = [](const char* name, const QVariantList& args) {
    QDBusMessage message = QDBusMessage::createSignal(kBusPath, kBusInterface, name);
    message.setArguments(args);
    QDBusConnection::sessionBus().send(message);
  };
  for (const DesktopDevice& device : changes.battery) {
    signal("BatteryChanged", {Q(device.model), device.battery, device.charging});
  }
  for (const DesktopDevice& device : changes.online) {
    signal("OnlineChanged", {Q(device.model), device.connection, device.online});
  }
  if (changes.profile) signal("ProfileChanged", {after.active_profile});
  if (changes.dpi_stage) signal("DpiStageChanged", {after.active_dpi_stage, after.ActiveDpi()});
  QVariantMap values;
  for (const std::string& name : changes.properties) {
    values.insert(Q(name), PropertyValue(after, Q(name)));
  }
  QDBusMessage message =
      QDBusMessage::createSignal(kBusPath, kPropertiesInterface, "PropertiesChanged");
  message.setArguments({QString(kBusInterface), values, QStringList()});
  QDBusConnection::sessionBus().send(message);
}

void DesktopBus::ReplyError(const QDBusMessage& message, const DesktopError& error) {
  Send(message.createErrorReply(Q(error.name), Q(error.message)));
}

void DesktopBus::Send(const QDBusMessage& message) { QDBusConnection::sessionBus().send(message); }

}  // namespace corvane::ui
