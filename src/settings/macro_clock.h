// Milliseconds for macro timing, behind an interface so recording can be tested with
// a clock the test moves; the real one reads the steady clock. Never sleeps.
#pragma once

#include <chrono>
#include <cstdint>

namespace corvane {

class MacroClock {
 public:
  virtual ~MacroClock() = default;
  // Returns a millisecond tick count that only moves forward (wraps after 2^32 ms).
  virtual uint32_t NowMs() = 0;
};

class SteadyMacroClock : public MacroClock {
 public:
  uint32_t NowMs() override {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
  }
};

}  // namespace corvane
