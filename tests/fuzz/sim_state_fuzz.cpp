// libFuzzer target: arbitrary bytes as the simulator's state file. A text that parses must
// survive Format and Parse again unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_scratch.h"
#include "sim/sim_state_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  corvane::SimState state;
  std::string error;
  if (!corvane::SimStateFile::Parse(std::string(corvane::fuzz::AsText(data, size)), state, error)) {
    if (error.empty()) __builtin_trap();  // a refusal always says why
    return 0;
  }
  corvane::SimState again;
  if (!corvane::SimStateFile::Parse(corvane::SimStateFile::Format(state), again, error)) {
    __builtin_trap();
  }
  if (!(again == state)) __builtin_trap();
  return 0;
}
