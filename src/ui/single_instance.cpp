// QLocalServer / QLocalSocket handshake between two copies of the program.
#include "ui/single_instance.h"

#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <cstdlib>

#include "app/app_folders.h"

namespace corvane::ui {
namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr const char* kShowRequest = "show\n";

}  // namespace

SingleInstance::SingleInstance(const std::string& caption) {
  std::string base = CaptionFolderName(caption) + "-" + std::to_string(getuid()) + ".instance";
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  name_ = (runtime != nullptr && *runtime != '\0') ? std::string(runtime) + "/" + base : base;
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::NotifyRunning() const {
  QLocalSocket socket;
  socket.connectToServer(QString::fromStdString(name_));
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  socket.write(kShowRequest);
  socket.waitForBytesWritten(kConnectTimeoutMs);
  socket.disconnectFromServer();
  return true;
}

bool SingleInstance::Listen(std::function<void()> on_show) {
  on_show_ = std::move(on_show);
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  const QString name = QString::fromStdString(name_);
  if (!server_->listen(name)) {
    // A socket file left by a copy that crashed: nobody answered, so take it over.
    QLocalServer::removeServer(name);
    if (!server_->listen(name)) return false;
  }
  QObject::connect(server_.get(), &QLocalServer::newConnection, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      if (on_show_) on_show_();
    }
  });
  return true;
}

}  // namespace corvane::ui
