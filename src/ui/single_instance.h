// One running copy per user and caption: the first copy listens on a local socket; a
// later copy asks it to show its window and then ends.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

class QLocalServer;

namespace corvane::ui {

class SingleInstance {
 public:
  explicit SingleInstance(const std::string& caption);
  ~SingleInstance();

  // The socket name: under $XDG_RUNTIME_DIR when set, named after caption and user.
  const std::string& Name() const { return name_; }
  // Asks a running copy to show itself. True when one answered the connection.
  bool NotifyRunning() const;
  // Becomes the running copy; `on_show` runs when a later copy asks. False when the
  // name cannot be taken (the program then runs without the guard).
  bool Listen(std::function<void()> on_show);

 private:
  std::string name_;
  std::unique_ptr<QLocalServer> server_;
  std::function<void()> on_show_;
};

}  // namespace corvane::ui
