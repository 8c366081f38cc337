// One running copy per user and caption. A copy claims the caption first thing at start-up
// by locking a file beside its socket; the lock decides between overlapping starts and
// dies with its process, so a socket left by a crashed copy is recognised as stale. The
// owner then listens on the socket, and a later copy asks it there to show its window.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

class QLocalServer;

namespace corvane::ui {

class SingleInstance {
 public:
  enum class Claim {
    kOwner,         // this process is the running copy
    kOtherRunning,  // a live copy holds the caption (it was asked to show itself)
    kUnguarded,     // the lock cannot be taken at all: run without the guard
  };

  // The caption passes the data folder's safe-name rule before it names anything.
  explicit SingleInstance(const std::string& caption);
  // Stops listening and only then lets go of the lock.
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // The socket path: under $XDG_RUNTIME_DIR when set (else the temporary folder), named
  // after the caption and the user. The lock file is this path with ".lock" appended.
  const std::string& Name() const { return name_; }
  // Takes the caption for this process. A live owner is never displaced: only the owner
  // of the lock replaces a socket file, which is then a leftover of a dead copy.
  Claim TakeOver();
  // Asks a running copy to show itself, retrying for a moment while the owner has the
  // lock but is not listening yet. True when one answered the connection.
  bool NotifyRunning() const;
  // True while some copy (this one included) holds the caption's lock.
  bool LockHeld() const;
  // `on_show` runs (on the GUI thread) whenever a later copy asks; a request that came
  // before the handler was set is delivered when it is set.
  void SetShowHandler(std::function<void()> on_show);

 private:
  void OnShowRequest();

  std::string name_;
  int lock_fd_ = -1;
  std::unique_ptr<QLocalServer> server_;
  std::function<void()> on_show_;
  bool show_pending_ = false;
};

}  // namespace corvane::ui
