// The button whose macro the next button job uploads: set by the buttons page on the
// interface thread, taken by the worker. Lock-free because it is a single index.
#pragma once

#include <atomic>

namespace corvane {

class MacroUploadMark {
 public:
  static constexpr int kNone = -1;

  // Marks `button` for the next upload, replacing an earlier mark.
  void Set(int button) { button_.store(button); }
  // Returns the marked button and clears the mark; kNone when nothing was marked.
  int Take() { return button_.exchange(kNone); }
  // Returns the marked button without clearing it; kNone when nothing is marked.
  int Peek() const { return button_.load(); }

 private:
  std::atomic<int> button_{kNone};
};

}  // namespace corvane
