// Queued calls to the GUI thread through the application object's event queue.
#include "ui/dui/ui_thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

namespace corvane::DUI {

bool RunOnUiThread(std::function<void()> task) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || !task) return false;
  return QMetaObject::invokeMethod(app, std::move(task), Qt::QueuedConnection);
}

bool IsUiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  return app != nullptr && QThread::currentThread() == app->thread();
}

}  // namespace corvane::DUI
