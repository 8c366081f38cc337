// Hands work to the user-interface thread. The worker never touches a widget: it queues
// a function here and the GUI thread runs it from its event loop.
#pragma once

#include <functional>

namespace corvane::DUI {

// Queues `task` to run on the GUI thread's event loop, even when called from that thread.
// Returns false (and drops the task) when no QApplication exists.
bool RunOnUiThread(std::function<void()> task);

// True when the caller is the GUI thread (false when no QApplication exists).
bool IsUiThread();

}  // namespace corvane::DUI
