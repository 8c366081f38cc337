// Starting the desktop's mouse settings.
#include "ui/pages/system_mouse_settings.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <cstdlib>

namespace corvane::ui {
namespace {

const MouseSettingsCommand kGnome{"gnome-control-center", {"mouse"}};
const MouseSettingsCommand kKde6{"systemsettings", {"kcm_mouse"}};
const MouseSettingsCommand kKde5{"systemsettings5", {"kcm_mouse"}};

bool Names(const std::string& desktop, const char* name) {
  return QString::fromStdString(desktop).split(':').contains(name, Qt::CaseInsensitive);
}

}  // namespace

std::vector<MouseSettingsCommand> MouseSettingsCommands(
    const std::string& desktop, const std::function<bool(const std::string&)>& exists) {
  std::vector<MouseSettingsCommand> order;
  if (Names(desktop, "KDE")) {
    order = {kKde6, kKde5, kGnome};
  } else {
    order = {kGnome, kKde6, kKde5};
  }
  std::vector<MouseSettingsCommand> found;
  for (const MouseSettingsCommand& command : order) {
    if (exists(command.program)) found.push_back(command);
  }
  return found;
}

bool OpenSystemMouseSettings() {
  const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
  const auto exists = [](const std::string& program) {
    return !QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
  };
  for (const MouseSettingsCommand& command :
       MouseSettingsCommands(desktop != nullptr ? desktop : "", exists)) {
    QStringList arguments;
    for (const std::string& argument : command.arguments) {
      arguments << QString::fromStdString(argument);
    }
    if (QProcess::startDetached(QString::fromStdString(command.program), arguments)) return true;
  }
  return false;
}

}  // namespace corvane::ui
